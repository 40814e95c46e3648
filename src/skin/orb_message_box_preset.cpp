// The program's message box: a 280 x 154 frame with a 3-pixel shadow and a
// 20-pixel caption, cut at 5, 30, 25, 35 when a long message grows it.
#include "skin/orb_message_box_preset.h"

#include "skin/skin_artwork.h"

namespace {
TFont ProgramFont(bool bold, TColor color) {
    TFont font;
    font.Name = "Tahoma";
    font.Size = 8;
    font.Bold = bold;
    font.Color = color;
    return font;
}
}  // namespace

void LoadProgramMessageBoxSkin(TOrbMessageBox& box) {
    box.SetImgForm(SkinArtwork("msgbox_skin"));
    box.SetFormSplit(TOrbUIPadding(5, 30, 25, 35));
    box.SetImgClose(SkinArtwork("msgbox_close"));
    box.SetImgLogo(SkinArtwork("logo"));
    box.SetImgBtn(SkinArtwork("msgbox_buttons"));
    box.SetImgMsg(SkinArtwork("msgbox_icons"));
    box.Alpha = 255;
    box.AlphaWidth = 3;
    box.CaptionHeight = 20;
    box.CaptionLeftFix = 0;
    box.BtnCloseLeft = 0;
    box.MsgRowCount = 3;
    box.FontTitle = ProgramFont(true, 0xFFFFFF);
    box.FontMsg = ProgramFont(false, 0x383838);
    box.FontBtn = ProgramFont(false, 0x383838);
    box.SkinColor = clNone;
    box.RoundValue = 1;
}
