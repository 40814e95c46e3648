// TOrbEdit: construction, the property setters, and the one set of
// rectangles that both the drawing and the hit test read.
#include "skin/orb_edit.h"

#include <algorithm>

#include "platform/gui/timer.h"
#include "skin/orb_image_list.h"
#include "skin/orb_image_ops.h"
#include "skin/orb_popup_menu.h"

TOrbEdit::TOrbEdit(TComponent* owner) : TOrbUIParentControl(owner) {
    TabStop = true;
    SetCursor(TCursor::IBeam);
    SetBounds(0, 0, 100, 25);
    FBlink = std::make_unique<TTimer>(nullptr);
    FBlink->SetEnabled(false);
    FBlink->SetInterval(BlinkInterval);
    FBlink->OnTimer = [this](TComponent*) { BlinkTick(); };
}

TOrbEdit::~TOrbEdit() {
    if (FImageList) RemoveFreeNotification(FImageList);
    if (FPopupMenu) RemoveFreeNotification(FPopupMenu);
}

void TOrbEdit::Notification(TComponent* component, TOperation operation) {
    TOrbUIParentControl::Notification(component, operation);
    if (operation != TOperation::Remove) return;
    if (component == FImageList) {
        FImageList = nullptr;
        Changed();
    }
    if (component == FPopupMenu) {
        FPopupMenu = nullptr;
        FMenuOpen = false;
        Changed();
    }
}

// ---- text, caret and selection ----

void TOrbEdit::SetText(const std::string& value) {
    if (value == FModel.Text()) return;
    FModel.SetText(value);
    TextEdited(true);
}

void TOrbEdit::SetSelStart(int value) {
    const int caret = value < 0 ? -1 : std::min(value, FModel.Length());
    if (caret == FModel.CaretPos) return;
    FModel.CaretPos = caret;
    ScrollCaretIntoView();
    Changed();
}

void TOrbEdit::SetSelEnd(int value) {
    const int anchor = value < 0 ? -1 : std::min(value, FModel.Length());
    if (anchor == FModel.SelAnchor) return;
    FModel.SelAnchor = anchor;
    Changed();
}

void TOrbEdit::SetSelText(const std::string& value) { TextEdited(FModel.InsertText(value)); }

void TOrbEdit::SelectAll() {
    FModel.SelectAll();
    ScrollCaretIntoView();
    Changed();
}

bool TOrbEdit::MenuOpen() const { return FMenuOpen && FPopupMenu && FPopupMenu->Showing(); }

// ---- modes ----

void TOrbEdit::SetOnlyRead(bool value) {
    if (value == FOnlyRead) return;
    FOnlyRead = value;
    if (FOnlyRead)
        StopBlink();
    else if (Focused())
        StartBlink();
    Changed();
}

void TOrbEdit::SetPasswordChar(const std::string& value) {
    // Only the first character counts: the mask is one character per character.
    const std::string mask = value.empty() ? value : value.substr(0, Utf8SequenceLength(value, 0));
    if (mask == FPasswordChar) return;
    FPasswordChar = mask;
    MeasureChanged();
    ApplyBoxHeight();
    Changed();
}

// ---- looks ----

void TOrbEdit::SetSelColor(TColor value) {
    if (value == FSelColor) return;
    FSelColor = value;
    Changed();
}

void TOrbEdit::SetImgEdit(const TPngImage& value) {
    FImgEdit = value;
    ApplyBoxHeight();
    Changed();
}

void TOrbEdit::SetImgInput(const TPngImage& value) {
    FImgInput = value;
    Changed();
}

void TOrbEdit::SetImgPassWord(const TPngImage& value) {
    FImgPassWord = value;
    ApplyBoxHeight();
    Changed();
}

void TOrbEdit::SetEditStateCount(int value) {
    if (value < 1 || value == FEditStateCount) return;
    FEditStateCount = value;
    Changed();
}

void TOrbEdit::SetImgx1(int value) {
    if (value == FImgx1) return;
    FImgx1 = value;
    Changed();
}

void TOrbEdit::SetImgX2(int value) {
    if (value == FImgX2) return;
    FImgX2 = value;
    Changed();
}

void TOrbEdit::SetImgExtra(const TPngImage& value) {
    FImgExtra = value;
    ScrollCaretIntoView();
    Changed();
}

void TOrbEdit::SetExtraStateCount(int value) {
    value = std::clamp(value, 1, 4);
    if (value == FExtraStateCount) return;
    FExtraStateCount = value;
    Changed();
}

void TOrbEdit::SetImageList(TOrbImageList* value) {
    if (value == FImageList) return;
    if (FImageList) RemoveFreeNotification(FImageList);
    FImageList = value;
    if (FImageList) FreeNotification(FImageList);
    Changed();
}

void TOrbEdit::SetImgindex(int value) {
    if (value == FImgindex) return;
    FImgindex = value;
    Changed();
}

void TOrbEdit::SetMarginImgList(int value) {
    if (value == FMarginImgList) return;
    FMarginImgList = value;
    Changed();
}

void TOrbEdit::SetMarginText(int value) {
    if (value == FMarginText) return;
    FMarginText = value;
    Changed();
}

void TOrbEdit::SetBoxoffset(int value) {
    if (value == FBoxoffset) return;
    FBoxoffset = value;
    Changed();
}

void TOrbEdit::SetOutWidth(int value) {
    if (value == FOutWidth) return;
    FOutWidth = value;
    Changed();
}

void TOrbEdit::SetPopupMenu(TOrbPopupMenu* value) {
    if (value == FPopupMenu) return;
    if (FPopupMenu) RemoveFreeNotification(FPopupMenu);
    FPopupMenu = value;
    FMenuOpen = false;
    if (FPopupMenu) FreeNotification(FPopupMenu);
}

const TPngImage& TOrbEdit::BoxImage() const {
    if (!FPasswordChar.empty() && !FImgPassWord.Empty()) return FImgPassWord;
    if (Focused() && !FOnlyRead && !FImgInput.Empty()) return FImgInput;
    return FImgEdit;
}

// The control is as tall as its box frame.
void TOrbEdit::ApplyBoxHeight() {
    const TPngImage& box = !FPasswordChar.empty() && !FImgPassWord.Empty() ? FImgPassWord : FImgEdit;
    if (!box.Empty()) SetHeight(box.Height());
}

void TOrbEdit::EnabledChanged() {
    TOrbUIParentControl::EnabledChanged();
    if (!Enabled()) StopBlink();
    Changed();
}

void TOrbEdit::Resized() {
    TOrbUIParentControl::Resized();
    ScrollCaretIntoView();
    Changed();
}

// ---- geometry ----

TRect TOrbEdit::PictureRect() const {
    if (!FImageList || FImgindex < 0 || FImgindex >= FImageList->Count()) return {};
    const int w = FImageList->ImgWidth, h = FImageList->ImgHeight;
    return Bounds(FBoxoffset + FMarginImgList, (Height() - h) / 2, w, h);
}

TRect TOrbEdit::ExtraRect() const {
    const std::optional<TPngImage> frame = SliceState(FImgExtra, FExtraStateCount, 0);
    if (!frame) return {};
    const int w = frame->Width(), h = frame->Height();
    return Bounds(Width() - FBoxoffset - w, (Height() - h) / 2, w, h);
}

TRect TOrbEdit::TextRect() const {
    const TRect picture = PictureRect(), extra = ExtraRect();
    const int left = (picture.IsEmpty() ? FBoxoffset : picture.Right) + FMarginText;
    const int right = (extra.IsEmpty() ? Width() - FBoxoffset : extra.Left) - FMarginText;
    return {left, FBoxoffset, std::max(left, right), std::max(FBoxoffset, Height() - FBoxoffset)};
}

TOrbEdit::TPart TOrbEdit::PartAt(TPoint p) const {
    if (!ClientRect().Contains(p)) return TPart::None;
    if (ExtraRect().Contains(p)) return TPart::Extra;
    if (PictureRect().Contains(p)) return TPart::Picture;
    return TPart::Text;
}

int TOrbEdit::CaretX(int index) const {
    const std::vector<int>& xs = BoundaryX();
    const int i = std::clamp(index, 0, int(xs.size()) - 1);
    return TextRect().Left - FScrollX + xs[size_t(i)];
}

int TOrbEdit::CharIndexAt(int x) const {
    const std::vector<int>& xs = BoundaryX();
    const int local = x - (TextRect().Left - FScrollX);
    // The first boundary past the point, then whichever of it and the one
    // before lies nearer: a press on a character's right half goes after it.
    auto next = std::lower_bound(xs.begin(), xs.end(), local);
    if (next == xs.begin()) return 0;
    if (next == xs.end()) return int(xs.size()) - 1;
    const int after = int(next - xs.begin());
    return local - xs[size_t(after - 1)] < *next - local ? after - 1 : after;
}
