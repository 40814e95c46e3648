// TDateTimePicker over the offscreen host's picker models: the value keeps
// the part its kind holds before and after the widget exists, only the
// user's picks fire OnChange, and the widget follows the control when it
// or a parent is shown, hidden or moved.
#include "platform/gui/date_time_picker.h"

#include "gui_fixture.h"

namespace {
const TDateTime Afternoon = EncodeDateTime(2026, 3, 1, 15, 30, 20);
}

TEST_F(GuiTest, PickerValueKeepsTheKindsPartBeforeAndAfterTheWidgetExists) {
    TForm* form = App.CreateForm<TForm>();
    form->SetBounds(100, 50, 300, 200);
    auto* date = form->Add<TDateTimePicker>(TDateTimeKind::Date);
    auto* time = form->Add<TDateTimePicker>(TDateTimeKind::Time);
    date->SetDateTime(Afternoon);
    time->SetDateTime(Afternoon);
    EXPECT_EQ(date->DateTime(), EncodeDate(2026, 3, 1));
    EXPECT_NEAR(time->DateTime(), EncodeTime(15, 30, 20), 1e-9);
    EXPECT_EQ(Host.DatePickers.Items.size(), 0u) << "no widget before the form loads";

    form->Show();
    Host.Settle();
    ASSERT_EQ(Host.DatePickers.Items.size(), 1u);
    ASSERT_EQ(Host.TimePickers.Items.size(), 1u);
    EXPECT_EQ(Host.DatePickers.Last()->Date(), EncodeDate(2026, 3, 1)) << "the value set early is handed over";
    EXPECT_NEAR(Host.TimePickers.Last()->Time(), EncodeTime(15, 30, 20), 1e-9);

    time->SetDateTime(EncodeDateTime(2030, 1, 2, 7, 5, 0));
    EXPECT_NEAR(Host.TimePickers.Last()->Time(), EncodeTime(7, 5, 0), 1e-9);
    EXPECT_NEAR(time->DateTime(), EncodeTime(7, 5, 0), 1e-9) << "the date part never reaches a time picker";
    date->SetDateTime(EncodeDateTime(2030, 1, 2, 23, 59, 59));
    EXPECT_EQ(date->DateTime(), EncodeDate(2030, 1, 2));
}

TEST_F(GuiTest, PickerFiresOnChangeForTheUsersPickOnly) {
    TForm* form = MakeForm(300, 200);
    auto* date = form->Add<TDateTimePicker>(TDateTimeKind::Date);
    auto* time = form->Add<TDateTimePicker>(TDateTimeKind::Time);
    Host.Settle();
    std::vector<TComponent*> senders;
    date->OnChange = [&](TComponent* sender) { senders.push_back(sender); };
    time->OnChange = [&](TComponent* sender) { senders.push_back(sender); };
    date->SetDateTime(Afternoon);
    time->SetDateTime(Afternoon);
    EXPECT_TRUE(senders.empty()) << "setting a value in code is no pick";

    Host.DatePickers.Last()->UserPick(EncodeDate(2026, 4, 9));
    Host.TimePickers.Last()->UserPick(EncodeTime(6, 45, 0));
    EXPECT_EQ(senders, (std::vector<TComponent*>{date, time}));
    EXPECT_EQ(date->DateTime(), EncodeDate(2026, 4, 9));
    EXPECT_NEAR(time->DateTime(), EncodeTime(6, 45, 0), 1e-9);
}

TEST_F(GuiTest, PickerWidgetFollowsShowHideAndMovesOfItsParents) {
    TForm* form = MakeForm(400, 300);
    auto* page = form->Add<TWinControl>();
    page->SetBounds(200, 30, 180, 200);
    auto* inner = page->Add<TWinControl>();
    inner->SetBounds(10, 40, 160, 60);
    auto* picker = inner->Add<TDateTimePicker>(TDateTimeKind::Time);
    picker->SetBounds(5, 8, 108, 21);
    Host.Settle();
    TOffscreenTimePicker* model = Host.TimePickers.Last();
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->Bounds, Bounds(215, 78, 108, 21)) << "form coordinates through both parents";
    EXPECT_TRUE(model->IsVisible);

    page->SetVisible(false);
    EXPECT_FALSE(model->IsVisible) << "a hidden page hides the widget at once";
    page->SetLeft(150);
    EXPECT_EQ(model->Bounds.Left, 165) << "moved while hidden";
    EXPECT_FALSE(model->IsVisible);
    page->SetVisible(true);
    EXPECT_TRUE(model->IsVisible);

    // A page sliding in: every step moves the widget along.
    for (int left = 150; left >= 0; left -= 30) {
        page->SetLeft(left);
        EXPECT_EQ(model->Bounds.Left, left + 15);
    }
    inner->SetVisible(false);
    EXPECT_FALSE(model->IsVisible);
    inner->SetVisible(true);
    picker->SetVisible(false);
    EXPECT_FALSE(model->IsVisible);
    picker->SetVisible(true);
    EXPECT_TRUE(model->IsVisible);
    picker->SetBounds(5, 8, 150, 25);
    EXPECT_EQ(model->Bounds.Width(), 150);
    EXPECT_EQ(model->Bounds.Height(), 25);
}

TEST_F(GuiTest, PickerInAHiddenPanelStartsHiddenAndTakesFontAndEnabled) {
    TForm* form = App.CreateForm<TForm>();
    form->SetBounds(100, 50, 300, 200);
    auto* panel = form->Add<TWinControl>();
    panel->SetBounds(0, 0, 300, 100);
    panel->SetVisible(false);
    auto* picker = panel->Add<TDateTimePicker>(TDateTimeKind::Date);
    TFont font;
    font.Name = "DejaVu Sans";
    font.Size = 10;
    picker->SetFont(font);
    form->Show();
    Host.Settle();
    TOffscreenDatePicker* model = Host.DatePickers.Last();
    ASSERT_NE(model, nullptr);
    EXPECT_FALSE(model->IsVisible) << "the form shows, the panel does not";
    panel->SetVisible(true);
    Host.Settle();
    EXPECT_TRUE(model->IsVisible);
    EXPECT_EQ(model->Font.Name, "DejaVu Sans");
    EXPECT_EQ(model->Font.Size, 10);

    picker->SetEnabled(false);
    EXPECT_FALSE(model->IsEnabled);
    picker->SetEnabled(true);
    EXPECT_TRUE(model->IsEnabled);
    // A disabled panel reaches the widget with the next placement.
    panel->SetEnabled(false);
    panel->SetLeft(2);
    EXPECT_FALSE(model->IsEnabled);
    panel->SetEnabled(true);
    picker->Invalidate();
    Host.Settle();
    EXPECT_TRUE(model->IsEnabled);
}

TEST_F(GuiTest, PickerChangingKindReplacesTheWidgetAndFreesItWithTheControl) {
    TForm* form = MakeForm(300, 200);
    auto* picker = form->Add<TDateTimePicker>(TDateTimeKind::Date);
    picker->SetBounds(10, 10, 149, 21);
    picker->SetDateTime(Afternoon);
    Host.Settle();
    ASSERT_EQ(Host.DatePickers.Items.size(), 1u);
    picker->SetKind(TDateTimeKind::Time);
    EXPECT_EQ(Host.DatePickers.Items.size(), 0u);
    ASSERT_EQ(Host.TimePickers.Items.size(), 1u);
    EXPECT_EQ(Host.TimePickers.Last()->Bounds, Bounds(10, 10, 149, 21));
    EXPECT_EQ(picker->DateTime(), 0.0) << "a date holds no time of day";
    form->DestroyControl(picker);
    EXPECT_EQ(Host.TimePickers.Items.size(), 0u);
}
