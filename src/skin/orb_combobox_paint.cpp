// How the closed combo box draws itself: the box frame for its state, the
// extra and drop buttons, the picture and the text.
#include <algorithm>

#include "platform/gfx/text.h"
#include "skin/orb_combobox.h"
#include "skin/orb_image_list.h"

namespace {
constexpr TTextFlags BoxTextFlags = tfLeft | tfSingleLine | tfEndEllipsis | tfNoPrefix;

void DrawFrame(TBitmap32& buffer, const std::vector<TPngImage>& frames, int index, TPoint at) {
    if (index >= 0 && index < int(frames.size())) buffer.Draw(at.X, at.Y, frames[size_t(index)]);
}
}  // namespace

//   state (first that holds)           | box frame | text colour
//   disabled                           | 3         | FontColorDisable
//   focused (or its edit focused)      | 2         | FontColorOver
//   pressed                            | 2         | FontColorDown
//   mouse over                         | 1         | FontColorOver
//   otherwise                          | 0         | FontColorNormal
int TOrbCombobox::BoxFrame() const {
    if (!IsEnabledInTree()) return 3;
    if (Focused() || EditShown() || Pressed()) return 2;
    return Hover() ? 1 : 0;
}

TColor TOrbCombobox::BoxTextColor() const {
    if (!IsEnabledInTree()) return FontColorDisable;
    if (Focused() || EditShown()) return FontColorOver;
    if (Pressed()) return FontColorDown;
    return Hover() ? FontColorOver : FontColorNormal;
}

int TOrbCombobox::ButtonFrame(bool hover, bool down) const {
    if (!IsEnabledInTree()) return 3;
    if (down) return 2;
    return hover ? 1 : 0;
}

int TOrbCombobox::PictureLeft() const {
    if (!FExtraRect.IsEmpty() && FExtraBtnLeft) return FExtraRect.Right + 2;
    return FBtnOffSet + 6;
}

TRect TOrbCombobox::TextRect() const {
    int left = PictureLeft();
    const int picture = FImgIndex >= 0 ? FImgIndex : FShownImageIndex;
    if (FImagelist && picture >= 0 && picture < FImagelist->Count()) left += FImagelist->ImgWidth + 4;
    int right = FBtnRect.IsEmpty() ? Width() - FBtnOffSet - 1 : FBtnRect.Left - 2;
    if (!FExtraRect.IsEmpty() && !FExtraBtnLeft) right = FExtraRect.Left - 2;
    const int h = TextHeight(Font(), "Ag", tfNoPrefix);
    const int top = (Height() - h) / 2;
    return {left, top, std::max(left, right), top + h};
}

void TOrbCombobox::DrawPicture(TBitmap32& buffer, int& x) const {
    const int picture = FImgIndex >= 0 ? FImgIndex : FShownImageIndex;
    if (!FImagelist || picture < 0 || picture >= FImagelist->Count()) return;
    FImagelist->Draw(&buffer, x, (Height() - FImagelist->ImgHeight) / 2, IsEnabledInTree(), picture);
    x += FImagelist->ImgWidth + 4;
}

void TOrbCombobox::DrawControl(TBitmap32& buffer) {
    DrawFrame(buffer, FBoxFrames, BoxFrame(), {0, 0});
    if (!FExtraRect.IsEmpty())
        DrawFrame(buffer, FExtraFrames, ButtonFrame(FExtraHover, FExtraDown), {FExtraRect.Left, FExtraRect.Top});
    if (!FBtnRect.IsEmpty())
        DrawFrame(buffer, FBtnFrames, ButtonFrame(FBtnHover, FBtnDown),
                  {FBtnRect.Left, FBtnRect.Top});
    int x = PictureLeft();
    DrawPicture(buffer, x);
    // While the edit is shown it draws the text itself.
    if (EditShown() || FText.empty()) return;
    TFont font = Font();
    font.Color = BoxTextColor();
    DrawText(buffer, TextRect(), font, FText, BoxTextFlags);
}
