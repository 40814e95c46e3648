// The editor page: filling it from a reminder (or for a new one), the
// period and voice choices, checking and saving, and the voice row's
// browse and test buttons.
//
// The edited reminder is held as its record, not its row: while the editor
// is open the due check may complete a once-only reminder and take its row
// off the list, and a restore rebuilds every row. Saving then still updates
// the record (the store owns it) and looks its row up afresh.
#include <exception>
#include <memory>
#include <string>

#include "platform/gui/application.h"
#include "platform/gui/date_time_picker.h"
#include "schedule/reminder_check.h"
#include "schedule/schedule_text.h"
#include "skin/orb_button.h"
#include "skin/orb_check_box.h"
#include "skin/orb_combobox.h"
#include "skin/orb_edit.h"
#include "skin/orb_image_list.h"
#include "skin/orb_list_box.h"
#include "skin/orb_panel.h"
#include "skin/orb_rich_edit.h"
#include "skin/skin_artwork.h"
#include "ui/main/main_form.h"

namespace {
constexpr int VoiceMute = 0, VoiceDefault = 1, VoiceCustom = 2;

int VoiceChoiceOf(const std::string& voice) {
    if (voice.empty()) return VoiceMute;
    return voice == DefaultVoiceFile ? VoiceDefault : VoiceCustom;
}
}  // namespace

// ---- opening ----

void TfrmORMMain::OpenEditor(TOrbLBoxItem* row) {
    // A page already on its way would be torn by a second slide.
    if (Sliding()) return;
    HideRowButtons();
    TRmRecordStruct* record = row ? RecordOf(row) : nullptr;
    if (record)
        FillEditorFrom(*record);
    else
        ClearEditorForNew();
    FEditedRow = record ? row : nullptr;
    FEditedRecord = record;
    if (!EditorShowing()) SlidePages();
}

void TfrmORMMain::FillEditorFrom(const TRmRecordStruct& record) {
    edName->SetText(record.Description);
    // The panel follows the reminder before the index is set, so that the
    // handler sees the change.
    if (TOrbCboxItem* item = cbPeriod->GetItem(record.Period)) {
        cbPeriodItemClick(cbPeriod, item);
        cbPeriod->Setindex(record.Period);
    } else {
        // A reminder without a schedule: no panel and no entry.
        ShowPeriodPanel(record.Period);
        cbPeriod->Setindex(-1);
        cbPeriod->SetText("");
    }
    edTime->SetDateTime(record.WakeTime);
    const int voice = VoiceChoiceOf(record.Voice);
    if (voice == VoiceCustom) edtVoice->SetText(record.Voice);
    ShowVoiceChoice(voice);
    switch (record.Period) {
    case PeriodOnce:
    case PeriodDaily:
    case PeriodYearly: edDate->SetDateTime(record.WakeDate()); break;
    case PeriodWeekly:
        for (size_t i = 1; i <= 7; ++i) WeekBoxes[i]->SetChecked(record.RepeatData[i - 1] != 0);
        break;
    case PeriodMonthly:
        for (size_t i = 1; i <= 31; ++i) DayBoxes[i]->SetChecked(record.RepeatData[i - 1] != 0);
        break;
    default: break;
    }
}

void TfrmORMMain::ClearEditorForNew() {
    if (TOrbCboxItem* once = cbPeriod->GetItem(PeriodOnce)) cbPeriodItemClick(cbPeriod, once);
    edName->SetText("");
    cbPeriod->Setindex(PeriodOnce);
    const TDateTime now = Now();
    edDate->SetDateTime(DateOf(now));
    edTime->SetDateTime(TimeOf(now));
    // The weekday and day boxes and the path keep what the last editing
    // left in them.
    ShowVoiceChoice(VoiceMute);
}

void TfrmORMMain::ShowVoiceChoice(int choice) {
    TOrbCboxItem* item = cbbVoice->GetItem(choice);
    if (!item) return;
    cbbVoiceChosen(cbbVoice, item);
    cbbVoice->Setindex(choice);
}

// ---- the period and voice choices ----

void TfrmORMMain::ShowPeriodPanel(int period) {
    pnlDate->SetVisible(false);
    pnlWeek->SetVisible(false);
    pnlMonth->SetVisible(false);
    pnlDetails->Invalidate();
    switch (period) {
    case PeriodOnce:
    case PeriodYearly: pnlDate->SetVisible(true); break;
    case PeriodWeekly: pnlWeek->SetVisible(true); break;
    case PeriodMonthly: pnlMonth->SetVisible(true); break;
    default: break;  // daily and unknown codes: no panel
    }
}

void TfrmORMMain::cbPeriodItemClick(TComponent* /*Sender*/, TOrbCboxItem* AItem) {
    if (!AItem) return;
    const int index = AItem->Index();
    if (index != cbPeriod->index()) ShowPeriodPanel(index);
}

void TfrmORMMain::cbbVoiceChosen(TComponent* /*Sender*/, TOrbCboxItem* AItem) {
    if (!AItem) return;
    pnlVoice->SetVisible(cbbVoiceItemClick(AItem->Index()) == TVoiceRow::Shown);
}

// ---- saving ----

TReminderInput TfrmORMMain::EditorInput() const {
    TReminderInput input;
    input.Description = edName->Text();
    const int period = cbPeriod->index();
    input.Period = period < 0 ? PeriodNone : uint8_t(period);
    input.Date = edDate->DateTime();
    input.Time = edTime->DateTime();
    for (size_t i = 1; i <= 7; ++i) input.WeekDays[i - 1] = WeekBoxes[i]->Checked();
    for (size_t i = 1; i <= 31; ++i) input.MonthDays[i - 1] = DayBoxes[i]->Checked();
    return input;
}

void TfrmORMMain::WriteEditorFields(TRmRecordStruct& record) const {
    const TReminderInput input = EditorInput();
    record.Description = input.Description;
    // No entry chosen (a reminder that had no schedule): the kind stays.
    if (cbPeriod->index() >= 0) record.Period = input.Period;
    record.WakeTime = TimeOf(input.Time);
    switch (record.Period) {
    case PeriodOnce:
    case PeriodDaily:  // the hidden date is stored; only the time counts
    case PeriodYearly: record.SetWakeDate(DateOf(input.Date)); break;
    case PeriodWeekly:
        for (size_t i = 0; i < 7; ++i) record.RepeatData[i] = input.WeekDays[i] ? 1 : 0;
        break;
    case PeriodMonthly:
        for (size_t i = 0; i < 31; ++i) record.RepeatData[i] = input.MonthDays[i] ? 1 : 0;
        break;
    default: break;
    }
    switch (cbbVoice->index()) {
    case VoiceMute: record.Voice.clear(); break;
    case VoiceDefault: record.Voice = DefaultVoiceFile; break;
    case VoiceCustom: record.Voice = edtVoice->Text(); break;
    default: break;
    }
    record.EndTime = 0;
    // A pending postponement belongs to the old schedule: it goes with the
    // alert moment, in memory and in the data file.
    record.NextAlert = 0;
    record.Postponement = 0;
}

bool TfrmORMMain::SaveEditor() {
    if (Sliding() || !EditorShowing()) return false;
    const TReminderRefusal refusal = CheckReminderInput(EditorInput());
    if (refusal != TReminderRefusal::None) {
        ShowMsg(RefusalText(refusal), BtnSetOk, MsgIconWarning);
        return false;
    }
    // A reminder the store no longer holds cannot be updated: the save
    // makes it anew from what the user entered.
    if (FEditedRecord && Store().Contains(FEditedRecord)) {
        SaveExistingReminder(FEditedRecord);
    } else {
        FEditedRecord = nullptr;
        FEditedRow = nullptr;
        if (!SaveNewReminder()) return false;
    }
    SlidePages();
    return true;
}

void TfrmORMMain::SaveExistingReminder(TRmRecordStruct* record) {
    WriteEditorFields(*record);
    TOrbLBoxItem* row = FindListRow(record);
    FEditedRow = row;
    if (row) row->SetCaption(record->Description);
    std::string failure;
    try {
        RefreshReminder(record);
    } catch (const std::exception& e) {
        // The record keeps the new entries in memory and reaches the file
        // with its next write; the list shows it as it now is.
        failure = e.what();
        record->ScheduleText = ScheduleTextOf(*record);
    }
    // Saved, the reminder is unfinished: a row that went while the editor
    // was open (the due check completed it) comes back here.
    SyncListRow(record);
    if (!failure.empty()) ShowMsg(failure, BtnSetOk, MsgIconError);
}

bool TfrmORMMain::SaveNewReminder() {
    auto fresh = std::make_unique<TRmRecordStruct>();
    const TDateTime now = Now();
    fresh->CreateDateTime = now;
    fresh->LastTime = now;
    WriteEditorFields(*fresh);
    TRmRecordStruct* record = fresh.get();
    std::string failure;
    try {
        Store().AddRecord(std::move(fresh));
    } catch (const std::exception& e) {
        failure = e.what();
    }
    // The store raises both when it refused the record (it is gone) and
    // when it took it but could not write the file (it is kept and written
    // with the next change): only a record it holds gets a row.
    const bool taken = Store().Contains(record);
    if (taken) {
        record->ScheduleText = ScheduleTextOf(*record);
        if (CurrentTab() == TReminderTab::Unfinished) {
            AddRow(record);
            RepaintList();
        }
        FEditedRecord = record;
        FEditedRow = FindListRow(record);
    }
    if (!failure.empty()) ShowMsg(failure, BtnSetOk, MsgIconError);
    return taken;
}

// ---- Save and Back ----

void TfrmORMMain::btnDoneClick(TComponent* /*Sender*/) {
    if (Sliding()) return;
    TestVoice().StopIfPlaying();
    SaveEditor();
}

void TfrmORMMain::btnBackClick(TComponent* /*Sender*/) {
    if (Sliding() || !EditorShowing()) return;
    TestVoice().StopIfPlaying();
    SlidePages();
}

// ---- the voice row ----

void TfrmORMMain::btnSelFileClick(TComponent* /*Sender*/) {
    const TOpenFileDialog openDialog = [this](const TVoiceFileDialog& request, std::string& path) {
        TFileDialogOptions options;
        options.Filter = request.Filter;
        options.MustExist = request.FileMustExist || request.PathMustExist;
        options.FileName = path;
        if (Application->Host().RunFileDialog(TFileDialogKind::Open, options, this) != TDialogResult::Ok)
            return false;
        path = options.FileName;
        return true;
    };
    std::string text = edtVoice->Text();
    if (::btnSelFileClick(openDialog, text)) edtVoice->SetText(text);
}

void TfrmORMMain::btnTestClick(TComponent* /*Sender*/) { TestVoice().btnTestClick(edtVoice->Text()); }

void TfrmORMMain::ShowTestPicture(TTestButtonPicture picture) {
    if (picture == TTestButtonPicture::Unchanged || !btnTest) return;
    const int index = int(picture);
    TPngImage image;
    if (imgStorage) {
        if (const TOrbImageItem* item = imgStorage->Find(index)) image = item->Picture().Bitmap();
    }
    // Until the window's storage holds its pictures the artwork serves.
    if (image.Empty()) image = SkinArtwork(picture == TTestButtonPicture::Play ? "voice_play" : "voice_stop");
    btnTest->SetImgBtn(image);
    btnTest->Invalidate();
}
