// TOrbRichEdit, the multi-line text box: the host's native text editor
// placed over the control's area, with no border and its own scroll bars
// never shown, and optional skinned TOrbScrollBar controls (placed by the
// owner) that mirror the editor's scroll state and scroll it.
//
// The native editor is made as soon as the control sits on a form (the
// form's host window is created for it when the form has not shown yet);
// settings made before that are kept and handed over then.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/native_controls.h"
#include "skin/orb_control.h"

class TOrbScrollBar;

enum class TScrollStyle { None, Horizontal, Vertical, Both };

class TOrbRichEdit : public TOrbUIParentControl {
public:
    explicit TOrbRichEdit(TComponent* owner);
    ~TOrbRichEdit() override;

    std::string Text() const;
    void SetText(const std::string& value);
    // The text by lines, as the line breaks cut it.
    std::vector<std::string> Lines() const;
    void SetLines(const std::vector<std::string>& lines);

    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    // Which directions may scroll (and so which assigned bars can be enabled).
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value);
    // Font and Color are the control's own (Font().Color is the text colour,
    // Color() the background, white when clNone); they reach the editor
    // on the next placement.

    TOrbScrollBar* VerScrollBar() const { return FBars[1]; }
    void SetVerScrollBar(TOrbScrollBar* value) { SetBar(TScrollDirection::Vertical, value); }
    TOrbScrollBar* HorScrollBar() const { return FBars[0]; }
    void SetHorScrollBar(TOrbScrollBar* value) { SetBar(TScrollDirection::Horizontal, value); }

    TNotifyEvent OnChange;

    // The native editor, null until the control sits on a form.
    TNativeTextEditor* Editor();
    // Moves, shows or hides the editor to match where the control is now
    // drawn and hands over font and colours. Runs on every paint and size
    // or visibility change; an owner that hides or moves a parent panel
    // calls it to update the editor at once.
    void UpdatePlacement();
    // Copies the editor's scroll state into the assigned bars.
    void MirrorScrollBars();

protected:
    void Loaded() override;
    void Paint(TBitmap32& canvas) override;
    // Moved, resized, shown or hidden, or a parent was (a sliding page):
    // the native editor follows.
    void PlacementChanged() override;
    void EnabledChanged() override;
    void FocusEnter() override;
    // A press that reached the form's surface instead of the editor (the
    // editor was focused in the framework already, or the window system
    // let the press through) still hands the keyboard to the editor.
    void MouseDown(TMouseButton button, TShiftState shift, TPoint p) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void Place();
    void SetBar(TScrollDirection direction, TOrbScrollBar* bar);
    void MirrorBar(TScrollDirection direction);
    bool DirectionAllowed(TScrollDirection direction) const;
    void EditorChanged();

    std::unique_ptr<TNativeTextEditor> FEditor;
    std::string FText;  // kept until the editor exists
    bool FReadOnly = false;
    bool FWordWrap = true;
    TScrollStyle FScrollBars = TScrollStyle::Both;
    TOrbScrollBar* FBars[2] = {nullptr, nullptr};  // indexed by TScrollDirection
    bool FMirroring = false;
    // What the editor was last given, so a placement hands over only changes.
    TRect FPlacedRect;
    bool FPlacedVisible = false;
    TFont FPlacedFont;
    TColor FPlacedText = clNone, FPlacedBack = clNone;
    bool FStyled = false;
};
