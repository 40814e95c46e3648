// The gallery's input controls: the message boxes of each kind, the
// editor's two combo boxes, a button that plays the default chime, the
// edit boxes (plain, number-only, read-only with its browse button,
// password) and a rich edit with its skinned bar.
#include "gallery/gallery_form.h"

#include "platform/gui/application.h"
#include "skin/orb_combobox.h"
#include "skin/orb_combobox_preset.h"
#include "skin/orb_edit.h"
#include "skin/orb_edit_skin.h"
#include "skin/orb_message_box.h"
#include "skin/orb_message_box_preset.h"
#include "skin/orb_rich_edit.h"
#include "skin/skin_presets.h"
#include "gallery/gallery_widgets.h"

void TGalleryForm::BuildMessageBoxes() {
    FMsgBox = Create<TOrbMessageBox>();
    LoadProgramMessageBoxSkin(*FMsgBox);
    auto* button = Add<TGalleryButton>();
    button->SetBounds(550, 216, 140, 30);
    button->Caption = "Message boxes…";
    button->SetFont(MenuButton->Font());
    button->SetTransparent(true);
    button->OnClick = [this](TComponent*) {
        const struct {
            int Buttons, Icon;
            const char* Text;
        } kinds[] = {{BtnSetYesNo, MsgIconQuestion, "Leave the editor without saving your changes?"},
                     {BtnSetOk, MsgIconWarning, "The reminder needs a description."},
                     {BtnSetOk, MsgIconError, "The data file could not be written."},
                     {BtnSetOk, MsgIconInformation, "A new version is available."}};
        for (const auto& k : kinds) {
            const int answer = FMsgBox->ShowMsg("Confirm", k.Text, nullptr, false, this, k.Buttons, k.Icon);
            SetStatus("The message box answered " + std::to_string(answer));
        }
    };
}

void TGalleryForm::BuildCombos() {
    auto* caption = Add<TGalleryLabel>();
    caption->SetBounds(420, 262, 270, 20);
    caption->Caption = "Combo boxes and the voice prompt";
    caption->SetTransparent(true);
    auto make = [this](const char* name, int top, std::initializer_list<const char*> entries) {
        auto* combo = Add<TOrbCombobox>();
        combo->Name = name;
        combo->SetBounds(420, top, 153, 29);
        LoadProgramComboSkin(*combo, FScrollRes);
        for (const char* entry : entries) combo->AddItem()->Caption = entry;
        combo->Setindex(0);
        combo->OnItemClick = [this](TComponent*, TOrbCboxItem* item) { SetStatus("Chose " + item->Caption); };
        return combo;
    };
    make("cbPeriod", 288, {"Once", "Daily", "Weekly", "Monthly", "Yearly"});
    make("cbbVoice", 324, {"Mute", "Default", "Custom"});

    // The editor's test button: play, and stop while playing.
    FSound = Application->Host().CreateSoundDevice();
    FVoice = std::make_unique<TTestVoice>(*FSound, [h = Handle()](int status, TSoundDeviceId device) {
        Application->PostMessage(h, MM_MCINOTIFY, status, intptr_t(device));
    });
    FPlayButton = Add<TGalleryButton>();
    FPlayButton->SetBounds(585, 324, 105, 29);
    FPlayButton->Caption = "Play chime";
    FPlayButton->SetFont(MenuButton->Font());
    FPlayButton->SetTransparent(true);
    FPlayButton->OnClick = [this](TComponent*) { FVoice->btnTestClick(DefaultVoiceFile); };
    FVoice->OnUnknownFileType = [this](const TVoiceMessage&) { SetStatus("The chime would not play."); };
    OnMessage = [this](TForm*, const TMessage& msg) {
        if (msg.Msg != MM_MCINOTIFY) return;
        switch (FVoice->HandleNotify(msg.WParam, msg.LParam)) {
            case TTestButtonPicture::Play: FPlayButton->Caption = "Play chime"; break;
            case TTestButtonPicture::Stop: FPlayButton->Caption = "Stop"; break;
            case TTestButtonPicture::Unchanged: return;
        }
        FPlayButton->Invalidate();
    };
}

void TGalleryForm::BuildEdits() {
    auto* caption = Add<TGalleryLabel>();
    caption->SetBounds(420, 366, 270, 20);
    caption->Caption = "Edit boxes";
    caption->SetTransparent(true);
    auto addEdit = [this](int top, const std::string& text) {
        auto* edit = Add<TOrbEdit>();
        LoadProgramEditSkin(*edit);
        edit->SetBounds(420, top, 270, 25);
        edit->SetText(text);
        return edit;
    };
    addEdit(390, "Buy milk on the way home");
    addEdit(422, "42")->OnlyNumber = true;
    TOrbEdit* path = addEdit(454, "default.mp3");
    LoadProgramEditSkin(*path, TEditExtraButton::Yes);
    path->SetOnlyRead(true);
    addEdit(486, "secret")->SetPasswordChar("•");

    auto* richCaption = Add<TGalleryLabel>();
    richCaption->SetBounds(20, 452, 300, 20);
    richCaption->Caption = "Rich edit with a skinned bar";
    richCaption->SetTransparent(true);
    auto* frame = Add<TGalleryFrame>();
    frame->SetBounds(20, 476, 350, 112);
    HandleNeeded();  // the native editor needs the window
    auto* rich = Add<TOrbRichEdit>();
    rich->SetBounds(26, 480, 328, 104);
    auto* bar = Add<TOrbScrollBar>();
    LoadProgramScrollBarSkin(bar->Skin);
    bar->SkinChanged();
    bar->SetBounds(354, 477, 15, 110);
    rich->SetVerScrollBar(bar);
    std::string text;
    for (int i = 1; i <= 12; ++i) text += "Line " + std::to_string(i) + " of a note that is longer than the box\n";
    rich->SetText(text);
}
