#include "alert/alert_fixture.h"

#include <algorithm>

#include "i18n/lang_path.h"
#include "i18n/lang_text.h"
#include "skin/orb_list_box.h"

namespace alert_testing {

namespace {
// The frame colour of the unticked box in the check strip.
constexpr uint32_t BoxFrame = 0xA0A7B1;
}  // namespace

void AlertTest::SetUp() {
    LangFilePath.clear();
    ReloadLanguage();
    Host.SetDateTime(EncodeDateTime(2024, 5, 6, 9, 0, 0));
    Main = App.CreateForm<TForm>();
    Main->SetBounds(300, 200, 400, 300);
    Main->Show();
    Host.Settle();
    SetAlertListWindows(&List);
}

void AlertTest::TearDown() { SetAlertListWindows(nullptr); }

TRmRecordStruct* AlertTest::Reminder(const std::string& description, const std::string& voice) {
    auto record = std::make_unique<TRmRecordStruct>();
    record->Description = description;
    record->Voice = voice;
    record->Period = PeriodDaily;
    record->ScheduleText = "Daily 09:00";
    Records.push_back(std::move(record));
    return Records.back().get();
}

void AlertTest::Free(TRmRecordStruct* record) {
    auto it = std::find_if(Records.begin(), Records.end(), [record](auto& r) { return r.get() == record; });
    if (it != Records.end()) Records.erase(it);
}

std::string AlertTest::SoundFile(const std::string& name, int64_t ms) {
    const std::string path = Dir / name;
    testing_support::WriteFileBytes(path, std::string("RIFF\x24\0\0\0WAVEfmt ", 16) + std::string(28, '\0'));
    Host.SoundFiles.DurationMs[path] = ms;
    return path;
}

TfrmRemindDlg& AlertTest::Window() {
    if (!AlertWindow) throw std::logic_error("no alert window");
    return *AlertWindow;
}

TRect AlertTest::RowRect(int index) {
    TfrmRemindDlg& window = Window();
    Host.Settle();
    const TRect row = window.lbReminds->GetItem(index)->ItemRect;
    const TRect list = window.lbReminds->FormRect();
    return {list.Left + row.Left, list.Top + row.Top, list.Left + row.Right, list.Top + row.Bottom};
}

TRect AlertTest::BoxOnScreen(int index) {
    const TRect row = RowRect(index);
    const TBitmap32 shot = Host.Screenshot(Window());
    TRect box{row.Right, row.Bottom, row.Left, row.Top};
    for (int y = row.Top; y < row.Bottom; ++y)
        for (int x = row.Left; x < row.Right; ++x) {
            if (Rgb(shot.Pixel(x, y)) != BoxFrame) continue;
            box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1), std::max(box.Bottom, y + 1)};
        }
    return box.IsEmpty() ? TRect{} : box;
}

void AlertTest::ClickBox(int index) {
    const TRect box = BoxOnScreen(index);
    ASSERT_FALSE(box.IsEmpty());
    Host.Click(Window(), (box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2);
}

int Darkest(const TBitmap32& image, const TRect& rect) {
    int darkest = 255;
    for (int y = rect.Top; y < rect.Bottom; ++y)
        for (int x = rect.Left; x < rect.Right; ++x) {
            const TColor32 c = image.Pixel(x, y);
            darkest = std::min({darkest, int(RedOf(c)), int(GreenOf(c)), int(BlueOf(c))});
        }
    return darkest;
}

int DifferingPixels(const TBitmap32& a, const TBitmap32& b) {
    int n = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) n += a.Pixel(x, y) != b.Pixel(x, y);
    return n;
}

}  // namespace alert_testing
