// LoadProgramEditSkin: which artwork and spacing the program's edits take.
#include "skin/orb_edit_skin.h"

#include "skin/skin_artwork.h"

namespace {
// The frame strip and where it is cut: corners in 0..3 and 8..11.
constexpr int BoxFrames = 4, BoxCut1 = 4, BoxCut2 = 8;
constexpr int ExtraFrames = 4;
// rgb(196, 226, 248): the accent, pale enough for black text on it.
constexpr TColor SelectionColor = 0x00F8E2C4;
}  // namespace

void LoadProgramEditSkin(TOrbEdit& edit, TEditExtraButton extra) {
    edit.SetEditStateCount(BoxFrames);
    edit.SetImgx1(BoxCut1);
    edit.SetImgX2(BoxCut2);
    edit.SetImgEdit(SkinArtwork("edit_box"));
    // The text, the selection and the extra button stay inside the frame line.
    edit.SetBoxoffset(1);
    edit.SetOutWidth(3);
    edit.SetMarginText(4);
    edit.SetSelColor(SelectionColor);
    if (extra == TEditExtraButton::No) return;
    edit.SetExtraStateCount(ExtraFrames);
    edit.SetImgExtra(SkinArtwork("edit_extra_btn"));
}
