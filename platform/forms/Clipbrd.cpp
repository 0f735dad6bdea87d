// The clipboard object and the in-program provider.
#include "platform/forms/Clipbrd.h"

namespace {

class TLocalClipboard : public TClipboardProvider {
public:
    void SetText(const String& Text) override
    {
        FText = Text;
        FHas = true;
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
    }

private:
    String FText;
    bool FHas = false;
};

std::unique_ptr<TClipboardProvider>& Provider()
{
    static std::unique_ptr<TClipboardProvider> P = std::make_unique<TLocalClipboard>();
    return P;
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

TClipboard* Clipboard()
{
    static TClipboard C;
    return &C;
}

std::unique_ptr<TClipboardProvider> SetClipboardProvider(std::unique_ptr<TClipboardProvider> P)
{
    if (!P) P = std::make_unique<TLocalClipboard>();
    std::swap(P, Provider());
    return P;
}

TClipboardProvider& ClipboardProvider() { return *Provider(); }
