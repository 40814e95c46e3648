// TOrbEdit's keyboard side: the caret keys and Delete on key-down, and the
// typed characters with their control codes (select all, copy, paste, cut,
// undo, backspace).
//
// The hosts hand control characters over as key-downs (Ctrl+letters and
// Backspace never come through the input method); a key-down that the
// owner's OnKeyDown leaves alone is turned into its character here, so both
// ways in end in HandleChar and see OnkeyPress first.
//
//   character        | read-only | editable
//   0, 13, 27        | ignored   | ignored
//   1   Ctrl+A       | select all
//   3   Ctrl+C       | copy ("*" per character in password mode)
//   8   Backspace    | ignored   | the selection, else the character before
//   22  Ctrl+V       | ignored   | paste over the selection
//   24  Ctrl+X       | ignored   | copy, then delete the selection
//   26  Ctrl+Z       | ignored   | text and UndoText change places
//   other control    | ignored   | ignored
//   printable        | ignored   | replaces the selection, caret after it
#include <string>

#include "platform/gui/application.h"
#include "platform/gui/timer.h"
#include "skin/orb_edit.h"

namespace {
constexpr unsigned char CtrlA = 1, CtrlC = 3, Backspace = 8, CtrlV = 22, CtrlX = 24, CtrlZ = 26;

bool IsControlByte(unsigned char c) { return c < 0x20 || c == 0x7F; }

// The control character a key-down stands for, 0 for none.
unsigned char ControlCharOf(int key, TShiftState shift) {
    if (key == vk::Back) return Backspace;
    if (!(shift & ssCtrl) || (shift & ssAlt)) return 0;
    switch (key) {
        case 'A': return CtrlA;
        case 'C': return CtrlC;
        case 'V': return CtrlV;
        case 'X': return CtrlX;
        case 'Z': return CtrlZ;
        default: return 0;
    }
}
}  // namespace

void TOrbEdit::KeyDown(int& key, TShiftState shift) {
    auto alive = Lifetime();
    EditKey(key, shift);
    TOrbUIParentControl::KeyDown(key, shift);
    if (alive.expired() || key == 0) return;
    if (const unsigned char code = ControlCharOf(key, shift)) HandleChar(std::string(1, char(code)));
}

void TOrbEdit::KeyPress(const std::string& text) {
    auto alive = Lifetime();
    TOrbUIParentControl::KeyPress(text);
    // An input method may commit several characters at once; each is typed.
    for (size_t pos = 0; pos < text.size() && !alive.expired();) {
        const size_t length = Utf8SequenceLength(text, pos);
        HandleChar(text.substr(pos, length));
        pos += length;
    }
}

bool TOrbEdit::EditKey(int key, TShiftState shift) {
    const TEditExtend extend = (shift & ssShift) ? TEditExtend::Yes : TEditExtend::No;
    const TEditJump jump = (shift & ssCtrl) ? TEditJump::ToEnd : TEditJump::Step;
    switch (key) {
        case vk::Left:
        case vk::Up: FModel.Move(TEditMove::Back, extend, jump); break;
        case vk::Right:
        case vk::Down: FModel.Move(TEditMove::Forward, extend, jump); break;
        case vk::Delete:
            if (FOnlyRead) return false;
            TextEdited(FModel.DeleteForward());
            return true;
        default: return false;
    }
    TextEdited(false);
    return true;
}

void TOrbEdit::HandleChar(const std::string& ch) {
    std::string key = ch;
    auto alive = Lifetime();
    if (OnkeyPress) OnkeyPress(this, key);
    if (alive.expired() || key.empty()) return;
    const auto first = static_cast<unsigned char>(key[0]);
    if (key.size() == 1 && IsControlByte(first)) {
        HandleControlChar(first);
        return;
    }
    if (FOnlyRead || !CharAllowed(key)) return;
    TextEdited(FModel.InsertText(key));
}

bool TOrbEdit::HandleControlChar(unsigned char code) {
    switch (code) {
        case CtrlA: SelectAll(); return true;
        case CtrlC: CopyToClipboard(); return true;
        default: break;
    }
    if (FOnlyRead) return false;
    switch (code) {
        case Backspace: TextEdited(FModel.Backspace()); return true;
        case CtrlV: Paste(); return true;
        case CtrlX:
            CopyToClipboard();
            TextEdited(FModel.DeleteSelection());
            return true;
        case CtrlZ: TextEdited(FModel.SwapUndo()); return true;
        default: return false;  // Enter, Escape and the rest type nothing
    }
}

bool TOrbEdit::CharAllowed(const std::string& ch) const {
    if (!OnlyNumber) return true;
    return ch.size() == 1 && ((ch[0] >= '0' && ch[0] <= '9') || ch[0] == '.');
}

void TOrbEdit::CopyToClipboard() {
    if (!Application || !FModel.HasSelection()) return;
    std::string text = FModel.SelText();
    // A password never leaves the edit: the clipboard gets one "*" each.
    if (!FPasswordChar.empty()) text.assign(size_t(FModel.SelHigh() - FModel.SelLow()), '*');
    Application->Host().Clipboard().SetText(text);
}

void TOrbEdit::Paste() {
    if (!Application) return;
    const std::string clip = Application->Host().Clipboard().Text();
    // A single line takes no line breaks or other control characters, and a
    // digits-only edit takes from the clipboard what it would take typed.
    std::string text;
    for (size_t pos = 0; pos < clip.size();) {
        const size_t length = Utf8SequenceLength(clip, pos);
        const std::string ch = clip.substr(pos, length);
        pos += length;
        if (length == 1 && IsControlByte(static_cast<unsigned char>(ch[0]))) continue;
        if (CharAllowed(ch)) text += ch;
    }
    if (text.empty()) return;
    TextEdited(FModel.Paste(text));
}

// After every key: the caret shows at once (the blink starts over), the
// view follows it, and a changed text is announced.
void TOrbEdit::TextEdited(bool changed) {
    if (changed) MeasureChanged();
    ScrollCaretIntoView();
    if (FBlink->Enabled()) {
        FCaretOn = true;
        FBlink->Restart();
    }
    Changed();
    if (changed && OnChange) OnChange(this);
}
