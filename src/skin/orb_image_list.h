// The two image containers of the skinned library: TOrbImageList, PNGs
// picked by index (item glyphs, menu pictures), and TOrbImageStorage,
// pictures of any format the program loads (the main window's empty-list
// pictures, image controls).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/picture.h"
#include "platform/gui/component.h"
#include "skin/orb_types.h"

class TOrbPngImageItem {
public:
    std::string Name;
    const TPngImage& Png() const { return FPng; }
    // A copy, set to blend over whatever it is drawn on.
    void SetPng(const TPngImage& value) {
        FPng = value;
        FPng.DrawMode = TDrawMode::Blend;
        FPng.CombineMode = TCombineMode::Merge;
    }
    // What a list of items shows for it: the name, or the class name when
    // the name is empty.
    std::string DisplayName() const { return Name.empty() ? "TOrbPngImageItem" : Name; }

private:
    TPngImage FPng;
};

class TOrbImageList : public TComponent {
public:
    explicit TOrbImageList(TComponent* owner = nullptr) : TComponent(owner) {}

    int ImgWidth = 16;
    int ImgHeight = 16;

    int Count() const { return int(FItems.size()); }
    // A new item at the end, named "PngImage<index>".
    TOrbPngImageItem& Add();
    TOrbPngImageItem& Add(const TPngImage& png);
    TOrbPngImageItem& Items(int index) { return *FItems.at(size_t(index)); }
    const TOrbPngImageItem& Items(int index) const { return *FItems.at(size_t(index)); }
    void Delete(int index);
    void Clear() { FItems.clear(); }

    // Draws item `index` at (x, y) at the image's own size, greyed when not
    // enabled; an index outside the list or no canvas draws nothing.
    void Draw(TBitmap32* canvas, int x, int y, bool enabled, int index) const;

private:
    std::vector<std::unique_ptr<TOrbPngImageItem>> FItems;
};

class TOrbImageItem {
public:
    const TPicture& Picture() const { return FPicture; }
    // Records the size and format of a picture that is not empty; a format
    // outside the four known ones keeps the previous one.
    void SetPicture(const TPicture& value);
    intptr_t Tag = 0;
    std::string Comment;
    int Width() const { return FPicture.Width(); }
    int Height() const { return FPicture.Height(); }
    TOrbUIImageType Format() const { return FFormat; }

private:
    TPicture FPicture;
    TOrbUIImageType FFormat = OrbUnknown;
};

class TOrbImageStorage : public TComponent {
public:
    explicit TOrbImageStorage(TComponent* owner = nullptr) : TComponent(owner) {}

    int Count() const { return int(FImages.size()); }
    TOrbImageItem& Add();
    TOrbImageItem& Images(int index) { return *FImages.at(size_t(index)); }
    const TOrbImageItem& Images(int index) const { return *FImages.at(size_t(index)); }
    // Null outside the storage.
    const TOrbImageItem* Find(int index) const;

private:
    std::vector<std::unique_ptr<TOrbImageItem>> FImages;
};
