// The editor page's controls: built once with the main window and reused
// for every reminder. Positions are pixels inside pnlDetails. Captions set
// here are only what shows when no language file has the key; the base
// language pass and ApplyEditorLanguage put the language's texts in.
#include <string>
#include <vector>

#include "i18n/forms/form_fonts.h"
#include "i18n/lang_text.h"
#include "platform/gui/date_time_picker.h"
#include "schedule/schedule_text.h"
#include "skin/orb_button.h"
#include "skin/orb_check_box.h"
#include "skin/orb_combobox.h"
#include "skin/orb_combobox_preset.h"
#include "skin/orb_edit.h"
#include "skin/orb_edit_skin.h"
#include "skin/orb_form.h"
#include "skin/orb_label.h"
#include "skin/orb_panel.h"
#include "skin/orb_rich_edit.h"
#include "skin/orb_scroll_bar.h"
#include "skin/skin_artwork.h"
#include "skin/skin_presets.h"
#include "ui/main/main_form.h"

namespace {
constexpr TColor White = 0xFFFFFF;
constexpr TColor Ink = 0x32302A;      // rgb 42, 48, 50 as 0x00BBGGRR
constexpr TColor Accent = 0xE69516;   // rgb 22, 149, 230
constexpr TColor Muted = 0x8A8178;    // rgb 120, 129, 138
constexpr TColor TitleBand = 0xFBFAF8;  // rgb 248, 250, 251, as the list page's title
constexpr TColor EditFrame = 0xB3ADAB;  // rgb 171, 173, 179

constexpr int PageWidth = 450, PageHeight = 400, TitleHeight = 41;
// The first row of controls (repeat and time) and the label height that
// puts a label's text on the middle line of a 29-pixel combo box.
constexpr int RowTop = 156;
constexpr int LabelHeight = 16, LabelDrop = 7;
// The description box: the editor and its bar share the 432 pixels.
constexpr int NameLeft = 8, NameTop = 77, NameWidth = 432, NameHeight = 77, NameBarWidth = 15;

TOrbLabel* AddLabel(TWinControl& parent, const char* name, const std::string& caption, TRect bounds) {
    auto* label = parent.Add<TOrbLabel>();
    label->Name = name;
    label->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    label->SetFont(ColouredFont(Ink));
    label->SetSupportMouseOverDown(false);
    label->SetTransparent(true);
    label->SetCaption(caption);
    return label;
}

TOrbPanel* AddPanel(TWinControl& parent, const char* name, TRect bounds, TColor color = White) {
    auto* panel = parent.Add<TOrbPanel>();
    panel->Name = name;
    panel->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    panel->SetColor(color);
    panel->TrackHover = false;
    return panel;
}

// The push buttons of the title bar: the four-frame "button" strip, cut so
// the rounded ends keep their size.
TOrbButton* AddPushButton(TWinControl& parent, const char* name, const std::string& caption, TRect bounds) {
    auto* button = parent.Add<TOrbButton>();
    button->Name = name;
    button->SetImgBtn(SkinArtwork("button"));
    button->SetBtnStateCount(4);
    button->SetBtnSplit(TOrbUIPadding(5, 5, 75, 23));
    button->SetAutoSize(false);
    button->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    button->SetAllFonts(ColouredFont(White));
    button->SetFontDisable(ColouredFont(Muted));
    button->SetTransparent(true);
    button->SetCaption(caption);
    return button;
}

TOrbCheckBox* AddCheck(TWinControl& parent, const std::string& name, const std::string& caption, TRect bounds) {
    auto* box = parent.Add<TOrbCheckBox>();
    box->Name = name;
    // unchecked and checked, then the same under the mouse
    box->SetImgCheckBox(SkinArtwork("check_box"));
    box->SetCheckStateCount(4);
    box->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    box->SetFontColorNormal(Ink);
    box->SetFontColorOver(Accent);
    box->SetFontColorDown(Accent);
    box->SetFontColorDisable(Muted);
    box->SetTransparent(true);
    box->SetCaption(caption);
    return box;
}

TOrbCombobox* AddCombo(TWinControl& parent, const char* name, TRect bounds, TOrbScrollBarRes* scrollRes) {
    auto* combo = parent.Add<TOrbCombobox>();
    combo->Name = name;
    combo->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    LoadProgramComboSkin(*combo, scrollRes);
    combo->TabStop = true;
    return combo;
}

// The entries of a combo box from the language, keeping the choice when
// the new list still has that entry.
void RefillCombo(TOrbCombobox& combo, const char* name, int count) {
    const int chosen = combo.index();
    combo.Clear();
    for (int n = 1; n <= count; ++n) {
        TOrbCboxItem* item = combo.AddItem();
        item->Caption = LangText("Translation", std::string("TfrmORMMain.") + name + ".Item" + std::to_string(n), "");
    }
    if (chosen >= 0) combo.Setindex(chosen);
    combo.Invalidate();
}
}  // namespace

void TfrmORMMain::BuildEditorPage() {
    // Hidden just right of the list page until the editor slides in.
    pnlDetails = AddPanel(*fxfrm1, "pnlDetails", Bounds(205 + PageWidth, 31, PageWidth, PageHeight));
    pnlDetails->SetVisible(false);

    pnlDetailsTitle = AddPanel(*pnlDetails, "pnlDetailsTitle", Bounds(0, 0, PageWidth, TitleHeight), TitleBand);
    btnBack = AddPushButton(*pnlDetailsTitle, "btnBack", "Back", Bounds(11, 6, 76, 31));
    btnBack->OnClick = [this](TComponent* sender) { btnBackClick(sender); };
    btnDone = AddPushButton(*pnlDetailsTitle, "btnDone", "Save", Bounds(369, 6, 66, 31));
    btnDone->OnClick = [this](TComponent* sender) { btnDoneClick(sender); };

    lblName = AddLabel(*pnlDetails, "lblName", "Description:", Bounds(8, 50, 300, 20));
    // A one-pixel line around the editor and its bar: the editor has no
    // border of its own and would not read as a box on the white page.
    AddPanel(*pnlDetails, "pnlNameFrame", Bounds(NameLeft - 1, NameTop - 1, NameWidth + 2, NameHeight + 2), EditFrame);
    edName = pnlDetails->Add<TOrbRichEdit>();
    edName->Name = "edName";
    edName->SetBounds(NameLeft, NameTop, NameWidth - NameBarWidth, NameHeight);
    edName->SetScrollBars(TScrollStyle::Vertical);
    edName->SetWordWrap(true);
    auto* bar = pnlDetails->Add<TOrbScrollBar>();
    bar->Name = "sbName";
    bar->SetKind(skVer);
    if (ScrollRes) {
        bar->SetScrollRes(ScrollRes);
    } else {
        LoadProgramScrollBarSkin(bar->Skin);
        bar->SkinChanged();
    }
    bar->SetBounds(NameLeft + NameWidth - NameBarWidth, NameTop, NameBarWidth, NameHeight);
    edName->SetVerScrollBar(bar);

    lblRepeat = AddLabel(*pnlDetails, "lblRepeat", "Repeat:", Bounds(20, RowTop + LabelDrop, 49, LabelHeight));
    cbPeriod = AddCombo(*pnlDetails, "cbPeriod", Bounds(69, RowTop, 153, 29), ScrollRes);
    cbPeriod->OnItemClick = [this](TComponent* sender, TOrbCboxItem* item) { cbPeriodItemClick(sender, item); };
    lblTime = AddLabel(*pnlDetails, "lblTime", "Time:", Bounds(228, RowTop + LabelDrop, 49, LabelHeight));
    edTime = pnlDetails->Add<TDateTimePicker>(TDateTimeKind::Time);
    edTime->Name = "edTime";
    edTime->SetBounds(277, RowTop + 4, 108, 21);

    pnlDate = AddPanel(*pnlDetails, "pnlDate", Bounds(3, 198, 422, 76));
    lblDate = AddLabel(*pnlDate, "lblDate", "Date:", Bounds(17, 11, 52, LabelHeight));
    edDate = pnlDate->Add<TDateTimePicker>(TDateTimeKind::Date);
    edDate->Name = "edDate";
    edDate->SetBounds(71, 8, 149, 21);

    BuildWeekPanel();
    BuildMonthPanel();
    BuildVoiceRow();
    FillEditorCombos();
}

void TfrmORMMain::BuildWeekPanel() {
    pnlWeek = AddPanel(*pnlDetails, "pnlWeek", Bounds(11, 200, 430, 75));
    pnlWeek->SetVisible(false);
    struct TPlace {
        const char* Name;
        int Left, Top, Width;
    };
    // Sunday first, as WeekBoxes counts; Wednesday's name is the longest
    // in English but its box is the narrow one at the end of the row.
    static const TPlace places[7] = {{"ckbSundy", 8, 3, 74},      {"ckbMonday", 108, 4, 74},
                                     {"ckbTuesday", 204, 5, 74},  {"ckbWednesday", 317, 5, 58},
                                     {"ckbThursday", 8, 36, 74},  {"ckbFriday", 108, 35, 74},
                                     {"ckbSaturday", 204, 36, 74}};
    for (int i = 0; i < 7; ++i) {
        const TPlace& p = places[i];
        WeekBoxes[size_t(i + 1)] = AddCheck(*pnlWeek, p.Name, "", Bounds(p.Left, p.Top, p.Width, 24));
    }
    CaptionWeekBoxes();
}

void TfrmORMMain::BuildMonthPanel() {
    // Two pixels short of 81, so that the panel ends where the voice row
    // begins instead of reaching under it (its last row ends at 68).
    pnlMonth = AddPanel(*pnlDetails, "pnlMonth", Bounds(11, 200, 435, 79));
    pnlMonth->SetVisible(false);
    // Two-digit days need 35 pixels beside the 16-pixel box in the usual
    // fonts (33 cut "10" and up short); the row still ends well inside the
    // panel with boxes 38 apart.
    constexpr int PerRow = 11, Spacing = 38, Width = 35, FirstLeft = 8;
    constexpr int RowTops[3] = {4, 26, 48};
    for (int day = 1; day <= 31; ++day) {
        const int row = (day - 1) / PerRow, column = (day - 1) % PerRow;
        TOrbCheckBox* box = AddCheck(*pnlMonth, "ckbM" + std::to_string(day), std::to_string(day),
                                     Bounds(FirstLeft + column * Spacing, RowTops[row], Width, 20));
        // The day number needs every pixel of the narrow box.
        box->SetTextOffset(0);
        DayBoxes[size_t(day)] = box;
    }
}

void TfrmORMMain::BuildVoiceRow() {
    // "Voice prompts" is wider than the 66 pixels before the combo box in
    // most fonts: the label breaks into two lines beside it.
    lblVoice = AddLabel(*pnlDetails, "lblVoice", "Voice prompts", Bounds(6, 279, 66, 29));
    lblVoice->SetWordBreak(true);
    cbbVoice = AddCombo(*pnlDetails, "cbbVoice", Bounds(72, 279, 153, 29), ScrollRes);
    cbbVoice->OnItemClick = [this](TComponent* sender, TOrbCboxItem* item) { cbbVoiceChosen(sender, item); };

    pnlVoice = AddPanel(*pnlDetails, "pnlVoice", Bounds(8, 309, 436, 31));
    pnlVoice->SetVisible(false);
    edtVoice = pnlVoice->Add<TOrbEdit>();
    edtVoice->Name = "edtVoice";
    LoadProgramEditSkin(*edtVoice);
    edtVoice->SetBounds(64, 3, 280, 25);
    edtVoice->SetOnlyRead(true);
    edtVoice->SetText(DefaultVoiceFile);
    btnSelFile = AddPushButton(*pnlVoice, "btnSelFile", "...", Bounds(350, 3, 36, 25));
    btnSelFile->OnClick = [this](TComponent* sender) { btnSelFileClick(sender); };
    btnTest = pnlVoice->Add<TOrbButton>();
    btnTest->Name = "btnTest";
    btnTest->SetBtnStateCount(4);
    btnTest->SetAutoSize(false);
    btnTest->SetBounds(394, 4, 26, 24);
    btnTest->SetTransparent(true);
    btnTest->OnClick = [this](TComponent* sender) { btnTestClick(sender); };
    ShowTestPicture(TTestButtonPicture::Play);
}

void TfrmORMMain::CaptionWeekBoxes() {
    std::vector<std::string> names;
    DayName(1, &names);
    for (size_t i = 1; i < WeekBoxes.size(); ++i)
        if (WeekBoxes[i] && i - 1 < names.size()) WeekBoxes[i]->SetCaption(names[i - 1]);
}

void TfrmORMMain::FillEditorCombos() {
    if (cbPeriod) RefillCombo(*cbPeriod, "cbPeriod", 5);
    if (cbbVoice) RefillCombo(*cbbVoice, "cbbVoice", 3);
}

void TfrmORMMain::ApplyEditorLanguage() {
    if (!cbPeriod) return;
    // Controls the base pass leaves alone take the language's font too, in
    // their own colours.
    auto languageFont = [this](TColor color) {
        TFont font = Font();
        font.Color = color;
        font.Bold = false;
        return font;
    };
    for (TControl* control : std::initializer_list<TControl*>{cbPeriod, cbbVoice, edName, edtVoice})
        control->SetFont(languageFont(Ink));
    edTime->SetFont(languageFont(0));
    edDate->SetFont(languageFont(0));
    for (TOrbCheckBox* box : WeekBoxes)
        if (box) box->SetFont(languageFont(Ink));
    for (TOrbCheckBox* box : DayBoxes)
        if (box) box->SetFont(languageFont(Ink));

    FillEditorCombos();
    // A language change starts the period over at Once, with its date panel.
    if (TOrbCboxItem* once = cbPeriod->GetItem(0)) {
        cbPeriodItemClick(cbPeriod, once);
        cbPeriod->Setindex(0);
        cbPeriod->SetText(once->Caption);
    }
}
