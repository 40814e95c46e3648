// The in-memory native control models.
#include "platform/offscreen/offscreen_native.h"

namespace {
int LineCount(const std::string& text) { return int(std::count(text.begin(), text.end(), '\n')) + 1; }

int LongestLine(const std::string& text) {
    int longest = 0, current = 0;
    for (char c : text) {
        if (c == '\n') {
            longest = std::max(longest, current);
            current = 0;
        } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            current++;  // counts characters, not UTF-8 continuation bytes
        }
    }
    return std::max(longest, current);
}
}  // namespace

TOffscreenTextEditor::TOffscreenTextEditor(TForm& form, TModelRegistry<TOffscreenTextEditor>& registry)
    : TOffscreenNative(form), FRegistry(registry) {
    FRegistry.Add(this);
}

TOffscreenTextEditor::~TOffscreenTextEditor() { FRegistry.Remove(this); }

void TOffscreenTextEditor::SetText(const std::string& utf8) {
    if (utf8 == FText) return;
    FText = utf8;
    UpdateRanges();
    if (OnChange) OnChange(this);
}

void TOffscreenTextEditor::UserType(const std::string& utf8) {
    if (ReadOnly == TReadOnly::Yes || utf8.empty()) return;
    SetText(FText + utf8);
}

void TOffscreenTextEditor::SetWordWrap(TWordWrap value) {
    if (value == WordWrap) return;
    WordWrap = value;
    UpdateRanges();
}

void TOffscreenTextEditor::SetBounds(const TRect& formRect) {
    if (formRect == Bounds) return;
    Bounds = formRect;
    UpdateRanges();
}

TScrollState TOffscreenTextEditor::Scroll(TScrollDirection direction) const { return FScroll[int(direction)]; }

void TOffscreenTextEditor::ScrollTo(TScrollDirection direction, int pos) {
    TScrollState& s = FScroll[int(direction)];
    int top = std::max(s.Min, s.Max - std::max(s.Page, 1) + 1);
    pos = std::clamp(pos, s.Min, top);
    if (pos == s.Pos) return;
    s.Pos = pos;
    if (OnScroll) OnScroll(this);
}

void TOffscreenTextEditor::UpdateRanges() {
    TScrollState v{0, LineCount(FText) - 1, std::max(1, Bounds.Height() / std::max(1, LineHeight)), 0};
    TScrollState h{0, 0, std::max(1, Bounds.Width() / std::max(1, CharWidth)), 0};
    // Wrapped text never scrolls sideways.
    if (WordWrap == TWordWrap::No) h.Max = std::max(0, LongestLine(FText) - 1);
    v.Pos = std::clamp(FScroll[1].Pos, 0, std::max(0, v.Max - v.Page + 1));
    h.Pos = std::clamp(FScroll[0].Pos, 0, std::max(0, h.Max - h.Page + 1));
    bool changed = !(v == FScroll[1]) || !(h == FScroll[0]);
    FScroll[0] = h;
    FScroll[1] = v;
    if (changed && OnScroll) OnScroll(this);
}

TOffscreenDatePicker::TOffscreenDatePicker(TForm& form, TModelRegistry<TOffscreenDatePicker>& registry)
    : TOffscreenNative(form), FRegistry(registry) {
    FRegistry.Add(this);
}
TOffscreenDatePicker::~TOffscreenDatePicker() { FRegistry.Remove(this); }
void TOffscreenDatePicker::UserPick(TDateTime value) {
    if (!IsEnabled || DateOf(value) == FDate) return;
    FDate = DateOf(value);
    if (OnChange) OnChange(this);
}

TOffscreenTimePicker::TOffscreenTimePicker(TForm& form, TModelRegistry<TOffscreenTimePicker>& registry)
    : TOffscreenNative(form), FRegistry(registry) {
    FRegistry.Add(this);
}
TOffscreenTimePicker::~TOffscreenTimePicker() { FRegistry.Remove(this); }
void TOffscreenTimePicker::UserPick(TDateTime value) {
    if (!IsEnabled || TimeOf(value) == FTime) return;
    FTime = TimeOf(value);
    if (OnChange) OnChange(this);
}

TOffscreenWebView::TOffscreenWebView(TForm& form, TModelRegistry<TOffscreenWebView>& registry)
    : TOffscreenNative(form), FRegistry(registry) {
    FRegistry.Add(this);
}
TOffscreenWebView::~TOffscreenWebView() { FRegistry.Remove(this); }

void TOffscreenWebView::Navigate(const std::string& url) {
    FUrl = url;
    FPending = true;
    FBody = TBody::Missing;
}

void TOffscreenWebView::FinishNavigation(TBody body) {
    if (!FPending) return;
    FPending = false;
    FBody = body;
    if (OnNavigateComplete) OnNavigateComplete(this, FUrl);
}

void TOffscreenWebView::RunScript(const std::string& script, std::function<void(const std::string&)> done) {
    Scripts.push_back(script);
    std::string result = ScriptHandler ? ScriptHandler(script) : std::string();
    if (done) done(result);
}

TOffscreenTrayIcon::TOffscreenTrayIcon(TModelRegistry<TOffscreenTrayIcon>& registry) : FRegistry(registry) {
    FRegistry.Add(this);
}
TOffscreenTrayIcon::~TOffscreenTrayIcon() { FRegistry.Remove(this); }
void TOffscreenTrayIcon::UserClick(TPoint screenPoint) {
    if (Embedded() && OnClick) OnClick(this, screenPoint);
}
void TOffscreenTrayIcon::UserRightButtonDown(TPoint screenPoint) {
    if (Embedded() && OnRightButtonDown) OnRightButtonDown(this, screenPoint);
}
void TOffscreenTrayIcon::SetImages(const std::vector<TBitmap32>& images) {
    Images = images;
    Image = TBitmap32();
    for (const TBitmap32& image : images)
        if (image.Width() * image.Height() > Image.Width() * Image.Height()) Image = image;
}
void TOffscreenTrayIcon::SetTrayPresent(bool present) {
    if (present == TrayPresent) return;
    TrayPresent = present;
    if (OnTrayChanged) OnTrayChanged(this);
}
