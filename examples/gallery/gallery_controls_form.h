// TfrmGallery: the gallery's translated window. The skinned push buttons,
// tab buttons, check and radio boxes, labels, a translucent panel and an
// image on the frame every program window has, with every caption taken
// from the gallery's own language files; a switch on the window changes
// the language while it is open. Not shipped.
#pragma once

#include <string>

#include "i18n/forms/base_form.h"

class TOrbButton;
class TOrbCheckBox;
class TOrbImage;
class TOrbImageStorage;
class TOrbLabel;
class TOrbPanel;

enum class TGalleryLanguage { English, Chinese };

// The gallery's language file for `language`. The files stay in the source
// folder (the gallery is never installed), so a build tree needs no copy
// and the program's own Languages folder never sees the gallery's keys.
std::string GalleryLanguageFile(TGalleryLanguage language);

class TfrmGallery : public TfrmBase {
public:
    explicit TfrmGallery(TComponent* owner, TGalleryLanguage language = TGalleryLanguage::English);

    std::string ClassName() const override { return "TfrmGallery"; }
    // The base pass, then what it does not cover: the check and radio
    // boxes, the caption buttons' hints and the language switch's state.
    void ApplyLanguage() override;

    // Makes `language`'s file the active one and, once the window exists,
    // translates it again.
    void SetLanguage(TGalleryLanguage language);
    TGalleryLanguage Language() const { return FLanguage; }

    TOrbButton* btnNormal = nullptr;
    TOrbButton* btnDisabled = nullptr;
    TOrbButton* btnSelected = nullptr;
    TOrbButton* btnTabFirst = nullptr;
    TOrbButton* btnTabSecond = nullptr;
    TOrbButton* btnTabThird = nullptr;
    TOrbCheckBox* chkChecked = nullptr;
    TOrbCheckBox* chkUnchecked = nullptr;
    TOrbCheckBox* chkDisabled = nullptr;
    TOrbCheckBox* rbFirst = nullptr;
    TOrbCheckBox* rbSecond = nullptr;
    TOrbCheckBox* rbDisabled = nullptr;
    TOrbLabel* lblPlain = nullptr;
    TOrbLabel* lblWrapped = nullptr;
    TOrbLabel* lblGlow = nullptr;
    TOrbLabel* lblCut = nullptr;
    TOrbPanel* pnlTint = nullptr;
    TOrbLabel* lblPanel = nullptr;
    TOrbImageStorage* ImageStorage = nullptr;
    TOrbImage* imgIcon = nullptr;
    TOrbButton* btnEnglish = nullptr;
    TOrbButton* btnChinese = nullptr;

private:
    void SetUpFrame();
    void BuildButtons();
    void BuildTabs();
    void BuildChecks();
    void BuildLabels();
    void BuildPanelAndImage();
    void BuildLanguageSwitch();
    TOrbLabel* AddHeading(const char* name, const std::string& caption, int left, int top, int width);
    TOrbCheckBox* AddCheck(const char* name, const std::string& caption, bool radio, int left, int top);
    void TranslateCheck(TOrbCheckBox& box);

    TGalleryLanguage FLanguage = TGalleryLanguage::English;
};
