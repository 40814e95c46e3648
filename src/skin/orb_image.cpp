// TOrbImage: choosing the picture to show and drawing it.
#include "skin/orb_image.h"

#include "skin/orb_image_list.h"

TOrbImage::TOrbImage(TComponent* owner) : TOrbUIGraphicControl(owner) {
    TrackHover = false;
    SetColor(0x0000FF);
    SetBounds(0, 0, 100, 100);
}

TOrbImage::~TOrbImage() {
    if (FImgStorage) RemoveFreeNotification(FImgStorage);
}

void TOrbImage::Notification(TComponent* component, TOperation operation) {
    TOrbUIGraphicControl::Notification(component, operation);
    if (operation == TOperation::Remove && component == FImgStorage) FImgStorage = nullptr;
}

void TOrbImage::SetPicture(const TPicture& value) {
    FPicture = value;
    FitToPicture();
    Changed();
}

void TOrbImage::SetImgStorage(TOrbImageStorage* value) {
    if (value == FImgStorage) return;
    if (FImgStorage) RemoveFreeNotification(FImgStorage);
    FImgStorage = value;
    if (FImgStorage) FreeNotification(FImgStorage);
    Changed();
}

void TOrbImage::Setimageindex(int value) {
    if (value == FImageIndex) return;
    FImageIndex = value;
    FitToPicture();
    Changed();
}

void TOrbImage::SetCenter(bool value) {
    if (value == FCenter) return;
    FCenter = value;
    Changed();
}

void TOrbImage::SetStretch(bool value) {
    if (value == FStretch) return;
    FStretch = value;
    Changed();
}

const TBitmap32* TOrbImage::ShownPicture() const {
    if (!FPicture.Empty()) return &FPicture.Bitmap();
    if (!FImgStorage) return nullptr;
    const TOrbImageItem* item = FImgStorage->Find(FImageIndex);
    if (!item || item->Picture().Empty()) return nullptr;
    return &item->Picture().Bitmap();
}

void TOrbImage::FitToPicture() {
    if (!AutoImageSize) return;
    if (const TBitmap32* picture = ShownPicture()) SetBounds(Left(), Top(), picture->Width(), picture->Height());
}

void TOrbImage::DrawControl(TBitmap32& buffer) {
    if (const TBitmap32* shown = ShownPicture()) {
        // Pictures are held as loaded; blended here so their transparent
        // parts show the background instead of replacing it.
        TBitmap32 picture = *shown;
        picture.DrawMode = TDrawMode::Blend;
        picture.CombineMode = TCombineMode::Merge;
        if (FCenter)
            buffer.Draw((Width() - picture.Width()) / 2, (Height() - picture.Height()) / 2, picture);
        else if (FStretch)
            buffer.StretchDraw(ClientRect(), picture.BoundsRect(), picture);
        else
            buffer.Draw(0, 0, picture);
    }
    if (OnAfterDrawPaint) OnAfterDrawPaint(this, buffer);
}
