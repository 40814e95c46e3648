// TfrmRemindDlg, the alert window: the small stay-on-top window that slides
// up from the bottom-right corner of the work area when reminders fall due.
// It lists the due reminders (description, and the repeat rule in grey
// below it, a dismiss box at the right end of each row), plays the voice
// prompt of a newly listed one, and offers "OK I got it" and a "Postpone"
// drop-down. The same window, without the postpone choice and with another
// caption, reports reminders missed while the program was not running.
//
// There is at most one alert window (AlertWindow); while it is open further
// due reminders join it. Rows hold references to records the store owns: a
// reminder deleted while listed must leave through ForgetAlertRecord first.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "i18n/forms/base_form.h"
#include "schedule/voice_prompt.h"
#include "store/rm_record.h"

class TOrbButton;
class TOrbCombobox;
class TOrbCboxItem;
class TOrbImage;
class TOrbImageStorage;
class TOrbListBox;
class TOrbLBoxItem;
class TOrbPanel;
class TOrbScrollBarRes;
class TReminderWindows;
class TTimer;

// cbDelay's entries in their order: the number shown, the unit's language
// key and built-in text, and the postponement they choose.
struct TAlertDelay {
    const char* Number;
    const char* UnitKey;
    const char* UnitFallback;
    int Minutes;
};
inline constexpr TAlertDelay AlertDelays[] = {
    {"4", "constHHs", "", 4 * 60}, {"1", "constHH", "H", 60}, {"30", "constMMs", "", 30},
    {"10", "constMMs", "", 10},    {"5", "constMMs", "", 5},
};

class TfrmRemindDlg : public TfrmBase {
public:
    explicit TfrmRemindDlg(TComponent* owner);
    ~TfrmRemindDlg() override;

    std::string ClassName() const override { return "TfrmRemindDlg"; }

    // Lists the records not listed yet (in order) and shows the window; the
    // first newly listed record with a voice plays when no sound is held.
    void ShowAlerts(const std::vector<TRmRecordStruct*>& records);
    // ShowAlerts, then the postpone choice hidden and the caption of
    // "TfrmRemindDlg.Caption_1".
    void ShowMissed(const std::vector<TRmRecordStruct*>& records);
    // Removes the record's row (a reminder being deleted); closes the window
    // when no row is left.
    void ForgetRecord(const TRmRecordStruct* record);
    // The row of a record, or null.
    TOrbLBoxItem* RowOf(const TRmRecordStruct* record) const;

    // cbDelay's entry `index` (0 = 4 hours .. 4 = 5 minutes): every listed
    // reminder is due again that long after now; then the window closes.
    void Postpone(int index);

    void PlaceNearTaskbar();

    // The bottom of the work area (where the taskbar's top edge would be);
    // 0 when there is no work area to place against.
    int TaskbarTop = 0;
    int FrameIndex = 0;

    TOrbImage* imgClock = nullptr;
    TOrbImageStorage* imgClocks = nullptr;  // the three clock pictures
    TOrbListBox* lbReminds = nullptr;
    TOrbPanel* pnlBottom = nullptr;
    TOrbButton* btnComplete = nullptr;
    TOrbCombobox* cbDelay = nullptr;
    TTimer* Timer1 = nullptr;

    // The window's sound (SoundDevice is 0 when none is held).
    TAlertVoice& Voice() { return *FVoice; }

protected:
    void FormCreate() override;
    void HandleMessage(const TMessage& msg) override;
    // Keeps the bottom panel on the right and bottom edges.
    void Resized() override;

private:
    // ---- building (remind_dlg.cpp) ----
    void BuildControls();
    void SetUpFrame();
    void BuildList();
    void BuildBottomPanel();
    void FillDelayChoices();
    void AnchorBottomPanel();

    // ---- showing and closing (remind_dlg.cpp) ----
    void ShowSliding();
    void FormShow();
    void FormClose();
    void Timer1Timer();

    // ---- rows (remind_dlg_rows.cpp) ----
    void FitToRows();
    void lbRemindsItemClick(TOrbLBoxItem* item);
    TOrbLBoxItem* DismissRowAt(TPoint p) const;
    void TrackDismissHover(TPoint p);
    void ForgetRow(TOrbLBoxItem* row);

    // ---- row drawing (remind_dlg_paint.cpp) ----
    void lbRemindsAfterItemDraw(TBitmap32& canvas, TOrbLBoxItem* item);
    // Where a row's dismiss box is drawn, and the square around it that a
    // click hits (list coordinates); one geometry for both.
    TRect DismissBoxRect(const TOrbLBoxItem& item) const;
    TRect DismissHitRect(const TOrbLBoxItem& item) const;
    TColor RowCaptionColor(const TOrbLBoxItem& item) const;
    void DrawDismissBox(TBitmap32& canvas, const TOrbLBoxItem& item);

    std::unique_ptr<TSoundDevice> FSoundDevice;
    std::unique_ptr<TAlertVoice> FVoice;
    bool FClosing = false;

    TOrbScrollBarRes* FScrollRes = nullptr;
    // The dismiss box's pictures: plain, ticked, plain under the mouse,
    // ticked under the mouse.
    std::array<TBitmap32, 4> FBoxFrames;
    TOrbLBoxItem* FDismissHover = nullptr;  // the row whose box is under the mouse
    // Where the slide that shows the window ends.
    TRect FSlideTarget;
    bool FSlidePending = false;
};

// The one alert window, null when none exists. Closing the window releases
// it (after the close has completed) and empties this reference.
extern TfrmRemindDlg* AlertWindow;

// The list the alert window keeps in step: a postponement writes each
// listed record (RefreshReminder, which stores the postponement) and moves
// its row (SyncListRow). The main window sets it for its lifetime; null
// leaves the records unwritten.
void SetAlertListWindows(TReminderWindows* windows);

// The due check's hand-offs: create the window when none exists, then list.
void ShowAlerts(const std::vector<TRmRecordStruct*>& records);
void ShowMissed(const std::vector<TRmRecordStruct*>& records);
// A reminder is about to be freed: no alert row may keep pointing at it.
void ForgetAlertRecord(const TRmRecordStruct* record);
