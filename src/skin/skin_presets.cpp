// The program's skin settings over the compiled-in artwork.
#include "skin/skin_presets.h"

#include "skin/skin_artwork.h"

TPngImage Transposed(const TPngImage& image) {
    TPngImage out(image.Height(), image.Width());
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) out.SetPixel(y, x, image.Pixel(x, y));
    out.DrawMode = image.DrawMode;
    out.CombineMode = image.CombineMode;
    return out;
}

void LoadProgramScrollBarSkin(TOrbScrollBarSkin& skin, TOrbUIScrollkind kind) {
    const bool vertical = kind == skVer;
    auto load = [vertical](const char* name) {
        TPngImage image = SkinArtwork(name);
        return vertical ? image : Transposed(image);
    };
    skin.ImgBack = load("scroll_back");
    skin.ImgSlider = load("scroll_slider");
    skin.ImgBtnLT = load("scroll_btn_lt");
    skin.ImgBtnRB = load("scroll_btn_rb");
    skin.ImgCenter = load("scroll_center");
    skin.BackStateCount = 2;
    skin.SliderStateCount = 4;
    skin.BtnStateCount = 4;
    skin.CenterStateCount = 4;
    skin.SliderSplit = vertical ? TOrbUIPadding(0, 7, 0, 15) : TOrbUIPadding(7, 0, 15, 0);
    skin.BackSplit = TOrbUIPadding();
    skin.BtnoffSet = 8;
    skin.ShowButton = true;
    skin.JoinButton = false;
    skin.SplitMode = vertical ? SmHor : SmVer;
}

void LoadProgramMenuSkin(TOrbPopupMenu& menu) {
    menu.SetImgSplit(TOrbUIPadding(16, 6, 20, 15));
    menu.SetImgBack(SkinArtwork("menu_back"));
    menu.SetItemStateCount(1);
    menu.SetItemSplit(TOrbUIPadding(2, 0, 5, 0));
    menu.SetImgItem(SkinArtwork("menu_item"));
    menu.SetImgLine(SkinArtwork("menu_line"));
    menu.SetCheckRadioStateCount(2);
    menu.SetImgCheck(SkinArtwork("menu_check"));
    menu.SetImgRadio(SkinArtwork("menu_radio"));
    menu.SetSubArrowStateCount(3);
    menu.SetImgSubArrow(SkinArtwork("menu_arrow"));
    menu.ItemHeight = 25;
    menu.MenuBarWidth = 40;
    menu.AlphaWidth = 5;
    menu.MarginItemX = 1;
    menu.MarginItemY = 1;
    menu.MarginText = 8;
    // An entry that cannot be chosen reads as such (the tray's Language).
    menu.FontDisable.Color = DisabledMenuText;
}
