// The program's combo box skin over the compiled-in artwork.
#include "skin/orb_combobox_preset.h"

#include "skin/skin_artwork.h"

namespace {
constexpr TColor Black = 0x000000, Grey = 0x808080;
// The platform's desktop-background system colour.
constexpr TColor BackgroundColor = 0x80000001;
}  // namespace

void LoadProgramComboSkin(TOrbCombobox& combo, TOrbScrollBarRes* scrollRes) {
    combo.SetBoxStateCount(3);
    combo.SetBoxsplit(TOrbUIPadding(9, 0, 14, 0));
    combo.SetImgBox(SkinArtwork("combo_box"));
    combo.SetBtnStateCount(3);
    combo.SetBtnOffSet(6);
    combo.SetImgBtn(SkinArtwork("combo_drop_btn"));
    // Wanted, but without an image there is no extra button to show.
    combo.SetExtraBtn(true);
    combo.SetFormsplit(TOrbUIPadding(10, 10, 20, 20));
    combo.SetImgForm(SkinArtwork("combo_list_back"));
    combo.SetItemStateCount(1);
    combo.Setitemsplit(TOrbUIPadding(4, 0, 14, 0));
    combo.SetImgitem(SkinArtwork("combo_item"));
    combo.AlphaWidth = 4;
    combo.FontColorNormal = combo.FontColorOver = combo.FontColorDown = Black;
    combo.FontColorDisable = Grey;
    combo.FontItemColorNormal = combo.FontItemColorOver = Black;
    combo.FontItemColorDown = BackgroundColor;
    combo.FontItemColorDisable = Grey;
    combo.SetVerScrollRes(scrollRes);
}
