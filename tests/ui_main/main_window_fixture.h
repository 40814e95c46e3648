// Shared set-up for the main window's tests: the offscreen host and the
// application, a temporary data file with reminders made through the store,
// fixed regional formats and time zone, the built-in English texts, a clock
// on the virtual time of the host, and the main window itself. Helpers give
// the places to point at and answer the window's message boxes.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "i18n/lang_path.h"
#include "i18n/lang_text.h"
#include "platform/datetime.h"
#include "platform/gui/application.h"
#include "platform/locale_format.h"
#include "platform/offscreen/offscreen_host.h"
#include "platform/shell_open.h"
#include "schedule/remind_dlg.h"
#include "skin/orb_list_box.h"
#include "skin/orb_message_box.h"
#include "store/remind_file.h"
#include "support/test_support.h"
#include "ui/main/main_form.h"

// Notes every address the program hands to the desktop instead of opening
// it, while it lives; Opened() gives them in order.
class TOpenedAddresses {
public:
    TOpenedAddresses()
        : FPrevious(SetShellOpenHook([this](const std::string& target) {
              std::lock_guard lock(FMutex);
              FOpened.push_back(target);
              return true;
          })) {}
    ~TOpenedAddresses() { SetShellOpenHook(std::move(FPrevious)); }
    std::vector<std::string> operator()() {
        std::lock_guard lock(FMutex);
        return FOpened;
    }

private:
    std::mutex FMutex;
    std::vector<std::string> FOpened;
    TShellOpenHook FPrevious;
};

inline bool SamePixels(const TBitmap32& a, const TBitmap32& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
    return true;
}

class TMainWindowFixture : public ::testing::Test {
protected:
    // Monday 2 March 2026, 10:00:00.
    static TDateTime StartMoment() { return EncodeDateTime(2026, 3, 2, 10, 0, 0); }

    void SetUp() override {
        Zone.emplace("TZ", "UTC");
        tzset();
        TFormatSettings iso;
        iso.ShortDateFormat = "yyyy-MM-dd";
        iso.LongTimeFormat = "HH:mm:ss";
        iso.ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
        SetFormatSettings(iso);
        LangFilePath = Dir / "Languages/None.ini";  // no file: the built-in English texts
        ReloadLanguage();
        Host.SetDateTime(StartMoment());
    }

    void TearDown() override {
        if (FAnsweringBoxes) Host.OnLoopStart = nullptr;
        // The alert window's rows refer to records the main window's store
        // owns: it goes first.
        if (AlertWindow) App.FreeForm(AlertWindow);
        if (Window && App.IsForm(Window)) App.FreeForm(Window);
        Window = nullptr;
        PendingStore.reset();
        ResetFormatSettings();
        LangFilePath.clear();
        ReloadLanguage();
        Zone.reset();
        tzset();
    }

    std::string DataFile() const { return Dir / DataFileName; }

    // The store: the window's once it is open, before that the one the
    // window will take.
    TRemindFile& Store() {
        if (Window) return Window->Store();
        if (!PendingStore) PendingStore = std::make_unique<TRemindFile>(DataFile());
        return *PendingStore;
    }

    // A reminder as the editor stores one: created a little before now,
    // alerted last now (so the start-up pass reports nothing), written to
    // the data file. `flags` are the RepeatData bytes set to 1 (weekdays
    // from 0 = Sunday, month days from 0 = the 1st).
    TRmRecordStruct* AddReminder(const std::string& description, uint8_t period, TDateTime wake,
                                 std::initializer_list<int> flags = {}, TDateTime endTime = 0) {
        auto record = std::make_unique<TRmRecordStruct>();
        record->Description = description;
        record->CreateDateTime = Now() - OneHour + double(++FCreated) * OneSecond;
        record->LastTime = Now();
        record->Period = period;
        record->WakeTime = TimeOf(wake);
        if (period == PeriodOnce || period == PeriodDaily || period == PeriodYearly)
            record->SetWakeDate(DateOf(wake));
        for (int i : flags) record->RepeatData[size_t(i)] = 1;
        record->EndTime = endTime;
        return Store().AddRecord(std::move(record));
    }

    // Creates the main window on the store, shows it and lets it settle.
    TfrmORMMain* OpenWindow() {
        Store();
        Window = App.CreateForm<TfrmORMMain>(std::move(PendingStore));
        Window->Show();
        Host.Settle();
        return Window;
    }

    // The data file as another program would read it now.
    std::unique_ptr<TRemindFile> ReadBack() const {
        return std::make_unique<TRemindFile>(DataFile(), TConfigOnClose::Keep, TIniAccess::ReadOnly);
    }
    // The reminder of that identity in the data file, or null.
    static const TRmRecordStruct* InFile(const TRemindFile& file, const TRmRecordStruct& record) {
        return file.FindBySection(TRemindFile::SectionOf(record));
    }

    // Places in the window's client coordinates.
    static TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
    static TPoint CentreOf(const TControl& control) { return Centre(control.FormRect()); }
    // A point of the row (list coordinates) in window coordinates.
    TPoint InList(TPoint p) const {
        const TRect list = Window->lbData->FormRect();
        return {list.Left + p.X, list.Top + p.Y};
    }
    TPoint RowCentre(const TOrbLBoxItem* row) const { return InList(Centre(row->ItemRect)); }
    TOrbLBoxItem* Row(int index) const { return Window->lbData->GetItem(index); }
    int RowCount() const { return Window->lbData->Count(); }

    void MoveTo(TPoint p) { Host.MouseMove(*Window, p.X, p.Y); }
    void ClickAt(TPoint p) {
        Host.MouseMove(*Window, p.X, p.Y);
        Host.Click(*Window, p.X, p.Y);
    }
    void ClickOn(const TControl& control) { ClickAt(CentreOf(control)); }
    // Hovers the row so that its buttons show, then clicks one of them.
    void ClickRowButton(const TOrbLBoxItem* row, const TControl& button) {
        MoveTo(RowCentre(row));
        ClickOn(button);
    }

    // Answers the next message box the window shows by clicking one of its
    // buttons (Yes, No or OK); records what it asked.
    void AnswerNextBox(int result) {
        Host.QueueAction([this, result] {
            TOrbMessageBox* box = Window->OrbMessageBox1;
            ASSERT_TRUE(box->Showing());
            AskedButtonSets.push_back(box->ButtonSet());
            const TMsgLayout& layout = box->Layout();
            const TRect& button = result == mrYes ? layout.Button2 : layout.Button1;
            TForm& form = *box->MessageForm();
            const TPoint p = Centre(button);
            Host.MouseMove(form, p.X, p.Y);
            Host.Click(form, p.X, p.Y);
        });
    }
    // The button sets of the boxes answered so far.
    std::vector<int> AskedButtonSets;

    // From here on every message box of the window is noted (as composed)
    // and answered with NextAnswer's button, after OnBox runs; an unexpected
    // box shows as a count, not a hang.
    struct TSeenBox {
        TBitmap32 Picture;
        int Buttons = 0;
    };
    void AnswerEveryBox() {
        FAnsweringBoxes = true;
        Host.OnLoopStart = [this](TForm* modal) {
            TOrbMessageBox* box = Window ? Window->OrbMessageBox1 : nullptr;
            if (!modal || !box || !box->Showing()) return;
            Boxes.push_back({box->Picture(), box->ButtonSet()});
            if (OnBox) OnBox();
            Host.QueueAction([this, box] {
                if (!box->Showing()) return;
                const TMsgLayout& layout = box->Layout();
                const TPoint p = Centre(NextAnswer == mrYes ? layout.Button2 : layout.Button1);
                Host.MouseMove(*box->MessageForm(), p.X, p.Y);
                Host.Click(*box->MessageForm(), p.X, p.Y);
            });
        };
    }
    std::vector<int> BoxButtonSets() const {
        std::vector<int> sets;
        for (const TSeenBox& box : Boxes) sets.push_back(box.Buttons);
        return sets;
    }
    bool BoxAnswered(size_t count = 1) const { return Boxes.size() >= count && !Window->OrbMessageBox1->Showing(); }
    std::vector<TSeenBox> Boxes;
    int NextAnswer = mrOk;
    std::function<void()> OnBox;

    // Runs the user-interface side until `done` (false at the deadline,
    // which only turns a hang into a failure).
    template <class Pred>
    bool PumpUntil(Pred done, std::chrono::milliseconds limit = std::chrono::seconds(15)) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            {
                std::unique_lock lock(App.QueueMutex());
                App.QueueSignal().wait_for(lock, std::chrono::milliseconds(20));
            }
            App.ProcessMessages();
            Host.Settle();
        }
        Host.Settle();
        return true;
    }

    // Runs the page slide to its end (15 steps of 5 ms).
    void FinishSlide() { Host.Advance(5 * 20); }

    testing_support::TTempDir Dir;
    std::optional<testing_support::TEnvGuard> Zone;
    TOffscreenHost Host;
    TApplication App{Host};
    std::unique_ptr<TRemindFile> PendingStore;
    TfrmORMMain* Window = nullptr;

private:
    int FCreated = 0;
    bool FAnsweringBoxes = false;
};
