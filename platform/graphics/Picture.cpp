// The picture container: one graphic of any kind, loaded by file extension.
#include "platform/graphics/Graphics.h"

namespace {

std::unique_ptr<TGraphic> NewLike(TGraphic* G)
{
    if (dynamic_cast<TBitmap*>(G)) return std::make_unique<TBitmap>();
    if (dynamic_cast<TPngImage*>(G)) return std::make_unique<TPngImage>();
    if (dynamic_cast<TJPEGImage*>(G)) return std::make_unique<TJPEGImage>();
    if (dynamic_cast<TGIFImage*>(G)) return std::make_unique<TGIFImage>();
    if (dynamic_cast<TIcon*>(G)) return std::make_unique<TIcon>();
    throw EInvalidGraphic("Unsupported picture class " + G->ClassName());
}

std::unique_ptr<TGraphic> NewForExtension(const String& FileName)
{
    String Ext = LowerCase(ExtractFileExt(FileName));
    if (Ext == ".bmp" || Ext == ".dib") return std::make_unique<TBitmap>();
    if (Ext == ".png") return std::make_unique<TPngImage>();
    if (Ext == ".jpg" || Ext == ".jpeg" || Ext == ".jpe" || Ext == ".jfif") return std::make_unique<TJPEGImage>();
    if (Ext == ".gif") return std::make_unique<TGIFImage>();
    if (Ext == ".ico") return std::make_unique<TIcon>();
    throw EInvalidGraphic("Unknown picture file extension (" + Ext + ")");
}

}  // namespace

TPicture::~TPicture() = default;

void TPicture::Changed(TObject*)
{
    if (OnChange) OnChange(this);
}

void TPicture::SetGraphic(TGraphic* V)
{
    if (V == FGraphic.get()) return;
    std::unique_ptr<TGraphic> N;
    if (V) {
        N = NewLike(V);
        N->Assign(V);
        N->OnChange = [this](TObject* S) { Changed(S); };
    }
    FGraphic = std::move(N);
    Changed(this);
}

TBitmap* TPicture::Bitmap()
{
    if (!dynamic_cast<TBitmap*>(FGraphic.get())) {
        FGraphic = std::make_unique<TBitmap>();
        FGraphic->OnChange = [this](TObject* S) { Changed(S); };
        Changed(this);
    }
    return static_cast<TBitmap*>(FGraphic.get());
}

void TPicture::Assign(TPersistent* Source)
{
    if (!Source) {
        SetGraphic(nullptr);
        return;
    }
    if (auto* P = dynamic_cast<TPicture*>(Source)) {
        if (P != this) SetGraphic(P->Graphic());
        return;
    }
    if (auto* G = dynamic_cast<TGraphic*>(Source)) {
        SetGraphic(G);
        return;
    }
    TPersistent::Assign(Source);
}

void TPicture::AssignTo(TPersistent* Dest)
{
    if (auto* G = dynamic_cast<TGraphic*>(Dest)) {
        G->Assign(FGraphic.get());
        return;
    }
    TPersistent::AssignTo(Dest);
}

void TPicture::LoadFromFile(const String& FileName)
{
    std::unique_ptr<TGraphic> N = NewForExtension(FileName);
    N->LoadFromFile(FileName);
    N->OnChange = [this](TObject* S) { Changed(S); };
    FGraphic = std::move(N);
    Changed(this);
}

void TPicture::SaveToFile(const String& FileName)
{
    if (FGraphic) FGraphic->SaveToFile(FileName);
}
