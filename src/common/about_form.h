// TfrmAbout, the About window: the program's version, the support mail
// address and the home page as links (underlined under the mouse, opened by
// the desktop on a click), the acknowledgements in a read-only text box
// with skinned scroll bars, and an OK button that closes it.
//
// There is one About window at a time (AboutWindow): asking for it while it
// is open brings that one to the front. Closing it frees it.
//
// Files: about_form.cpp (building, texts, clicks, the one window),
// about_form_links.cpp (the addresses it and the main window open).
#pragma once

#include <string>

#include "i18n/forms/base_form.h"

class TOrbButton;
class TOrbLabel;
class TOrbRichEdit;
class TOrbScrollBar;

class TfrmAbout : public TfrmBase {
public:
    // `serverBase`: the configured server ("" when none): the home page
    // link shows and opens it; without one the link is empty and opens
    // nothing.
    TfrmAbout(TComponent* owner, std::string serverBase);
    ~TfrmAbout() override;

    std::string ClassName() const override { return "TfrmAbout"; }

    // Centres the window on `over` (null: on the work area), kept on the
    // work area.
    void PlaceOver(const TForm* over);

    void lblsupportclick(TComponent* Sender);
    void lblwebclick(TComponent* Sender);
    void btnOkClick(TComponent* Sender);

    // The address lblweb opens ("" without a server).
    const std::string& HomeUrl() const { return FHomeUrl; }

    // ---- components (names are part of the language-file contract) ----
    TOrbLabel* lblver = nullptr;
    TOrbLabel* lblverinfo = nullptr;
    TOrbLabel* lblemail = nullptr;
    TOrbLabel* lblsupport = nullptr;
    TOrbLabel* lblhome = nullptr;
    TOrbLabel* lblweb = nullptr;
    TOrbLabel* lblthanks = nullptr;
    TOrbRichEdit* OrbRichEdit1 = nullptr;
    TOrbScrollBar* OrbScrollBar1 = nullptr;  // vertical
    TOrbScrollBar* OrbScrollBar2 = nullptr;  // horizontal
    TOrbButton* btnOk = nullptr;

protected:
    void FormCreate() override;
    void KeyDown(int& key, TShiftState shift) override;

private:
    void SetUpFrame();
    void BuildLabels();
    void BuildThanks();
    TOrbLabel* AddLabel(const char* name, const std::string& caption, int left, int top, int width);
    TOrbLabel* AddLink(const char* name, const std::string& caption, int left, int top, int width);

    std::string FHomeUrl;
};

// The About window while one is open (and not closing), else null.
extern TfrmAbout* AboutWindow;

// Opens the About window centred on `over`, or brings the open one to the
// front; answers it.
TfrmAbout* ShowAboutWindow(const std::string& serverBase, const TForm* over = nullptr);

// The acknowledgements the window lists.
extern const char* const AboutThanksText;
