// TfrmRemindDlg's rows: listing a batch of due reminders, growing with the
// rows, dismissing one row, forgetting a reminder that is being deleted,
// postponing every listed reminder; and the due check's hand-offs.
#include <algorithm>
#include <exception>
#include <iterator>

#include "i18n/lang_text.h"
#include "platform/gui/application.h"
#include "schedule/due_check.h"
#include "schedule/remind_dlg.h"
#include "skin/orb_combobox.h"
#include "skin/orb_form.h"
#include "skin/orb_list_box.h"

namespace {

constexpr int RowHeight = 44;
// The window grows with its rows up to this many; beyond, the list scrolls.
constexpr int MaxGrownRows = 10;
constexpr int ListExtra = 40;     // list height beyond its rows
constexpr int WindowExtra = 100;  // window height beyond the list
constexpr double MinutesPerDay = 24.0 * 60.0;

TReminderWindows* ListWindows = nullptr;

TRmRecordStruct* RecordOf(const TOrbLBoxItem* row) { return static_cast<TRmRecordStruct*>(row->Data); }

}  // namespace

void SetAlertListWindows(TReminderWindows* windows) { ListWindows = windows; }

void ShowAlerts(const std::vector<TRmRecordStruct*>& records) {
    if (records.empty()) return;
    if (!AlertWindow) AlertWindow = Application->CreateForm<TfrmRemindDlg>();
    AlertWindow->ShowAlerts(records);
}

void ShowMissed(const std::vector<TRmRecordStruct*>& records) {
    if (records.empty()) return;
    if (!AlertWindow) AlertWindow = Application->CreateForm<TfrmRemindDlg>();
    AlertWindow->ShowMissed(records);
}

void ForgetAlertRecord(const TRmRecordStruct* record) {
    if (AlertWindow) AlertWindow->ForgetRecord(record);
}

// ---- listing ----

void TfrmRemindDlg::ShowAlerts(const std::vector<TRmRecordStruct*>& records) {
    // A window that has closed only waits to be freed; the next batch
    // gets a fresh one.
    if (records.empty() || FClosing) return;
    TAlertVoiceBatch voice(*FVoice);
    for (TRmRecordStruct* record : records) {
        if (!record || RowOf(record)) continue;
        TOrbLBoxItem* row = lbReminds->AddItem();
        row->SetCaption(record->Description);
        row->Data = record;
        voice.Offer(record->Voice);
    }
    if (TaskbarTop != 0) FitToRows();
    lbReminds->UpdateView();
    if (!Visible()) ShowSliding();
}

void TfrmRemindDlg::ShowMissed(const std::vector<TRmRecordStruct*>& records) {
    if (records.empty() || FClosing) return;
    ShowAlerts(records);
    cbDelay->SetVisible(false);
    SetCaption(LangText("Translation", "TfrmRemindDlg.Caption_1"));
    fxfrm1->SetCaption(Caption());
}

TOrbLBoxItem* TfrmRemindDlg::RowOf(const TRmRecordStruct* record) const {
    if (!record) return nullptr;
    for (int i = 0; i < lbReminds->Count(); ++i) {
        TOrbLBoxItem* row = lbReminds->GetItem(i);
        if (RecordOf(row) == record) return row;
    }
    return nullptr;
}

// The window's bottom stays on the taskbar's edge; it grows upwards.
void TfrmRemindDlg::FitToRows() {
    const int rows = std::min(lbReminds->Count(), MaxGrownRows);
    const int listHeight = rows * RowHeight + ListExtra;
    lbReminds->SetHeight(listHeight);
    const int height = listHeight + WindowExtra;
    SetBounds(Left(), TaskbarTop - height, Width(), height);
    // The frame follows its host once loaded; before that it is sized here.
    fxfrm1->SetBounds(0, 0, Width(), height);
}

// ---- leaving rows ----

void TfrmRemindDlg::lbRemindsItemClick(TOrbLBoxItem* item) {
    if (!item || FClosing) return;
    const TPoint p = lbReminds->ScreenToClient(Application->Host().CursorPos());
    if (!DismissHitRect(*item).Contains(p)) return;
    item->SetVisible(false);
    ForgetRow(item);
}

void TfrmRemindDlg::ForgetRecord(const TRmRecordStruct* record) {
    if (FClosing) return;
    if (TOrbLBoxItem* row = RowOf(record)) ForgetRow(row);
}

void TfrmRemindDlg::ForgetRow(TOrbLBoxItem* row) {
    if (FDismissHover == row) FDismissHover = nullptr;
    lbReminds->DeleteItem(row);
    if (lbReminds->Count() == 0) Close();
}

TOrbLBoxItem* TfrmRemindDlg::DismissRowAt(TPoint p) const {
    for (int i = 0; i < lbReminds->Count(); ++i) {
        TOrbLBoxItem* row = lbReminds->GetItem(i);
        if (row->Visible() && row->ItemRect != NoItemRect && DismissHitRect(*row).Contains(p)) return row;
    }
    return nullptr;
}

void TfrmRemindDlg::TrackDismissHover(TPoint p) {
    TOrbLBoxItem* over = DismissRowAt(p);
    if (over == FDismissHover) return;
    TOrbLBoxItem* old = FDismissHover;
    FDismissHover = over;
    if (old) lbReminds->InvalidateRect(old->ItemRect);
    if (over) lbReminds->InvalidateRect(over->ItemRect);
}

// ---- postponing ----

// Every record is postponed even when writing one fails; the first failure
// is raised once the window has closed.
void TfrmRemindDlg::Postpone(int index) {
    if (index < 0 || index >= int(std::size(AlertDelays)) || FClosing) return;
    const TDateTime due = Now() + AlertDelays[index].Minutes / MinutesPerDay;
    std::vector<TRmRecordStruct*> listed;
    for (int i = 0; i < lbReminds->Count(); ++i) listed.push_back(RecordOf(lbReminds->GetItem(i)));
    std::exception_ptr failure;
    for (TRmRecordStruct* record : listed) {
        record->NextAlert = record->Postponement = due;
        if (!ListWindows) continue;
        try {
            ListWindows->RefreshReminder(record);
            ListWindows->SyncListRow(record);
        } catch (...) {
            if (!failure) failure = std::current_exception();
        }
    }
    Close();
    if (failure) std::rethrow_exception(failure);
}
