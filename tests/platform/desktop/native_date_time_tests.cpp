// The GTK date and time pickers hold values set by code (without reporting
// them) and report what the user picks, types or steps.
#include <string>

#include "platform/desktop/native_widgets.h"
#include "platform/desktop/native_test_support.h"
#include "platform/locale_format.h"

using namespace native_test;

namespace {

class Pickers : public TNativeFixture {
protected:
    void SetUp() override {
        TFormatSettings settings;
        settings.ShortDateFormat = "dd.MM.yyyy";
        settings.LongTimeFormat = "HH:mm:ss";
        SetFormatSettings(settings);
        TNativeFixture::SetUp();
    }
    void TearDown() override {
        TNativeFixture::TearDown();
        ResetFormatSettings();
    }
    // The first child of the control's row is its entry.
    GtkWidget* Root() { return GTK_WIDGET(g_list_last(gtk_container_get_children(GTK_CONTAINER(Layer)))->data); }
    GtkEntry* Entry() { return GTK_ENTRY(gtk_container_get_children(GTK_CONTAINER(Root()))->data); }
    void UserTypes(const std::string& text) {
        gtk_entry_set_text(Entry(), text.c_str());
        g_signal_emit_by_name(Entry(), "activate");
    }
    // A key press delivered to the entry as GDK delivers it.
    void PressKey(GtkWidget* widget, guint keyval, guint state = 0) {
        GdkEvent* event = gdk_event_new(GDK_KEY_PRESS);
        event->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(widget)));
        event->key.keyval = keyval;
        event->key.state = state;
        event->key.time = GDK_CURRENT_TIME;
        gtk_widget_event(widget, event);
        gdk_event_free(event);
    }
    void PressKey(guint keyval) { PressKey(GTK_WIDGET(Entry()), keyval); }
    void CaretAt(int offset) { gtk_editable_set_position(GTK_EDITABLE(Entry()), offset); }
    std::string Shown() { return gtk_entry_get_text(Entry()); }
    int Changes = 0;
};

TEST_F(Pickers, DatePickerHoldsCodeValueAndReportsUserPicks) {
    auto picker = CreateDesktopDatePickerIn(Layer);
    picker->SetBounds({10, 10, 160, 40});
    picker->OnChange = [&](TNativeDatePicker*) { Changes++; };
    picker->SetDate(EncodeDateTime(2024, 2, 29, 13, 5, 0));
    EXPECT_EQ(picker->Date(), EncodeDate(2024, 2, 29));
    EXPECT_EQ(Shown(), "29.02.2024");
    EXPECT_EQ(Changes, 0);

    UserTypes("1.3.2025");
    EXPECT_EQ(picker->Date(), EncodeDate(2025, 3, 1));
    EXPECT_EQ(Shown(), "01.03.2025");
    EXPECT_EQ(Changes, 1);

    UserTypes("31.02.2025");  // no such day: the value stays
    EXPECT_EQ(picker->Date(), EncodeDate(2025, 3, 1));
    EXPECT_EQ(Shown(), "01.03.2025");
    EXPECT_EQ(Changes, 1);

    // The drop-down calendar opens on the value; a day picked there counts.
    GtkWidget* button = GTK_WIDGET(g_list_last(gtk_container_get_children(GTK_CONTAINER(Root())))->data);
    gtk_button_clicked(GTK_BUTTON(button));
    auto* calendar = GTK_CALENDAR(g_object_get_data(G_OBJECT(Root()), "olvo-calendar"));
    // Shown on the screen, not only mapped in GTK's eyes: input reaches it.
    ASSERT_TRUE(PumpUntil([&] {
        GdkWindow* window = gtk_widget_get_window(GTK_WIDGET(calendar));
        return window && gdk_window_is_viewable(window);
    }));
    guint year = 0, month = 0, day = 0;
    gtk_calendar_get_date(calendar, &year, &month, &day);
    EXPECT_EQ(year, 2025u);
    EXPECT_EQ(month, 2u);
    EXPECT_EQ(day, 1u);
    EXPECT_EQ(Changes, 1);
    gtk_calendar_select_day(calendar, 17);
    EXPECT_EQ(picker->Date(), EncodeDate(2025, 3, 17));
    EXPECT_EQ(Shown(), "17.03.2025");
    EXPECT_EQ(Changes, 2);

    // Browsing to the next month (Ctrl+Right) is not a pick.
    PressKey(GTK_WIDGET(calendar), GDK_KEY_Right, GDK_CONTROL_MASK);
    gtk_calendar_get_date(calendar, &year, &month, &day);
    EXPECT_EQ(month, 3u) << "the key did not reach the calendar";
    EXPECT_EQ(picker->Date(), EncodeDate(2025, 3, 17));
    EXPECT_EQ(Changes, 2);
}

TEST_F(Pickers, TimePickerStepsTheFieldUnderTheCaret) {
    auto picker = CreateDesktopTimePickerIn(Layer);
    picker->SetBounds({10, 10, 160, 40});
    picker->OnChange = [&](TNativeTimePicker*) { Changes++; };
    picker->SetTime(EncodeDateTime(2020, 1, 1, 10, 59, 30));
    EXPECT_EQ(picker->Time(), EncodeTime(10, 59, 30));
    EXPECT_EQ(Shown(), "10:59:30");
    EXPECT_EQ(Changes, 0);
    ASSERT_TRUE(PumpUntil([&] { return gtk_widget_get_realized(GTK_WIDGET(Entry())); }));

    CaretAt(4);  // in the minutes
    PressKey(GDK_KEY_Up);
    EXPECT_EQ(Shown(), "10:00:30");
    EXPECT_EQ(Changes, 1);
    CaretAt(1);  // in the hours
    PressKey(GDK_KEY_Down);
    EXPECT_EQ(picker->Time(), EncodeTime(9, 0, 30));
    EXPECT_EQ(Changes, 2);
    CaretAt(8);  // after the seconds
    PressKey(GDK_KEY_Down);
    EXPECT_EQ(Shown(), "09:00:29");

    UserTypes("7:05:09");
    EXPECT_EQ(picker->Time(), EncodeTime(7, 5, 9));
    EXPECT_EQ(Shown(), "07:05:09");
    EXPECT_EQ(Changes, 4);
}

TEST_F(Pickers, TimePickerTogglesTheDesignatorOnATwelveHourClock) {
    TFormatSettings settings = FormatSettings();
    settings.LongTimeFormat = "h:mm:ss tt";
    SetFormatSettings(settings);
    auto picker = CreateDesktopTimePickerIn(Layer);
    picker->SetTime(EncodeTime(9, 15, 0));
    EXPECT_EQ(Shown(), "9:15:00 AM");
    ASSERT_TRUE(PumpUntil([&] { return gtk_widget_get_realized(GTK_WIDGET(Entry())); }));
    CaretAt(9);  // in "AM"
    PressKey(GDK_KEY_Up);
    EXPECT_EQ(picker->Time(), EncodeTime(21, 15, 0));
    EXPECT_EQ(Shown(), "9:15:00 PM");
}

}  // namespace
