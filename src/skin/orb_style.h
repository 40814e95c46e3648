// TOrbStyle: a shared style a window may give its controls (images and fonts
// by control kind). The program's own windows set every control up by
// itself and assign no style; the style objects are kept so that a control
// set can be re-skinned as a whole. Each style object belongs to its
// TOrbStyle and knows it; a change made through Changed() reaches
// OnStyleChange.
#pragma once

#include <functional>

#include "platform/gfx/font.h"
#include "platform/gfx/picture.h"
#include "platform/gui/component.h"
#include "skin/orb_types.h"

class TOrbStyle;

// The system button-face colour, a platform system-colour reference.
constexpr TColor clBtnFace = 0x8000000F;

class TOrbStyleObject {
public:
    explicit TOrbStyleObject(TOrbStyle* owner) : FOwner(owner) {}
    TOrbStyle* Owner() const { return FOwner; }
    // Tells the owning style (and so its OnStyleChange) that a field changed.
    void Changed();

private:
    TOrbStyle* FOwner;
};

class TOrbFormStyle : public TOrbStyleObject {
public:
    using TOrbStyleObject::TOrbStyleObject;
    TPngImage ImgBtnClose, ImgBtnSingleClose, ImgBtnMax, ImgBtnRestore, ImgBtnMin, ImgBtnSingleMin, ImgBtnMenu,
        ImgBtnSkin, ImgForm;
    TOrbUIPadding FormSplit;
    TPicture SkinPic;
    int SkinDrawMode = 0;
    TColor FormColor = clBtnFace;
    int CaptionHeight = 30;
    TFont CaptionFont;
    int BtnRightFix = 0, BtnTopFix = 0, LogoLeftFix = 0, LogoTopFix = 0, TitleLeftFix = 0, TitleTopFix = 0;
};

class TOrbButtonStyle : public TOrbStyleObject {
public:
    using TOrbStyleObject::TOrbStyleObject;
    TPngImage ImgBtnBack;
    int BtnStateCount = 4;
    TOrbUIPadding BtnSplit;
    TFont BtnFontNormal, BtnFontOver, BtnFontDown, BtnFontDisable, BtnFontFocus, BtnFontSelect;
};

class TOrbPanelStyle : public TOrbStyleObject {
public:
    using TOrbStyleObject::TOrbStyleObject;
    TPngImage ImgPanelBack;
    TOrbUIPadding PanelSplit;
    TColor PanelColor = 0x0000FF;
};

class TOrbCheckBoxStyle : public TOrbStyleObject {
public:
    using TOrbStyleObject::TOrbStyleObject;
    TPngImage ImgCheckBox, ImgRadioBox;
    int BoxStateCount = 4;
    int TextOffset = 2;
    TColor CheckColor = 0x0000FF;
    TFont CheckBoxFont;
    TColor FontNormalColor = 0x000000, FontOverColor = 0x000000, FontDownColor = 0x000000;
    TColor FontDisableColor = 0x808080;
};

class TOrbEditStyle : public TOrbStyleObject {
public:
    using TOrbStyleObject::TOrbStyleObject;
    TPngImage ImgEditBox, ImgInput, ImgPassWord, ImgExtraBtn;
    int BtnStateCount = 4;
    int EditStateCount = 4;
    int ImgX1 = 0, ImgX2 = 0;
    TColor SelectColor = 0x00FFFF;
    int BoxOffset = 0;
    int OutBox = 2;
    TFont EditFont;
    int MarginImglist = 2;
    int MarginText = 2;
};

class TOrbScrollBarStyle : public TOrbStyleObject {
public:
    using TOrbStyleObject::TOrbStyleObject;
    TPngImage ImgBack, ImgSlider, ImgBtnLT, ImgBtnRB, ImgCenter;
    int SliderStateCount = 4;
    TOrbUIPadding SliderSplit, BackSplit;
    int BtnStateCount = 4;
    int BackStateCount = 2;
    int CenterStateCount = 4;
    int BtnoffSet = 0;
    bool ShowButton = true;
    bool JoinButton = false;
    TSplitMode SplitMode = SmHor;
};

class TOrbStyle : public TComponent {
public:
    explicit TOrbStyle(TComponent* owner = nullptr) : TComponent(owner) {}

    TOrbFormStyle FormStyle{this};
    TOrbButtonStyle BtnStyle{this};
    TOrbPanelStyle PanelStyle{this};
    TOrbCheckBoxStyle CheckBoxStyle{this};
    TOrbEditStyle EditStyle{this};
    TOrbScrollBarStyle VerScrollBarStyle{this};
    TOrbScrollBarStyle HorScrollBarStyle{this};

    std::function<void(TComponent* sender)> OnStyleChange;
    void StyleChanged() {
        if (OnStyleChange) OnStyleChange(this);
    }
};

inline void TOrbStyleObject::Changed() {
    if (FOwner) FOwner->StyleChanged();
}
