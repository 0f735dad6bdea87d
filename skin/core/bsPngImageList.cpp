// PNG image list: items, collection, drawing and the disabled look.
#include "skin/core/bsPngImageList.h"

// ---- Items --------------------------------------------------------------------------------

TbsPngImageItem::TbsPngImageItem(TCollection* Collection)
    : TCollectionItem(Collection), FPngImage(std::make_unique<TbsPngImage>())
{
    FName = Format("PngImage%d", Index());
    if (TbsPngImageList* list = ImageList()) list->InsertPlaceholder(Index());
}

TbsPngImageItem::~TbsPngImageItem()
{
    FPngImage.reset();
    if (TbsPngImageList* list = ImageList())
        if (Index() >= 0 && Index() < list->Count()) list->Delete(Index());
}

TbsPngImageList* TbsPngImageItem::ImageList() const
{
    auto* items = dynamic_cast<TbsPngImageItems*>(Collection());
    return items ? items->PngImageList() : nullptr;
}

void TbsPngImageItem::Assign(TPersistent* Source)
{
    if (auto* src = dynamic_cast<TbsPngImageItem*>(Source)) {
        FPngImage->Assign(src->FPngImage.get());
        FName = src->FName;
        return;
    }
    TCollectionItem::Assign(Source);
}

String TbsPngImageItem::DisplayName() const { return FName.empty() ? TCollectionItem::DisplayName() : FName; }

void TbsPngImageItem::SetPngImage(TbsPngImage* V)
{
    FPngImage->Assign(V);
    Changed(true);
}

// ---- Collection ---------------------------------------------------------------------------

TbsPngImageItems::TbsPngImageItems(TbsPngImageList* APNGImageList)
    : TCollection(TCollection::ItemClass<TbsPngImageItem>()), FPngImageList(APNGImageList)
{
}

TPersistent* TbsPngImageItems::GetOwner() { return FPngImageList; }

// ---- Image list ---------------------------------------------------------------------------

TbsPngImageList::TbsPngImageList(TComponent* AOwner)
    : TCustomImageList(AOwner), FPngImages(std::make_unique<TbsPngImageItems>(this))
{
}

TbsPngImageList::~TbsPngImageList() { FPngImages.reset(); }

void TbsPngImageList::InsertPlaceholder(int Index)
{
    TBitmap placeholder;
    placeholder.SetMonochrome(true);
    placeholder.SetSize(Width(), Height());
    Insert(Index, &placeholder, nullptr);
}

void TbsPngImageList::SizeChanged()
{
    // a new size empties the underlying list; while loading the items stay, so each gets
    // its placeholder back and the indexes still meet
    if (!ComponentState().Contains(csLoading)) {
        FPngImages->Clear();
        return;
    }
    while (Count() < FPngImages->Count()) InsertPlaceholder(Count());
}

void TbsPngImageList::SetPngWidth(int V)
{
    if (V == Width()) return;
    SetWidth(V);
    SizeChanged();
}

void TbsPngImageList::SetPngHeight(int V)
{
    if (V == Height()) return;
    SetHeight(V);
    SizeChanged();
}

void TbsPngImageList::DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT, bool Enabled)
{
    TbsPngImageItem* item = FPngImages->Items(Index);
    DrawPngImage(Canvas, TRect(X, Y, X + Width(), Y + Height()), item->PngImage(), Enabled);
}

// ---- Drawing ------------------------------------------------------------------------------

void DrawPngImage(TCanvas* Canvas, const TRect& R, TbsPngImage* Png, bool Enabled)
{
    if (!Canvas || !Png || Png->Empty()) return;
    if (Enabled) {
        Canvas->StretchDraw(R, Png);
        return;
    }
    TbsPngImage faded;
    faded.Assign(Png);
    FadePngImage(&faded, 127);
    Canvas->StretchDraw(R, &faded);
}

void FadePngImage(TbsPngImage* Png, int Value)
{
    if (!Png || Png->Empty()) return;
    const bool bitMode = Png->TransparencyMode() == ptmBit;
    const TColor key = Png->TransparentColor();
    const int w = Png->Width(), h = Png->Height();
    const uint8_t type = Png->ColorType();
    if (type == COLOR_GRAYSCALE || type == COLOR_PALETTE) {
        // Grey and palette pictures become true colour with one alpha for every pixel.
        TbsPngImage rgba(COLOR_RGBALPHA, w, h);
        for (int y = 0; y < h; ++y) {
            uint8_t* alpha = rgba.AlphaScanline(y);
            for (int x = 0; x < w; ++x) {
                const TColor c = Png->Pixels(x, y);
                rgba.SetPixels(x, y, c);
                alpha[x] = bitMode && c == key ? 0 : uint8_t(Value);
            }
        }
        Png->Assign(&rgba);
        return;
    }
    if (type == COLOR_RGB) Png->CreateAlpha();
    for (int y = 0; y < h; ++y) {
        uint8_t* alpha = Png->AlphaScanline(y);
        if (!alpha) return;
        for (int x = 0; x < w; ++x)
            alpha[x] = bitMode && Png->Pixels(x, y) == key ? 0 : uint8_t(Round(alpha[x] / 256.0 * (Value + 1)));
    }
}
