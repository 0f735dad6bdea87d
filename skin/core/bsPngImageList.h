// An image list whose images are PNG pictures with alpha, kept in a collection and drawn
// by the pictures themselves; the list's own images are placeholders that keep its count
// in step with the collection.
#pragma once

#include <memory>

#include "platform/graphics/Graphics.h"
#include "platform/graphics/ImgList.h"
#include "platform/system/Classes.h"

using TbsPngImage = TPngImage;

class TbsPngImageList;

class TbsPngImageItem : public TCollectionItem {
public:
    // Joins the collection with a new empty picture named "PngImage<index>" and puts a
    // placeholder into the image list at its index.
    explicit TbsPngImageItem(TCollection* Collection);
    ~TbsPngImageItem() override;
    void Assign(TPersistent* Source) override;
    String DisplayName() const override;

    const String& Name() const { return FName; }
    void SetName(const String& V) { FName = V; }
    TbsPngImage* PngImage() const { return FPngImage.get(); }
    // Copies the picture in and tells the collection that all its items changed.
    void SetPngImage(TbsPngImage* V);

private:
    TbsPngImageList* ImageList() const;
    std::unique_ptr<TbsPngImage> FPngImage;
    String FName;
};

class TbsPngImageItems : public TCollection {
public:
    explicit TbsPngImageItems(TbsPngImageList* APNGImageList);
    TbsPngImageItem* Items(int Index) const { return static_cast<TbsPngImageItem*>(TCollection::Items(Index)); }
    TbsPngImageList* PngImageList() const { return FPngImageList; }
    TPersistent* GetOwner() override;

private:
    TbsPngImageList* FPngImageList;  // the owner, not owned
};

class TbsPngImageList : public TCustomImageList {
public:
    explicit TbsPngImageList(TComponent* AOwner = nullptr);
    ~TbsPngImageList() override;

    TbsPngImageItems* PngImages() const { return FPngImages.get(); }
    void SetPngImages(TbsPngImageItems* V) { FPngImages->Assign(V); }
    // The list's image size; a new size empties the collection, except while loading.
    int PngWidth() const { return Width(); }
    void SetPngWidth(int V);
    int PngHeight() const { return Height(); }
    void SetPngHeight(int V);

protected:
    void DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled) override;

private:
    friend class TbsPngImageItem;
    // Puts an empty picture of the list's size into the underlying list at Index.
    void InsertPlaceholder(int Index);
    void SizeChanged();
    std::unique_ptr<TbsPngImageItems> FPngImages;
};

// Draws Png into R; disabled, a faded copy (alpha 127 for grey and palette pictures,
// about half the alpha for the others) with the bit-transparency colour left out.
void DrawPngImage(TCanvas* Canvas, const TRect& R, TbsPngImage* Png, bool Enabled);
void FadePngImage(TbsPngImage* Png, int Value);
