// Image list drawing and the image storage's format bookkeeping.
#include "skin/orb_image_list.h"

#include "skin/orb_image_ops.h"

TOrbPngImageItem& TOrbImageList::Add() {
    auto item = std::make_unique<TOrbPngImageItem>();
    item->Name = "PngImage" + std::to_string(FItems.size());
    FItems.push_back(std::move(item));
    return *FItems.back();
}

TOrbPngImageItem& TOrbImageList::Add(const TPngImage& png) {
    TOrbPngImageItem& item = Add();
    item.SetPng(png);
    return item;
}

void TOrbImageList::Delete(int index) {
    if (index >= 0 && index < Count()) FItems.erase(FItems.begin() + index);
}

void TOrbImageList::Draw(TBitmap32* canvas, int x, int y, bool enabled, int index) const {
    if (!canvas || index < 0 || index >= Count()) return;
    const TPngImage& png = FItems[size_t(index)]->Png();
    if (png.Empty()) return;
    if (enabled) {
        canvas->Draw(x, y, png);
        return;
    }
    TPngImage gray = ToGray(png);
    gray.DrawMode = TDrawMode::Blend;
    gray.CombineMode = TCombineMode::Merge;
    canvas->Draw(x, y, gray);
}

void TOrbImageItem::SetPicture(const TPicture& value) {
    FPicture = value;
    if (value.Empty()) return;
    switch (value.Format()) {
        case TPictureFormat::Icon: FFormat = OrbICON; break;
        case TPictureFormat::Jpeg: FFormat = OrbJPG; break;
        case TPictureFormat::Bitmap: FFormat = OrbBMP; break;
        case TPictureFormat::Png: FFormat = OrbPNG; break;
        case TPictureFormat::Unknown: break;
    }
}

TOrbImageItem& TOrbImageStorage::Add() {
    FImages.push_back(std::make_unique<TOrbImageItem>());
    return *FImages.back();
}

const TOrbImageItem* TOrbImageStorage::Find(int index) const {
    return index >= 0 && index < Count() ? FImages[size_t(index)].get() : nullptr;
}
