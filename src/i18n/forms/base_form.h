// TfrmBase: the common base of the program's translated windows (main,
// alert, About). A borderless top-level window covered by one skinned
// frame `fxfrm1`; when it is created it takes the language's font and the
// captions of itself and of its skinned buttons and labels from the active
// language file.
//
// Language keys are built from the window's class name, so each derived
// window overrides ClassName() with its own name exactly as the language
// files spell it ("TfrmORMMain", "TfrmRemindDlg", "TfrmAbout").
//
// Creation: FormCreate runs once, when the window first shows (the
// framework loads every component, the frame included, and then the form).
// A derived window therefore builds its controls in its constructor and
// the language pass finds them all; the frame has loaded, so its new
// caption and font are drawn at once.
#pragma once

#include <string>

#include "platform/gui/form.h"

class TOrbForm;
class TOrbButton;
class TOrbLabel;

class TfrmBase : public TForm {
public:
    explicit TfrmBase(TComponent* owner);

    // The run-time class name the language keys start with.
    virtual std::string ClassName() const { return "TfrmBase"; }

    // The window's own text; the frame shows the same as its title.
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value) { FCaption = value; }

    // The base pass: the language's font on the window and the frame's
    // title, then the captions of the window and of every skinned button
    // and label it owns. Overrides run it first, then add their own texts.
    // Runs at creation and again whenever a window chooses to (the main
    // window after each language change).
    virtual void ApplyLanguage();

    void Loaded() override;

    TOrbForm* fxfrm1 = nullptr;

protected:
    // The creation event; an override calls the base first.
    virtual void FormCreate();

private:
    void TranslateButton(TOrbButton& button, const std::string& className);
    void TranslateLabel(TOrbLabel& label, const std::string& className);

    std::string FCaption;
    bool FCreated = false;
};
