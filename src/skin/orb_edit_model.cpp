// TOrbEditModel: character boundaries of UTF-8 text, the caret and
// selection rules, and which edits leave an undo copy behind.
#include "skin/orb_edit_model.h"

#include <algorithm>
#include <utility>

size_t Utf8SequenceLength(const std::string& s, size_t pos) {
    const auto lead = static_cast<unsigned char>(s[pos]);
    size_t length = 1;
    if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4;
    if (pos + length > s.size()) return 1;
    // Every byte after the lead must be a continuation byte, else the lead
    // stands alone: a broken sequence never swallows the characters after it.
    for (size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(s[pos + i]) & 0xC0) != 0x80) return 1;
    return length;
}

void TOrbEditModel::Rebuild() {
    FBounds.clear();
    for (size_t pos = 0; pos < FText.size(); pos += Utf8SequenceLength(FText, pos)) FBounds.push_back(pos);
    FBounds.push_back(FText.size());
}

void TOrbEditModel::ClampIndices() {
    if (CaretPos > Length()) CaretPos = Length();
    if (SelAnchor > Length()) SelAnchor = Length();
}

void TOrbEditModel::SetText(const std::string& utf8) {
    FText = utf8;
    Rebuild();
    ClampIndices();
}

size_t TOrbEditModel::ByteOffset(int index) const {
    return FBounds[size_t(std::clamp(index, 0, Length()))];
}

std::string TOrbEditModel::Slice(int from, int to) const {
    const size_t a = ByteOffset(from), b = ByteOffset(to);
    return b > a ? FText.substr(a, b - a) : std::string();
}

int TOrbEditModel::SelLow() const { return HasSelection() ? std::min(CaretPos, SelAnchor) : std::max(CaretPos, 0); }
int TOrbEditModel::SelHigh() const { return HasSelection() ? std::max(CaretPos, SelAnchor) : std::max(CaretPos, 0); }

std::string TOrbEditModel::SelText() const { return HasSelection() ? Slice(SelLow(), SelHigh()) : std::string(); }

void TOrbEditModel::SelectAll() {
    CaretPos = 0;
    SelAnchor = Length();
}

void TOrbEditModel::PlaceCaret(int index) {
    CaretPos = std::clamp(index, 0, Length());
    SelAnchor = CaretPos;
}

void TOrbEditModel::ExtendTo(int index) {
    if (SelAnchor < 0) SelAnchor = std::max(CaretPos, 0);
    CaretPos = std::clamp(index, 0, Length());
}

void TOrbEditModel::Splice(int from, int to, const std::string& utf8) {
    const size_t a = ByteOffset(from), b = ByteOffset(to);
    FText.replace(a, b - a, utf8);
    Rebuild();
}

bool TOrbEditModel::DeleteSelection() {
    if (!HasSelection()) return false;
    const int low = SelLow(), high = SelHigh();
    UndoText = FText;
    Splice(low, high, {});
    CaretPos = low;
    SelAnchor = -1;
    return true;
}

bool TOrbEditModel::Backspace() {
    if (HasSelection()) return DeleteSelection();
    if (CaretPos <= 0) return false;
    Splice(CaretPos - 1, CaretPos, {});
    CaretPos--;
    SelAnchor = -1;
    return true;
}

bool TOrbEditModel::DeleteForward() {
    if (HasSelection()) return DeleteSelection();
    if (CaretPos < 0 || CaretPos >= Length()) return false;
    UndoText = FText;
    Splice(CaretPos, CaretPos + 1, {});
    SelAnchor = -1;
    return true;
}

bool TOrbEditModel::InsertText(const std::string& utf8) {
    const bool removed = DeleteSelection();
    if (utf8.empty()) return removed;
    const int at = std::max(CaretPos, 0);
    const int before = Length();
    Splice(at, at, utf8);
    CaretPos = at + (Length() - before);
    SelAnchor = -1;
    return true;
}

bool TOrbEditModel::Paste(const std::string& utf8) {
    if (utf8.empty() && !HasSelection()) return false;
    std::string previous = FText;
    InsertText(utf8);
    if (previous == FText) return false;
    UndoText = std::move(previous);
    return true;
}

bool TOrbEditModel::SwapUndo() {
    if (UndoText == FText) return false;
    std::swap(FText, UndoText);
    Rebuild();
    ClampIndices();
    SelAnchor = -1;
    return true;
}

void TOrbEditModel::Move(TEditMove direction, TEditExtend extend, TEditJump jump) {
    const bool back = direction == TEditMove::Back;
    int target = std::max(CaretPos, 0);
    if (jump == TEditJump::ToEnd)
        target = back ? 0 : Length();
    else
        target += back ? -1 : 1;
    target = std::clamp(target, 0, Length());
    if (extend == TEditExtend::Yes) {
        ExtendTo(target);
        return;
    }
    CaretPos = target;
    SelAnchor = -1;
}
