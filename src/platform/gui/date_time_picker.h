// TDateTimePicker: the host's native date picker (an entry with a drop-down
// calendar) or time picker (an entry with up-down arrows) placed over the
// control's area. The native widget is made as soon as the control sits on
// a form (the form's host window is created for it when the form has not
// shown yet) and follows the control whenever it or a parent is shown,
// hidden, moved or resized; the value and font set before that are handed
// over then.
//
// The control draws a plain entry with the value under the widget, so what
// the widget does not cover yet (and a screenshot of the form, which never
// holds native widgets) shows what the widget will show.
#pragma once

#include <memory>

#include "platform/datetime.h"
#include "platform/gui/control.h"
#include "platform/gui/native_controls.h"

enum class TDateTimeKind { Date, Time };

class TDateTimePicker : public TWinControl {
public:
    explicit TDateTimePicker(TComponent* owner, TDateTimeKind kind = TDateTimeKind::Date);
    ~TDateTimePicker() override;

    TDateTimeKind Kind() const { return FKind; }
    // A change of kind replaces the native widget; the value is kept as far
    // as the new kind holds it (a date keeps its day, a time its time of day).
    void SetKind(TDateTimeKind value);

    // The date part (midnight) for the date kind, the time of day (date part
    // 0) for the time kind.
    TDateTime DateTime() const;
    // Takes the part of `value` the kind holds; OnChange does not fire.
    void SetDateTime(TDateTime value);

    // Fires when the user picks another value in the widget.
    TNotifyEvent OnChange;

    // The native widget, null until the control sits on a form (or when the
    // host offers none).
    TNativeControl* Native();
    // Moves, shows or hides the widget to match where the control is drawn
    // now and hands over the font; an owner that moved a parent outside the
    // usual notifications may call it.
    void UpdatePlacement();

protected:
    void Loaded() override;
    void Paint(TBitmap32& canvas) override;
    void PlacementChanged() override;
    void EnabledChanged() override;
    void FocusEnter() override;

private:
    void CreateNative();
    void DropNative();
    void Place();
    void NativeChanged();
    TDateTime Normalised(TDateTime value) const;

    TDateTimeKind FKind;
    TDateTime FValue = 0;  // kept while no widget exists, mirrored after
    std::unique_ptr<TNativeDatePicker> FDate;
    std::unique_ptr<TNativeTimePicker> FTime;
    // What the widget was last given, so a placement hands over only changes.
    TRect FPlacedRect;
    bool FPlacedVisible = false;
    bool FPlacedEnabled = true;
    bool FFontPlaced = false;
    TFont FPlacedFont;
};
