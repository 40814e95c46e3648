// TDateTimePicker: making the native date or time widget, keeping its
// value, and placing it where the control is drawn.
#include "platform/gui/date_time_picker.h"

#include "platform/gfx/text.h"
#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "platform/locale_format.h"

namespace {
constexpr TColor32 EntryBack = 0xFFFFFFFF;
constexpr TColor32 EntryFrame = 0xFFABADB3;
constexpr TColor32 ArrowColor = 0xFF606060;
constexpr int ArrowWidth = 17;
}  // namespace

TDateTimePicker::TDateTimePicker(TComponent* owner, TDateTimeKind kind) : TWinControl(owner), FKind(kind) {
    TabStop = true;
    SetBounds(0, 0, 186, 21);
    FValue = Normalised(Now());
}

TDateTimePicker::~TDateTimePicker() { DropNative(); }

TDateTime TDateTimePicker::Normalised(TDateTime value) const {
    return FKind == TDateTimeKind::Date ? DateOf(value) : TimeOf(value);
}

void TDateTimePicker::SetKind(TDateTimeKind value) {
    if (value == FKind) return;
    const bool hadNative = FDate || FTime;
    DropNative();
    FKind = value;
    // A date keeps its day as a time of 0:00; a time keeps its time of day
    // on the date 0, which the date kind shows as that day.
    FValue = Normalised(FValue);
    if (hadNative) CreateNative();
    Invalidate();
}

TDateTime TDateTimePicker::DateTime() const {
    if (FDate) return FDate->Date();
    if (FTime) return FTime->Time();
    return FValue;
}

void TDateTimePicker::SetDateTime(TDateTime value) {
    value = Normalised(value);
    FValue = value;
    if (FDate) FDate->SetDate(value);
    if (FTime) FTime->SetTime(value);
    Invalidate();
}

TNativeControl* TDateTimePicker::Native() {
    if (!FDate && !FTime) CreateNative();
    if (FDate) return FDate.get();
    return FTime.get();
}

void TDateTimePicker::CreateNative() {
    if (FDate || FTime || !Application) return;
    TForm* form = Form();
    if (!form) return;
    form->HandleNeeded();
    THost& host = Application->Host();
    if (FKind == TDateTimeKind::Date) {
        FDate = host.CreateDatePicker(*form);
        if (!FDate) return;
        FDate->SetDate(FValue);
        FDate->OnChange = [this](TNativeDatePicker*) { NativeChanged(); };
    } else {
        FTime = host.CreateTimePicker(*form);
        if (!FTime) return;
        FTime->SetTime(FValue);
        FTime->OnChange = [this](TNativeTimePicker*) { NativeChanged(); };
    }
    TNativeControl* native = FDate ? static_cast<TNativeControl*>(FDate.get()) : FTime.get();
    native->SetVisible(false);
    native->SetEnabled(IsEnabledInTree());
    FPlacedVisible = false;
    FPlacedEnabled = IsEnabledInTree();
    FPlacedRect = {};
    FFontPlaced = false;
    Place();
}

void TDateTimePicker::DropNative() {
    // The widgets go before the form does: the host frees what it placed.
    FDate.reset();
    FTime.reset();
}

void TDateTimePicker::NativeChanged() {
    FValue = DateTime();
    Invalidate();
    if (OnChange) OnChange(this);
}

void TDateTimePicker::UpdatePlacement() {
    if (!FDate && !FTime) {
        CreateNative();
        return;
    }
    Place();
}

void TDateTimePicker::Place() {
    TNativeControl* native = FDate ? static_cast<TNativeControl*>(FDate.get()) : FTime.get();
    if (!native) return;
    const TRect rect = FormRect();
    const bool visible = IsShowing();
    if (rect != FPlacedRect) {
        FPlacedRect = rect;
        native->SetBounds(rect);
    }
    if (visible != FPlacedVisible) {
        FPlacedVisible = visible;
        native->SetVisible(visible);
    }
    // A parent's state reaches no hook of this control: it is taken here.
    if (const bool enabled = IsEnabledInTree(); enabled != FPlacedEnabled) {
        FPlacedEnabled = enabled;
        native->SetEnabled(enabled);
    }
    if (!FFontPlaced || !(Font() == FPlacedFont)) {
        if (FDate) FDate->SetFont(Font());
        if (FTime) FTime->SetFont(Font());
        FPlacedFont = Font();
        FFontPlaced = true;
    }
}

void TDateTimePicker::Loaded() {
    TWinControl::Loaded();
    UpdatePlacement();
}

void TDateTimePicker::Paint(TBitmap32& canvas) {
    const TRect box = ClientRect();
    canvas.FillRect(PaintClip(), EntryBack);
    canvas.FrameRect(box, EntryFrame);
    const std::string text = FKind == TDateTimeKind::Date ? DateToStr(DateTime()) : TimeToStr(DateTime());
    TFont font = Font();
    if (font.Color == clNone) font.Color = 0;
    TRect textRect{box.Left + 4, box.Top, box.Right - ArrowWidth - 2, box.Bottom};
    DrawText(canvas, textRect, font, text, tfVCenter | tfSingleLine | tfNoPrefix | tfEndEllipsis);
    // The drop button (date) or the up-down pair (time), as small marks.
    const int x = box.Right - ArrowWidth / 2 - 1;
    const int mid = box.Top + box.Height() / 2;
    if (FKind == TDateTimeKind::Date) {
        for (int i = 0; i < 4; ++i) canvas.Line(x - 3 + i, mid - 1 + i, x + 3 - i, mid - 1 + i, ArrowColor);
    } else {
        for (int i = 0; i < 3; ++i) {
            canvas.Line(x - i, mid - 5 + i, x + i, mid - 5 + i, ArrowColor);
            canvas.Line(x - i, mid + 4 - i, x + i, mid + 4 - i, ArrowColor);
        }
    }
    // The widget follows every paint, as it follows every move.
    if (Native()) Place();
}

void TDateTimePicker::PlacementChanged() {
    TWinControl::PlacementChanged();
    if (FDate || FTime) Place();
}

void TDateTimePicker::EnabledChanged() {
    TWinControl::EnabledChanged();
    if (FDate || FTime) Place();
    Invalidate();
}

void TDateTimePicker::FocusEnter() {
    TWinControl::FocusEnter();
    if (TNativeControl* native = Native()) native->SetFocus();
}
