// The clipboard object and the in-program provider.
#include "platform/forms/Clipbrd.h"

#include <cstring>

#include "platform/graphics/Graphics.h"
#include "platform/windows/Backend.h"

std::unique_ptr<TClipboardProvider> MakeX11ClipboardProvider();

namespace {

class TLocalClipboard : public TClipboardProvider {
public:
    void SetText(const String& Text) override
    {
        FText = Text;
        FHas = true;
        FPicture = TClipboardPicture();
    }
    void SetPicture(const TClipboardPicture& Picture) override
    {
        FText.clear();
        FHas = false;
        FPicture = Picture;
    }
    bool GetText(String& Text) override
    {
        Text = FHas ? FText : String();
        return FHas;
    }
    bool HasText() override { return FHas && !FText.empty(); }
    void Clear() override
    {
        FText.clear();
        FHas = false;
        FPicture = TClipboardPicture();
    }

private:
    String FText;
    TClipboardPicture FPicture;
    bool FHas = false;
};

// A provider the program installed; else the display's selection while the X11
// backend is in use, else the one inside the program.
std::unique_ptr<TClipboardProvider>& Installed()
{
    static std::unique_ptr<TClipboardProvider> P;
    return P;
}

TClipboardProvider& Local()
{
    static TLocalClipboard L;
    return L;
}

TClipboardProvider* Display()
{
    static std::unique_ptr<TClipboardProvider> X;
    static bool Tried = false;
    if (!BackendInstalled() || std::strcmp(Backend().Name(), "x11") != 0) return nullptr;
    if (!Tried) {
        Tried = true;
        X = MakeX11ClipboardProvider();
    }
    return X.get();
}

}  // namespace

String TClipboard::AsText()
{
    String T;
    ClipboardProvider().GetText(T);
    return T;
}

void TClipboard::SetAsText(const String& Text) { ClipboardProvider().SetText(Text); }

bool TClipboard::HasFormat(UINT Format)
{
    if (Format != CF_TEXT && Format != CF_UNICODETEXT) return false;
    return ClipboardProvider().HasText();
}

void TClipboard::Clear() { ClipboardProvider().Clear(); }

void TClipboard::Assign(TPersistent* Source)
{
    TGraphic* G = nullptr;
    if (auto* P = dynamic_cast<TPicture*>(Source)) {
        G = P->Graphic();
        if (!G) {
            Clear();
            return;
        }
    } else {
        G = dynamic_cast<TGraphic*>(Source);
    }
    if (!G) {
        TPersistent::Assign(Source);
        return;
    }
    if (G->Empty() || G->Width() <= 0 || G->Height() <= 0) {
        Clear();
        return;
    }
    // The picture's colours in a 24-bit bitmap, written as a BMP file and (through a
    // true-colour PNG picture) as a PNG file.
    TBitmap Colours;
    Colours.Assign(G);
    Colours.SetPixelFormat(pf24bit);
    TClipboardPicture Picture;
    TMemoryStream Bmp;
    Colours.SaveToStream(&Bmp);
    auto* B = static_cast<const uint8_t*>(Bmp.Memory());
    Picture.Bmp.assign(B, B + Bmp.Size());
    TPngImage Png;
    Png.Assign(&Colours);
    TMemoryStream PngData;
    Png.SaveToStream(&PngData);
    auto* P = static_cast<const uint8_t*>(PngData.Memory());
    Picture.Png.assign(P, P + PngData.Size());
    ClipboardProvider().SetPicture(Picture);
}

TClipboard* Clipboard()
{
    static TClipboard C;
    return &C;
}

std::unique_ptr<TClipboardProvider> SetClipboardProvider(std::unique_ptr<TClipboardProvider> P)
{
    std::swap(P, Installed());
    return P;
}

TClipboardProvider& ClipboardProvider()
{
    if (Installed()) return *Installed();
    if (TClipboardProvider* X = Display()) return *X;
    return Local();
}
