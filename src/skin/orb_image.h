// TOrbImage, the skinned picture: its own Picture, or an entry of a shared
// TOrbImageStorage, drawn at the top-left, centred or stretched.
#pragma once

#include <functional>

#include "platform/gfx/picture.h"
#include "skin/orb_control.h"

class TOrbImageStorage;

using TOrbAfterDrawPaintEvent = std::function<void(TComponent* Sender, TBitmap32& ACanvas)>;

class TOrbImage : public TOrbUIGraphicControl {
public:
    explicit TOrbImage(TComponent* owner);
    ~TOrbImage() override;

    const TPicture& Picture() const { return FPicture; }
    void SetPicture(const TPicture& value);
    // Not owned; dropped when the storage is freed.
    TOrbImageStorage* ImgStorage() const { return FImgStorage; }
    void SetImgStorage(TOrbImageStorage* value);
    int imageindex() const { return FImageIndex; }
    void Setimageindex(int value);
    bool Center() const { return FCenter; }
    void SetCenter(bool value);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool value);
    // Sizes the control to the picture whenever Picture or imageindex is set.
    bool AutoImageSize = false;

    TOrbAfterDrawPaintEvent OnAfterDrawPaint;
    // The framework's OnClick under the name the image publishes.
    TNotifyEvent& Onclick = OnClick;

    // Picture when it is not empty, else the storage entry at imageindex;
    // null when there is none.
    const TBitmap32* ShownPicture() const;

    void DrawControl(TBitmap32& buffer) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void FitToPicture();

    TPicture FPicture;
    TOrbImageStorage* FImgStorage = nullptr;
    int FImageIndex = -1;
    bool FCenter = false;
    bool FStretch = false;
};
