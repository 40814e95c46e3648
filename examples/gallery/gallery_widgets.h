// The gallery's two small drawing helpers: a line of text and a flat
// accent button.
#pragma once

#include <string>

#include "platform/gfx/text.h"
#include "skin/orb_control.h"

// A line of text on the window.
class TGalleryLabel : public TOrbUIGraphicControl {
public:
    using TOrbUIGraphicControl::TOrbUIGraphicControl;
    std::string Caption;
    void DrawControl(TBitmap32& buffer) override {
        DrawText(buffer, ClientRect(), Font(), Caption, tfVCenter | tfSingleLine | tfEndEllipsis | tfNoPrefix);
    }
};

// A flat accent button.
class TGalleryButton : public TOrbUIGraphicControl {
public:
    using TOrbUIGraphicControl::TOrbUIGraphicControl;
    std::string Caption;
    void DrawControl(TBitmap32& buffer) override {
        const TColor32 fill = Pressed() ? Color32(14, 120, 190) : Hover() ? Color32(40, 160, 236) : Color32(22, 149, 230);
        buffer.RoundRect(ClientRect(), 4, fill, 0);
        DrawText(buffer, ClientRect(), Font(), Caption, tfCenter | tfVCenter | tfSingleLine | tfNoPrefix);
    }
};

// A white box with a one-pixel frame, behind a control that has no border
// of its own (the rich edit).
class TGalleryFrame : public TOrbUIGraphicControl {
public:
    using TOrbUIGraphicControl::TOrbUIGraphicControl;
    void DrawControl(TBitmap32& buffer) override {
        buffer.FillRect(ClientRect(), Color32(255, 255, 255));
        buffer.FrameRect(ClientRect(), Color32(208, 212, 218));
    }
};
