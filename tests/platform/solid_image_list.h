// An image list of solid squares for list view tests: Size x Size images, image k filled
// with Colors[k].
#pragma once

#include <memory>
#include <vector>

#include "platform/graphics/ImgList.h"

inline std::unique_ptr<TImageList> SolidImageList(int Size, const std::vector<TColor>& Colors)
{
    auto L = std::make_unique<TImageList>(nullptr, Size, Size);
    TBitmap B;
    B.SetPixelFormat(pf24bit);
    B.SetSize(Size * int(Colors.size()), Size);
    for (size_t K = 0; K < Colors.size(); ++K) {
        B.Canvas()->Brush()->SetColor(Colors[K]);
        B.Canvas()->FillRect(TRect(Size * int(K), 0, Size * int(K + 1), Size));
    }
    L->Add(&B, nullptr);
    return L;
}
