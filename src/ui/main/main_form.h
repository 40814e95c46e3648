// TfrmORMMain, the main window: the reminders on two tabs (Unfinished and
// Completed) in one owner-drawn list with per-row hover buttons, and the
// editor page that slides in over the list. It owns the reminder store for
// the whole run and runs the five-second due check; the due check, the
// alert window and the editor keep the list in step through the
// TReminderWindows operations it implements.
//
// Files: main_form.cpp (construction, layout, creation, closing),
// main_list.cpp (tabs, rows, hover buttons), main_list_paint.cpp (row and
// empty-tab drawing), main_slide.cpp (the page slide), main_editor.cpp
// (the editor page), main_editor_layout.cpp (its controls), main_tray.cpp
// (the tray icon and its menu), main_language.cpp (the language submenu),
// main_backup.cpp (backup and restore).
#pragma once

#include <array>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "i18n/forms/base_form.h"
#include "online/ad_item.h"
#include "schedule/due_check.h"
#include "schedule/voice_prompt.h"
#include "skin/orb_message_box.h"
#include "store/remind_file.h"

class TDateTimePicker;
class TOlvoADReader;
class TOrbButton;
class TOrbCboxItem;
class TOrbCheckBox;
class TOrbCombobox;
class TOrbEdit;
class TOrbImage;
class TOrbImageStorage;
class TOrbLabel;
class TOrbLBoxItem;
class TOrbListBox;
class TOrbMessageBox;
class TOrbMenuItem;
class TOrbPanel;
class TOrbPopupMenu;
class TOrbRichEdit;
class TOrbScrollBarRes;
class TTimer;
class TTrayIcon;
struct TReminderInput;

// The tab a record belongs to, and the tab shown (txCaption's tag).
enum class TReminderTab { Unfinished = 0, Completed = 1 };

// Answers of the main window's message box (its button sets BtnSet... and
// icons MsgIcon... are the message box's own, from skin/orb_message_box.h).
constexpr int MsgResultOk = 1;
constexpr int MsgResultYes = 6;
constexpr int MsgResultNo = 7;

// ---- main_tray.cpp / main_language.cpp ----
// The pages of the tray menu's links, below the configured server (the
// home page is the server's base itself).
inline constexpr const char* HelpPagePath = "help/";
inline constexpr const char* ForumPagePath = "forum/";
inline constexpr const char* ContactPagePath = "help.html";
inline constexpr const char* TranslationPagePath = "language.html";

class TfrmORMMain : public TfrmBase, public TReminderWindows {
public:
    // Takes the store for the whole run.
    TfrmORMMain(TComponent* owner, std::unique_ptr<TRemindFile> store);
    ~TfrmORMMain() override;

    std::string ClassName() const override { return "TfrmORMMain"; }
    // The base pass, then the window's own texts: combo box entries, check
    // boxes, hints, the version label.
    void ApplyLanguage() override;

    TRemindFile& Store() const { return *FStore; }
    TDueCheck& DueCheck() const { return *FDueCheck; }
    // The due check's list of this tick (references only).
    std::vector<TRmRecordStruct*>& DueList() const { return FDueCheck->DueList; }
    // Any record with EndTime 0 or a pending NextAlert.
    bool HasActiveReminders() const;

    // ---- the due check's hand-offs (TReminderWindows) ----
    void ShowAlerts(const std::vector<TRmRecordStruct*>& due) override;
    void ShowMissed(const std::vector<TRmRecordStruct*>& missed) override;
    // The store's UpdateRecord, then the record's ScheduleText anew.
    void RefreshReminder(TRmRecordStruct* record) override;
    // Adds or removes the record's row on the tab shown (the four-row table).
    void SyncListRow(TRmRecordStruct* record) override;
    void RepaintList() override;

    // ---- the list (main_list.cpp) ----
    // The click handler of both tab buttons.
    void SelectTab(TOrbButton* button);
    void btnUnfinish1Click(TComponent* Sender);
    TReminderTab CurrentTab() const;
    void FillList(TReminderTab tab);
    TOrbLBoxItem* FindListRow(const TRmRecordStruct* record) const;
    // The first visible row whose rectangle holds the point (list coordinates).
    TOrbLBoxItem* RowAt(TPoint p) const;
    void ToggleFinished(TOrbLBoxItem* row);
    void DeleteReminder(TOrbLBoxItem* row);
    static TRmRecordStruct* RecordOf(const TOrbLBoxItem* row);

    // ---- the pages (main_slide.cpp) ----
    // Starts the slide between the list page and the editor page; input is
    // handled while it runs (15 steps of 30 pixels, at least 5 ms apart).
    void SlidePages();
    bool Sliding() const { return FSlideStep != 0; }
    // The editor page is in front (or sliding in).
    bool EditorShowing() const;

    // ---- the editor (main_editor.cpp) ----
    void OpenEditor(TOrbLBoxItem* row);
    void ShowPeriodPanel(int period);
    void cbPeriodItemClick(TComponent* Sender, TOrbCboxItem* AItem);
    bool SaveEditor();
    void btnDoneClick(TComponent* Sender);
    void btnBackClick(TComponent* Sender);
    TOrbLBoxItem* EditedRow() const { return FEditedRow; }

    // ---- the advertisement tile imgad (main_ad_tile.cpp) ----
    // The reader's item handler: the item becomes the tile's content. An
    // item whose picture does not decode is not shown.
    void AdItemReady(const TagOlvoAdInfo& item);
    void imgadAfterDrawPaint(TComponent* Sender, TBitmap32& ACanvas);
    void imgadMouseEnter(TComponent* Sender);
    void imgadMouseLeave(TComponent* Sender);
    void imgadclick(TComponent* Sender);
    const TAdInfo& AdInfo() const { return FAdInfo; }

    // ---- the tray, its menu and the backup menu (main_tray.cpp,
    // main_language.cpp, main_backup.cpp) ----
    // Before the creation runs: a start at logon creates the window without
    // showing it and waits for a tray (or ends when nothing is active).
    void SetLogonStart(bool value) { FLogonStart = value; }
    bool LogonStart() const { return FLogonStart; }
    // The folder the language submenu lists (the program's own unless set).
    void SetLanguageFolder(const std::string& folder) { FLanguageFolder = folder; }
    // Both menus anew with the current language's texts and check marks.
    void BuildMenus();
    void TrayMenuClick(TComponent* Sender);
    void LanguageMenuClick(TComponent* Sender);
    // Asks first while anything is active; then the window closes and the
    // program ends.
    void ExitProgram();
    void TrayIcon1DblClick(TComponent* Sender);
    void TrayIcon1MouseDown(TMouseButton button, TPoint screenPoint);
    void ppmTrayIconMenuClose(TComponent* Sender);
    void tmr1Timer(TComponent* Sender);
    // Every key-down of the program's windows: the tray menu's shortcuts.
    void AppMessageHook(int key, TShiftState shift);
    void lbl1click(TComponent* Sender);
    void BackupMenuClick(TComponent* Sender);
    TTrayIcon* TrayIcon1 = nullptr;
    TOrbPopupMenu* ppmTrayIcon = nullptr;
    TOrbPopupMenu* fxpmn1 = nullptr;

    // The window's message box with the title "Confirm" in the language;
    // answers MsgResult... (0 when no box could be shown).
    int ShowMsg(const std::string& text, int buttons, int icon);

    // ---- components (names are part of the language-file contract) ----
    TOrbButton* btnUnfinish = nullptr;
    TOrbButton* btnCompleted = nullptr;
    TOrbPanel* pnlList = nullptr;
    TOrbPanel* pnlListTitle = nullptr;
    TOrbLabel* txCaption = nullptr;
    TOrbButton* btnNew = nullptr;
    TOrbListBox* lbData = nullptr;
    TOrbScrollBarRes* ScrollRes = nullptr;
    TOrbPanel* pnlBtn = nullptr;
    TOrbButton* btnDetails = nullptr;
    TOrbButton* btnDelete = nullptr;
    TOrbImageStorage* imgStorage = nullptr;
    TOrbLabel* lbl1 = nullptr;
    TOrbLabel* lbl2 = nullptr;
    TOrbLabel* lbl3 = nullptr;
    TOrbButton* btn1 = nullptr;
    TOrbButton* btn2 = nullptr;
    TOrbButton* btn3 = nullptr;
    TOrbButton* btn4 = nullptr;
    TOrbImage* img1 = nullptr;
    TOrbImage* imgad = nullptr;
    TTimer* Timer1 = nullptr;
    TTimer* tmr1 = nullptr;
    TOrbMessageBox* OrbMessageBox1 = nullptr;

    // The editor page.
    TOrbPanel* pnlDetails = nullptr;
    TOrbPanel* pnlDetailsTitle = nullptr;
    TOrbButton* btnBack = nullptr;
    TOrbButton* btnDone = nullptr;
    TOrbLabel* lblName = nullptr;
    TOrbRichEdit* edName = nullptr;
    TOrbLabel* lblRepeat = nullptr;
    TOrbCombobox* cbPeriod = nullptr;
    TOrbLabel* lblTime = nullptr;
    TDateTimePicker* edTime = nullptr;
    TOrbPanel* pnlDate = nullptr;
    TOrbLabel* lblDate = nullptr;
    TDateTimePicker* edDate = nullptr;
    TOrbPanel* pnlWeek = nullptr;
    TOrbPanel* pnlMonth = nullptr;
    TOrbLabel* lblVoice = nullptr;
    TOrbCombobox* cbbVoice = nullptr;
    TOrbPanel* pnlVoice = nullptr;
    TOrbEdit* edtVoice = nullptr;
    TOrbButton* btnSelFile = nullptr;
    TOrbButton* btnTest = nullptr;
    // 1 = Sunday .. 7 = Saturday (index 0 unused).
    std::array<TOrbCheckBox*, 8> WeekBoxes{};
    // 1 .. 31 (index 0 unused).
    std::array<TOrbCheckBox*, 32> DayBoxes{};

    // The editor's test sound (its SoundDevice is 0 when none is held).
    TTestVoice& TestVoice() { return *FTestVoice; }

protected:
    void FormCreate() override;
    void HandleMessage(const TMessage& msg) override;

private:
    // ---- main_form.cpp ----
    void BuildFrame();
    void BuildTabs();
    void BuildListPage();
    void BuildBottomBar();
    void BuildStorage();
    void OrbForm1OrbFormCloseQuery(TComponent* Sender, bool& CanClose);
    void timerTimer();
    // A failure nothing else handles (a data file that cannot be written):
    // the error box, and the program goes on.
    void ReportError(const std::exception& error);

    // ---- main_list.cpp / main_list_paint.cpp ----
    void lbDataAfterItemDraw(TBitmap32& canvas, int index, TOrbLBoxItem* item);
    void lbDataDrawBackGround(TBitmap32& canvas, const TRect& rect);
    void lbDataMouseMove(TPoint p);
    void lbDataMouseLeave();
    void btnDetailsClick(TComponent* Sender);
    void btnDeleteClick(TComponent* Sender);
    void HideRowButtons();
    void SetRowButtonPictures(int detailsPicture, int deletePicture);
    TOrbLBoxItem* AddRow(TRmRecordStruct* record);
    void DeleteRow(TOrbLBoxItem* row);
    // The record of the hover panel's row, or null.
    TOrbLBoxItem* PanelRow() const;

    // ---- main_slide.cpp ----
    void BuildSlideShot();
    void SlideStep();
    void FinishSlide();

    // ---- main_editor.cpp / main_editor_layout.cpp ----
    void BuildEditorPage();
    void BuildWeekPanel();
    void BuildMonthPanel();
    void BuildVoiceRow();
    void CaptionWeekBoxes();
    void FillEditorCombos();
    // The editor's share of ApplyLanguage: period and voice entries (the
    // period goes back to Once), the weekday captions.
    void ApplyEditorLanguage();
    void cbbVoiceChosen(TComponent* Sender, TOrbCboxItem* AItem);
    void btnSelFileClick(TComponent* Sender);
    void btnTestClick(TComponent* Sender);
    void ShowTestPicture(TTestButtonPicture picture);
    // What the editor holds now, as the save checks read it.
    TReminderInput EditorInput() const;
    void FillEditorFrom(const TRmRecordStruct& record);
    void ClearEditorForNew();
    // Voice choice v (0 Mute, 1 Default, 2 Custom) with its file row.
    void ShowVoiceChoice(int choice);
    void WriteEditorFields(TRmRecordStruct& record) const;
    void SaveExistingReminder(TRmRecordStruct* record);
    bool SaveNewReminder();

    std::unique_ptr<TRemindFile> FStore;
    std::unique_ptr<TDueCheck> FDueCheck;
    std::unique_ptr<TSoundDevice> FSoundDevice;
    std::unique_ptr<TTestVoice> FTestVoice;
    TOrbLBoxItem* FEditedRow = nullptr;
    // The reminder being edited (null for a new one): kept apart from its
    // row, which the due check or a tab rebuild may delete while the editor
    // is open; the store still owns the record then.
    TRmRecordStruct* FEditedRecord = nullptr;

    // The slide: +30 towards the editor, -30 back, 0 when still; the
    // distance covered; the captured list page; the step timer.
    int FSlideStep = 0;
    int FSlideDistance = 0;
    TTimer* FSlideTimer = nullptr;
    bool FEditorInFront = false;
    // Shows the captured list page while it slides (main_slide.cpp).
    TControl* FSlideShot = nullptr;

    // ---- main_ad_tile.cpp ----
    // Wires the tile's events and, when a server is configured, starts the
    // feed reader; without one the tile stays empty.
    void StartAdReader();
    TAdInfo FAdInfo;
    // FAdInfo's picture, decoded once (empty: none).
    TBitmap32 FAdPicture;
    bool FAdHover = false;
    // Alive with the window; its threads report to it only while it exists.
    std::shared_ptr<TOlvoADReader> FAdReader;

    // ---- main_about_links.cpp ----
    // The link buttons' tags and clicks, and the click of lbl3.
    void WireAboutLinks();
    // btn1..btn4 by their tag: 1 the share mail, 2 and 3 our social pages,
    // 4 the home page. Without a server nothing opens.
    void imgmailclick(TComponent* Sender);
    // "Check for Updates": the check the user asked for.
    void lbl3click(TComponent* Sender);
    // Starts an update check unless one runs or its answer still waits to
    // be shown. A silent check without a server has nothing to ask and
    // nothing to tell: it starts nothing.
    void StartUpdate(bool silent);
    // Shows the answer's box once the worker's hand-over has returned; on
    // Yes opens the download page.
    void ShowUpdateAnswer(bool newer, const std::string& getUrl);
    // The configured server ("" when none).
    std::string LinkServerBase() const;
    // The About window over this one (the tray menu's "About").
    void ShowAbout();
    // From the worker's answer until its box is closed.
    bool FUpdateAnswerPending = false;

    // ---- main_news.cpp ----
    // At creation: the news check against the configured server when the
    // store's CheckNews is set; with no server nothing is asked.
    void StartNewsAtCreation();
    // At destruction: the message number last shown becomes the store's
    // NewsId, so a later run does not show it again.
    void KeepNewsId();
    // The number of the last news page that became visible (0: none).
    int32_t FNewsShownId = 0;

    // ---- main_tray.cpp / main_language.cpp / main_backup.cpp ----
    // The icon, both menus and their openers, the wait for a tray.
    void BuildTray();
    // At creation: the icon and the news check, or the wait for a tray
    // after a start at logon.
    void StartTrayAtCreation();
    void InstallAppMessageHook();
    std::string ServerPage(const char* path) const;
    std::string MenuLanguageFolder() const;
    void AddLanguageItems(TOrbMenuItem& parent);
    std::unique_ptr<TTrayIcon> FTrayIcon;
    bool FLogonStart = false;
    // Exit was chosen: the close ends the program even while reminders wait.
    bool FExiting = false;
    std::string FLanguageFolder;
};

// The main window while it exists (the alert window's postponement and the
// start-up code reach it through this), else null.
extern TfrmORMMain* MainWindow;
