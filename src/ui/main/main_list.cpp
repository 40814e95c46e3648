// TfrmORMMain's list page: the two tabs, the rows of the reminders on the
// tab shown, and the hover panel with the two row buttons.
//
// A row's Data is the record the store owns; the list never owns it. Every
// path that removes a row goes through DeleteRow (or FillList), which first
// drops the references the window keeps to it: the hover panel's tag and
// the editor's row.
#include <algorithm>
#include <exception>

#include "i18n/lang_text.h"
#include "platform/gui/application.h"
#include "schedule/remind_dlg.h"
#include "schedule/schedule_text.h"
#include "skin/orb_button.h"
#include "skin/orb_image_list.h"
#include "skin/orb_label.h"
#include "skin/orb_list_box.h"
#include "skin/orb_panel.h"
#include "ui/main/main_form.h"

namespace {

constexpr const char* Translation = "Translation";

// The pictures of imgStorage the row buttons take, by tab.
constexpr int DetailsOnUnfinished = 6, FinishOnUnfinished = 4;
constexpr int RecoverOnCompleted = 3, DeleteOnCompleted = 5;

// The same rule as HasActiveReminders: every record is on exactly one tab.
bool BelongsTo(const TRmRecordStruct& record, TReminderTab tab) {
    return record.IsActive() == (tab == TReminderTab::Unfinished);
}

}  // namespace

// ---- tabs ----

void TfrmORMMain::btnUnfinish1Click(TComponent* Sender) { SelectTab(dynamic_cast<TOrbButton*>(Sender)); }

void TfrmORMMain::SelectTab(TOrbButton* button) {
    if (!button) return;
    if (EditorShowing()) {
        if (ShowMsg(LangText("Messages", "ExitModify", ""), BtnSetYesNo, MsgIconQuestion) != MsgResultYes) return;
        // Leaving the editor without saving, as its Back button does.
        TestVoice().StopIfPlaying();
        SlidePages();
    }
    const bool unfinished = button == btnUnfinish;
    button->SetBtnStatus(bsSelect);
    txCaption->SetCaption(button->Caption());
    txCaption->Tag = unfinished ? intptr_t(TReminderTab::Unfinished) : intptr_t(TReminderTab::Completed);
    FillList(unfinished ? TReminderTab::Unfinished : TReminderTab::Completed);

    const std::string prefix = ClassName();
    if (unfinished) {
        btnNew->SetVisible(true);
        btnDelete->Hint = LangText(Translation, prefix + ".btnDelete.hint_1", "");
        btnDetails->Hint = LangText(Translation, prefix + ".btnDetails.hint_1", "");
        btnCompleted->SetBtnStatus(bsNormal);
        btnCompleted->Invalidate();
        SetRowButtonPictures(DetailsOnUnfinished, FinishOnUnfinished);
    } else {
        btnUnfinish->SetBtnStatus(bsNormal);
        btnUnfinish->Invalidate();
        btnDelete->Hint = LangText(Translation, prefix + ".btnDelete.hint_2", "");
        btnDetails->Hint = LangText(Translation, prefix + ".btnDetails.hint_2", "");
        btnNew->SetVisible(false);
        SetRowButtonPictures(RecoverOnCompleted, DeleteOnCompleted);
    }
}

TReminderTab TfrmORMMain::CurrentTab() const {
    return txCaption && txCaption->Tag == intptr_t(TReminderTab::Completed) ? TReminderTab::Completed
                                                                             : TReminderTab::Unfinished;
}

void TfrmORMMain::SetRowButtonPictures(int detailsPicture, int deletePicture) {
    auto picture = [this](int index) {
        const TOrbImageItem* item = imgStorage->Find(index);
        return item ? item->Picture().Bitmap() : TBitmap32();
    };
    btnDetails->SetImgBtn(picture(detailsPicture));
    btnDelete->SetImgBtn(picture(deletePicture));
    btnDetails->Invalidate();
    btnDelete->Invalidate();
}

// ---- rows ----

void TfrmORMMain::FillList(TReminderTab tab) {
    HideRowButtons();
    FEditedRow = nullptr;
    lbData->Clear();
    // The period captions and day names once for the whole list.
    const TScheduleWords words = CurrentScheduleWords();
    for (const auto& record : FStore->Records()) {
        if (!BelongsTo(*record, tab)) continue;
        AddRow(record.get());
        ScheduleTextInto(record->ScheduleText, *record, words);
    }
    lbData->UpdateView();
}

TOrbLBoxItem* TfrmORMMain::AddRow(TRmRecordStruct* record) {
    TOrbLBoxItem* row = lbData->AddItem();
    row->SetCaption(record->Description);
    row->Data = record;
    return row;
}

void TfrmORMMain::DeleteRow(TOrbLBoxItem* row) {
    if (!row) return;
    if (PanelRow() == row) HideRowButtons();
    if (FEditedRow == row) FEditedRow = nullptr;
    lbData->DeleteItem(row);
}

// Tab shown | row  | record                          | action
// Unfinished| none | EndTime unset or NextAlert set  | add a row
// Unfinished| yes  | EndTime set and no NextAlert    | delete the row
// Completed | none | EndTime set and no NextAlert    | add a row
// Completed | yes  | EndTime unset or NextAlert set  | delete the row
// A record of the tab shown is thus always listed: an unfinished reminder
// whose row went while it was being edited comes back with its save.
void TfrmORMMain::SyncListRow(TRmRecordStruct* record) {
    if (!record) return;
    TOrbLBoxItem* row = FindListRow(record);
    const bool belongs = BelongsTo(*record, CurrentTab());
    if (!row && belongs)
        AddRow(record);
    else if (row && !belongs)
        DeleteRow(row);
    RepaintList();
}

TOrbLBoxItem* TfrmORMMain::FindListRow(const TRmRecordStruct* record) const {
    if (!record) return nullptr;
    for (int i = 0; i < lbData->Count(); ++i) {
        TOrbLBoxItem* row = lbData->GetItem(i);
        if (row->Data == record) return row;
    }
    return nullptr;
}

TOrbLBoxItem* TfrmORMMain::RowAt(TPoint p) const {
    for (int i = 0; i < lbData->Count(); ++i) {
        TOrbLBoxItem* row = lbData->GetItem(i);
        if (row->Visible() && row->ItemRect != NoItemRect && row->ItemRect.Contains(p)) return row;
    }
    return nullptr;
}

TRmRecordStruct* TfrmORMMain::RecordOf(const TOrbLBoxItem* row) {
    return row ? static_cast<TRmRecordStruct*>(row->Data) : nullptr;
}

void TfrmORMMain::ToggleFinished(TOrbLBoxItem* row) {
    TRmRecordStruct* record = RecordOf(row);
    if (!record) return;
    if (record->EndTime == 0) {
        record->EndTime = Now();
        // Finished means no alert is pending any more, after a restart too.
        record->NextAlert = 0;
        record->Postponement = 0;
    } else {
        record->EndTime = 0;
    }
    // The row goes first: a failed write below must not leave a row on a
    // tab its record no longer belongs to.
    DeleteRow(row);
    HideRowButtons();
    RepaintList();
    RefreshReminder(record);
}

void TfrmORMMain::DeleteReminder(TOrbLBoxItem* row) {
    TRmRecordStruct* record = RecordOf(row);
    if (!record) return;
    DeleteRow(row);
    HideRowButtons();
    RepaintList();
    // Nothing may keep pointing at the record once the store frees it (it
    // does so even when the write that follows fails).
    ForgetAlertRecord(record);
    auto& due = DueList();
    due.erase(std::remove(due.begin(), due.end(), record), due.end());
    FStore->DeleteRecord(record);
}

// ---- the hover panel ----

TOrbLBoxItem* TfrmORMMain::PanelRow() const {
    return pnlBtn && pnlBtn->Visible() ? reinterpret_cast<TOrbLBoxItem*>(pnlBtn->Tag) : nullptr;
}

void TfrmORMMain::HideRowButtons() {
    if (!pnlBtn) return;
    pnlBtn->Tag = 0;
    pnlBtn->SetVisible(false);
}

void TfrmORMMain::lbDataMouseMove(TPoint p) {
    TOrbLBoxItem* row = RowAt(p);
    if (!row) {
        HideRowButtons();
        return;
    }
    const TRect& r = row->ItemRect;
    pnlBtn->SetBounds(r.Right - pnlBtn->Width() - 5, r.Top + (50 - pnlBtn->Height()) / 2, pnlBtn->Width(),
                      pnlBtn->Height());
    pnlBtn->Tag = reinterpret_cast<intptr_t>(row);
    pnlBtn->SetVisible(true);
}

void TfrmORMMain::lbDataMouseLeave() {
    // Moving onto the row buttons keeps them; leaving anywhere else hides them.
    const TPoint p = pnlBtn->ScreenToClient(Application->Host().CursorPos());
    if (!pnlBtn->ClientRect().Contains(p)) HideRowButtons();
}

void TfrmORMMain::btnDetailsClick(TComponent* /*Sender*/) {
    TOrbLBoxItem* row = PanelRow();
    if (row) OpenEditor(row);
}

void TfrmORMMain::btnDeleteClick(TComponent* /*Sender*/) {
    TOrbLBoxItem* row = PanelRow();
    if (!row) return;
    try {
        if (CurrentTab() == TReminderTab::Unfinished)
            ToggleFinished(row);
        else
            DeleteReminder(row);
    } catch (const std::exception& error) {
        ReportError(error);
    }
}
