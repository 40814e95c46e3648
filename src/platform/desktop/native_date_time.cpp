// Date and time pickers. The date picker is an entry showing the user's
// short date with a button that drops down a GtkCalendar; the time picker is
// an entry showing the long time format with up and down arrows that step
// the field (hours, minutes, seconds, AM/PM) the caret is in. Typed text is
// taken when the user presses Enter or leaves the entry; text that does not
// read back as a date or time is replaced by the current value.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/desktop/native_common.h"
#include "platform/desktop/native_widgets.h"
#include "platform/locale_format.h"

using namespace native_detail;

namespace {

// The pickers sit in rows about 21 pixels high: the theme's padding and
// minimum heights (made for 34-pixel rows) would push them over the
// controls below, so the entry and its buttons keep only the text's height.
std::string EntryCss(const std::string& font) {
    return "entry { min-height: 0; padding-top: 0; padding-bottom: 0; " + font + " }";
}
constexpr const char* CompactButtonCss = "button { min-height: 0; min-width: 0; padding: 0 3px; }";

GtkWidget* MakeEntry() {
    GtkWidget* entry = gtk_entry_new();
    gtk_entry_set_width_chars(GTK_ENTRY(entry), 4);  // the bounds decide the width
    gtk_widget_set_hexpand(entry, TRUE);
    SetWidgetCss(entry, EntryCss(""));
    return entry;
}

GtkWidget* MakeCompactButton(const char* iconName, int pixels) {
    GtkWidget* button = gtk_button_new_from_icon_name(iconName, GTK_ICON_SIZE_MENU);
    if (GtkWidget* image = gtk_button_get_image(GTK_BUTTON(button)))
        gtk_image_set_pixel_size(GTK_IMAGE(image), pixels);
    SetWidgetCss(button, CompactButtonCss);
    return button;
}

GtkWidget* MakeRow(GtkWidget* entry, GtkWidget* side) {
    GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
    gtk_style_context_add_class(gtk_widget_get_style_context(row), GTK_STYLE_CLASS_LINKED);
    gtk_box_pack_start(GTK_BOX(row), entry, TRUE, TRUE, 0);
    gtk_box_pack_start(GTK_BOX(row), side, FALSE, FALSE, 0);
    return row;
}

// ---- date ----

class TGtkDatePicker : public TPlaced<TNativeDatePicker> {
public:
    TGtkDatePicker(GtkWidget* layer, GtkWidget* entry, GtkWidget* button)
        : TPlaced(layer, MakeRow(entry, button), entry), FEntry(entry), FButton(button) {
        FPopover = gtk_popover_new(button);
        FCalendar = gtk_calendar_new();
        gtk_container_add(GTK_CONTAINER(FPopover), FCalendar);
        gtk_widget_show(FCalendar);
        // Tests act as the user on the drop-down calendar through this.
        g_object_set_data(G_OBJECT(FRoot), "olvo-calendar", FCalendar);
        Connect(button, "clicked", G_CALLBACK(OnDropDown));
        Connect(FCalendar, "button-press-event", G_CALLBACK(OnCalendarInput));
        Connect(FCalendar, "key-press-event", G_CALLBACK(OnCalendarInput));
        Connect(FCalendar, "month-changed", G_CALLBACK(OnMonthChanged));
        Connect(FCalendar, "day-selected", G_CALLBACK(OnDaySelected));
        Connect(FCalendar, "day-selected-double-click", G_CALLBACK(OnDayChosen));
        Connect(entry, "activate", G_CALLBACK(OnEntryDone));
        Connect(entry, "focus-out-event", G_CALLBACK(OnEntryFocusOut));
        ShowDate();
    }

    TDateTime Date() const override { return FDate; }
    void SetDate(TDateTime value) override {
        FDate = DateOf(value);
        ShowDate();
    }
    void SetFont(const TFont& font) override { SetWidgetCss(FEntry, EntryCss(CssFont(font))); }

    // The user's pick, as the calendar or the entry reports it.
    void UserPick(TDateTime value) {
        value = DateOf(value);
        bool changed = value != FDate;
        FDate = value;
        ShowDate();
        if (changed && OnChange) OnChange(this);
    }

private:
    void ShowDate() {
        if (!FRoot) return;
        gtk_entry_set_text(GTK_ENTRY(FEntry), DateToStr(FDate).c_str());
    }
    static void OnDropDown(GtkButton*, gpointer self) {
        auto* p = static_cast<TGtkDatePicker*>(self);
        TDateParts d = DecodeDate(p->FDate);
        p->FSyncing = true;  // selecting the shown date is not a pick
        gtk_calendar_select_month(GTK_CALENDAR(p->FCalendar), guint(d.Month - 1), guint(d.Year));
        gtk_calendar_select_day(GTK_CALENDAR(p->FCalendar), guint(d.Day));
        p->FSyncing = false;
        p->FBrowsing = false;
        gtk_popover_popup(GTK_POPOVER(p->FPopover));
    }
    TDateTime CalendarDate() const {
        guint year = 0, month = 0, day = 0;
        gtk_calendar_get_date(GTK_CALENDAR(FCalendar), &year, &month, &day);
        return EncodeDate(int(year), int(month) + 1, int(day));
    }
    // A single click picks the day but keeps the calendar open (the user may
    // still be browsing months); a double click picks and closes.
    // Browsing to another month moves the selection along (GTK selects the
    // same day there); that is not a pick, so the day-selected that follows
    // a month change within the same user action is ignored.
    static gboolean OnCalendarInput(GtkWidget*, GdkEvent*, gpointer self) {
        static_cast<TGtkDatePicker*>(self)->FBrowsing = false;
        return FALSE;
    }
    static void OnMonthChanged(GtkCalendar*, gpointer self) {
        auto* p = static_cast<TGtkDatePicker*>(self);
        if (!p->FSyncing) p->FBrowsing = true;
    }
    static void OnDaySelected(GtkCalendar*, gpointer self) {
        auto* p = static_cast<TGtkDatePicker*>(self);
        if (p->FSyncing || !gtk_widget_get_visible(p->FPopover)) return;
        if (p->FBrowsing) {
            p->FBrowsing = false;
            return;
        }
        TDateTime value = p->CalendarDate();
        if (value != 0) p->UserPick(value);
    }
    static void OnDayChosen(GtkCalendar*, gpointer self) {
        auto* p = static_cast<TGtkDatePicker*>(self);
        TDateTime value = p->CalendarDate();
        if (value != 0) p->UserPick(value);
        gtk_popover_popdown(GTK_POPOVER(p->FPopover));
    }
    void TakeEntryText() {
        TDateTime value = 0;
        const char* text = gtk_entry_get_text(GTK_ENTRY(FEntry));
        if (TryParseDateTimeText(text, FormatSettings().ShortDateFormat, value) && value != 0)
            UserPick(value);
        else
            ShowDate();
    }
    static void OnEntryDone(GtkEntry*, gpointer self) { static_cast<TGtkDatePicker*>(self)->TakeEntryText(); }
    static gboolean OnEntryFocusOut(GtkWidget*, GdkEvent*, gpointer self) {
        static_cast<TGtkDatePicker*>(self)->TakeEntryText();
        return FALSE;
    }

    GtkWidget* FEntry;
    GtkWidget* FButton;
    GtkWidget* FPopover = nullptr;
    GtkWidget* FCalendar = nullptr;
    TDateTime FDate = ::Date();  // today until the owner sets a date
    bool FSyncing = false, FBrowsing = false;
};

// ---- time ----

enum class TField { Literal, Hour, Minute, Second, AmPm };

struct TSpan {
    TField Field;
    int Start, End;  // character offsets in the shown text
};

// Splits the long time picture into fields and literals and measures each
// piece as formatted for `value`, so the caret's field can be found.
std::vector<TSpan> FieldSpans(TDateTime value) {
    const std::string& picture = FormatSettings().LongTimeFormat;
    std::vector<TSpan> spans;
    int offset = 0;
    for (size_t i = 0; i < picture.size();) {
        size_t j = i + 1;
        char c = picture[i];
        TField field = TField::Literal;
        if (c == '\'' || c == '"') {
            while (j < picture.size() && picture[j] != c) j++;
            j = std::min(picture.size(), j + 1);
        } else if (std::string("HhmstyMd").find(c) != std::string::npos) {
            while (j < picture.size() && picture[j] == c) j++;
            bool letters = (j - i) <= 2 || c == 't' || c == 'y';
            if (letters && (c == 'H' || c == 'h')) field = TField::Hour;
            else if (letters && c == 'm') field = TField::Minute;
            else if (letters && c == 's') field = TField::Second;
            else if (letters && c == 't') field = TField::AmPm;
        } else {
            while (j < picture.size() && (static_cast<unsigned char>(picture[j]) & 0xC0) == 0x80) j++;
        }
        std::string piece = FormatDateTimeText(picture.substr(i, j - i), value);
        int length = int(g_utf8_strlen(piece.c_str(), -1));
        spans.push_back({field, offset, offset + length});
        offset += length;
        i = j;
    }
    return spans;
}

TDateTime StepField(TDateTime time, TField field, int delta) {
    TTimeParts t = DecodeTime(time);
    // Each field wraps on its own, as a clock's setting wheel does.
    if (field == TField::Hour) t.Hour = (t.Hour + delta + 24) % 24;
    if (field == TField::Minute) t.Minute = (t.Minute + delta + 60) % 60;
    if (field == TField::Second) t.Second = (t.Second + delta + 60) % 60;
    if (field == TField::AmPm) t.Hour = (t.Hour + 12) % 24;
    return EncodeTime(t.Hour, t.Minute, t.Second);
}

GtkWidget* MakeArrows(GtkWidget*& up, GtkWidget*& down) {
    GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    up = MakeCompactButton("pan-up-symbolic", 8);
    down = MakeCompactButton("pan-down-symbolic", 8);
    for (GtkWidget* b : {up, down}) {
        gtk_widget_set_can_focus(b, FALSE);  // the caret stays in its field
        gtk_box_pack_start(GTK_BOX(column), b, TRUE, TRUE, 0);
    }
    return column;
}

class TGtkTimePicker : public TPlaced<TNativeTimePicker> {
public:
    TGtkTimePicker(GtkWidget* layer, GtkWidget* entry, GtkWidget* arrows, GtkWidget* up, GtkWidget* down)
        : TPlaced(layer, MakeRow(entry, arrows), entry), FEntry(entry) {
        Connect(up, "clicked", G_CALLBACK(OnUp));
        Connect(down, "clicked", G_CALLBACK(OnDown));
        Connect(entry, "key-press-event", G_CALLBACK(OnKey));
        Connect(entry, "activate", G_CALLBACK(OnEntryDone));
        Connect(entry, "focus-out-event", G_CALLBACK(OnEntryFocusOut));
        ShowTime(TField::Literal);
    }

    TDateTime Time() const override { return FTime; }
    void SetTime(TDateTime value) override {
        FTime = TimeOf(value);
        ShowTime(TField::Literal);
    }
    void SetFont(const TFont& font) override { SetWidgetCss(FEntry, EntryCss(CssFont(font))); }

    // Steps the field the caret is in (the hours when it is on a literal
    // before any field), as the arrows and the Up/Down keys do.
    void Step(int delta) {
        if (!FRoot || !gtk_widget_is_sensitive(FRoot)) return;
        TakeEntryText();  // typed text counts before it is stepped
        int caret = gtk_editable_get_position(GTK_EDITABLE(FEntry));
        TField field = TField::Hour;
        for (const TSpan& s : FieldSpans(FTime))
            if (s.Field != TField::Literal && s.Start <= caret) field = s.Field;
        Pick(StepField(FTime, field, delta), field);
    }

private:
    void Pick(TDateTime value, TField keepField) {
        value = TimeOf(value);
        bool changed = value != FTime;
        FTime = value;
        ShowTime(keepField);
        if (changed && OnChange) OnChange(this);
    }
    void ShowTime(TField keepField) {
        if (!FRoot) return;
        gtk_entry_set_text(GTK_ENTRY(FEntry), TimeToStr(FTime).c_str());
        // The caret goes back into the field the user is working on.
        for (const TSpan& s : FieldSpans(FTime))
            if (keepField != TField::Literal && s.Field == keepField)
                gtk_editable_set_position(GTK_EDITABLE(FEntry), s.End);
    }
    void TakeEntryText() {
        const char* text = gtk_entry_get_text(GTK_ENTRY(FEntry));
        if (TimeToStr(FTime) == text) return;
        int caret = gtk_editable_get_position(GTK_EDITABLE(FEntry));
        TDateTime value = 0;
        if (TryParseDateTimeText(text, FormatSettings().LongTimeFormat, value)) Pick(value, TField::Literal);
        else ShowTime(TField::Literal);
        gtk_editable_set_position(GTK_EDITABLE(FEntry), caret);
    }
    static void OnUp(GtkButton*, gpointer self) { static_cast<TGtkTimePicker*>(self)->Step(+1); }
    static void OnDown(GtkButton*, gpointer self) { static_cast<TGtkTimePicker*>(self)->Step(-1); }
    static gboolean OnKey(GtkWidget*, GdkEventKey* event, gpointer self) {
        auto* p = static_cast<TGtkTimePicker*>(self);
        if (event->keyval == GDK_KEY_Up || event->keyval == GDK_KEY_KP_Up) p->Step(+1);
        else if (event->keyval == GDK_KEY_Down || event->keyval == GDK_KEY_KP_Down) p->Step(-1);
        else return FALSE;
        return TRUE;
    }
    static void OnEntryDone(GtkEntry*, gpointer self) { static_cast<TGtkTimePicker*>(self)->TakeEntryText(); }
    static gboolean OnEntryFocusOut(GtkWidget*, GdkEvent*, gpointer self) {
        static_cast<TGtkTimePicker*>(self)->TakeEntryText();
        return FALSE;
    }

    GtkWidget* FEntry;
    TDateTime FTime = 0;
};

}  // namespace

std::unique_ptr<TNativeDatePicker> CreateDesktopDatePickerIn(TNativeLayerHandle layer) {
    GtkWidget* button = MakeCompactButton("pan-down-symbolic", 12);
    gtk_widget_set_can_focus(button, FALSE);
    return std::make_unique<TGtkDatePicker>(static_cast<GtkWidget*>(layer), MakeEntry(), button);
}

std::unique_ptr<TNativeTimePicker> CreateDesktopTimePickerIn(TNativeLayerHandle layer) {
    GtkWidget *up = nullptr, *down = nullptr;
    GtkWidget* arrows = MakeArrows(up, down);
    return std::make_unique<TGtkTimePicker>(static_cast<GtkWidget*>(layer), MakeEntry(), arrows, up, down);
}
