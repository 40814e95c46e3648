// TOrbRichEdit: making and placing the native editor, handing settings
// over, and mirroring its scroll state into the assigned skinned bars.
//
// Mirroring, per assigned bar, whenever the editor reports a change of
// text or scroll state (typing, the wheel, a resize, a drag of its text):
//   direction not in ScrollBars, or the content fits  -> bar disabled
//   else -> bar enabled with the editor's Min, Max, Page and Pos
// A user's move of a bar asks the editor to scroll to the new position; the
// editor's report then brings the bar to where the editor really went.
#include "skin/orb_rich_edit.h"

#include <sstream>

#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "skin/orb_scroll_bar.h"

namespace {
constexpr TColor DefaultBackground = 0x00FFFFFF;
int Index(TScrollDirection direction) { return direction == TScrollDirection::Vertical ? 1 : 0; }
}  // namespace

TOrbRichEdit::TOrbRichEdit(TComponent* owner) : TOrbUIParentControl(owner) {
    TabStop = true;
    SetBounds(0, 0, 185, 89);
}

TOrbRichEdit::~TOrbRichEdit() {
    for (TOrbScrollBar*& bar : FBars) {
        if (!bar) continue;
        bar->OnScroll = nullptr;
        RemoveFreeNotification(bar);
        bar = nullptr;
    }
    FEditor.reset();
}

TNativeTextEditor* TOrbRichEdit::Editor() {
    if (FEditor || !Application) return FEditor.get();
    TForm* form = Form();
    if (!form) return nullptr;
    form->HandleNeeded();
    FEditor = Application->Host().CreateTextEditor(*form);
    if (!FEditor) return nullptr;
    FEditor->SetVisible(false);
    FEditor->SetText(FText);
    FEditor->SetReadOnly(FReadOnly ? TReadOnly::Yes : TReadOnly::No);
    FEditor->SetWordWrap(FWordWrap ? TWordWrap::Yes : TWordWrap::No);
    FEditor->SetEnabled(IsEnabledInTree());
    FEditor->OnChange = [this](TNativeTextEditor*) { EditorChanged(); };
    FEditor->OnScroll = [this](TNativeTextEditor*) { MirrorScrollBars(); };
    FPlacedVisible = false;
    FPlacedRect = {};
    FStyled = false;
    UpdatePlacement();
    return FEditor.get();
}

void TOrbRichEdit::UpdatePlacement() {
    if (!FEditor) {
        Editor();
        return;
    }
    Place();
    MirrorScrollBars();
}

void TOrbRichEdit::Place() {
    const TRect rect = FormRect();
    const bool visible = IsShowing();
    if (rect != FPlacedRect) {
        FPlacedRect = rect;
        FEditor->SetBounds(rect);
    }
    if (visible != FPlacedVisible) {
        FPlacedVisible = visible;
        FEditor->SetVisible(visible);
    }
    const TColor back = Color() == clNone ? DefaultBackground : Color();
    const TColor text = Font().Color == clNone ? 0 : Font().Color;
    if (!FStyled || !(Font() == FPlacedFont)) FEditor->SetFont(Font());
    if (!FStyled || back != FPlacedBack || text != FPlacedText) FEditor->SetColors(text, back);
    FPlacedFont = Font();
    FPlacedBack = back;
    FPlacedText = text;
    FStyled = true;
}

void TOrbRichEdit::Loaded() {
    TOrbUIParentControl::Loaded();
    UpdatePlacement();
}

void TOrbRichEdit::Paint(TBitmap32& canvas) {
    // What the editor does not cover (while it is being placed) shows the
    // background it will have.
    const TColor back = Color() == clNone ? DefaultBackground : Color();
    canvas.FillRect(PaintClip(), Color32FromColor(back));
    // Bars are left alone here: changing them would damage the pass.
    if (Editor()) Place();
}

void TOrbRichEdit::PlacementChanged() {
    TOrbUIParentControl::PlacementChanged();
    if (FEditor) UpdatePlacement();
}

void TOrbRichEdit::EnabledChanged() {
    TOrbUIParentControl::EnabledChanged();
    if (FEditor) FEditor->SetEnabled(IsEnabledInTree());
}

void TOrbRichEdit::FocusEnter() {
    TOrbUIParentControl::FocusEnter();
    if (Editor()) FEditor->SetFocus();
}

void TOrbRichEdit::MouseDown(TMouseButton button, TShiftState shift, TPoint p) {
    TOrbUIParentControl::MouseDown(button, shift, p);
    if (IsEnabledInTree() && Editor()) FEditor->SetFocus();
}

// ---- text and settings ----

std::string TOrbRichEdit::Text() const { return FEditor ? FEditor->Text() : FText; }

void TOrbRichEdit::SetText(const std::string& value) {
    if (FEditor) {
        FEditor->SetText(value);  // the editor reports the change
        return;
    }
    if (value == FText) return;
    FText = value;
    if (OnChange) OnChange(this);
}

std::vector<std::string> TOrbRichEdit::Lines() const {
    std::vector<std::string> lines;
    const std::string text = Text();
    if (text.empty()) return lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

void TOrbRichEdit::SetLines(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) text += (i ? "\n" : "") + lines[i];
    SetText(text);
}

void TOrbRichEdit::SetReadOnly(bool value) {
    if (value == FReadOnly) return;
    FReadOnly = value;
    if (FEditor) FEditor->SetReadOnly(value ? TReadOnly::Yes : TReadOnly::No);
}

void TOrbRichEdit::SetWordWrap(bool value) {
    if (value == FWordWrap) return;
    FWordWrap = value;
    if (FEditor) FEditor->SetWordWrap(value ? TWordWrap::Yes : TWordWrap::No);
    MirrorScrollBars();
}

void TOrbRichEdit::SetScrollBars(TScrollStyle value) {
    if (value == FScrollBars) return;
    FScrollBars = value;
    MirrorScrollBars();
}

void TOrbRichEdit::EditorChanged() {
    FText = FEditor->Text();
    MirrorScrollBars();
    if (OnChange) OnChange(this);
}

// ---- skinned bars ----

void TOrbRichEdit::SetBar(TScrollDirection direction, TOrbScrollBar* bar) {
    TOrbScrollBar*& slot = FBars[Index(direction)];
    if (bar == slot) return;
    if (slot) {
        slot->OnScroll = nullptr;
        RemoveFreeNotification(slot);
    }
    slot = bar;
    if (!slot) return;
    FreeNotification(slot);
    slot->OnScroll = [this, direction](TComponent*, int& pos) {
        if (Editor()) FEditor->ScrollTo(direction, pos);
    };
    MirrorBar(direction);
}

void TOrbRichEdit::Notification(TComponent* component, TOperation operation) {
    TOrbUIParentControl::Notification(component, operation);
    if (operation != TOperation::Remove) return;
    for (TOrbScrollBar*& bar : FBars)
        if (component == bar) bar = nullptr;
}

bool TOrbRichEdit::DirectionAllowed(TScrollDirection direction) const {
    if (FScrollBars == TScrollStyle::Both) return true;
    return FScrollBars == (direction == TScrollDirection::Vertical ? TScrollStyle::Vertical : TScrollStyle::Horizontal);
}

void TOrbRichEdit::MirrorScrollBars() {
    if (FMirroring) return;
    FMirroring = true;
    MirrorBar(TScrollDirection::Horizontal);
    MirrorBar(TScrollDirection::Vertical);
    FMirroring = false;
}

void TOrbRichEdit::MirrorBar(TScrollDirection direction) {
    TOrbScrollBar* bar = FBars[Index(direction)];
    if (!bar) return;
    if (!FEditor || !DirectionAllowed(direction)) {
        bar->SetEnabled(false);
        return;
    }
    const TScrollState s = FEditor->Scroll(direction);
    const bool fits = s.Page <= 0 || s.Max - s.Min + 1 <= s.Page;
    bar->SetEnabled(!fits);
    if (!fits) bar->SetParams(s.Min, s.Max, s.Page, s.Pos);
}
