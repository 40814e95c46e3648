// TOrbButton's properties and the preparation of its state images: the
// strip is cut into frames when it, its frame count or its split changes,
// and the frames are rebuilt at the button's size when that changes.
#include "skin/orb_button.h"

#include <algorithm>

#include "skin/orb_image_ops.h"
#include "skin/orb_image_list.h"

namespace {

void BlendOver(TPngImage& image) {
    image.DrawMode = TDrawMode::Blend;
    image.CombineMode = TCombineMode::Merge;
}

bool NineCut(const TOrbUIPadding& split) { return split.Left() < split.Right() && split.Top() < split.Bottom(); }
bool Widened(const TOrbUIPadding& split) { return !NineCut(split) && split.Left() < split.Right(); }

}  // namespace

TOrbButton::TOrbButton(TComponent* owner) : TOrbPushControl<TOrbUIGraphicControl>(owner) {
    SetColor(0x0000FF);
    SetBounds(0, 0, 100, 25);
}

TOrbButton::~TOrbButton() {
    if (FImagelist) RemoveFreeNotification(FImagelist);
    if (FImgBtnBackList && FImgBtnBackList != FImagelist) RemoveFreeNotification(FImgBtnBackList);
}

void TOrbButton::Loaded() {
    TOrbPushControl<TOrbUIGraphicControl>::Loaded();
    PrepareImages();
}

void TOrbButton::Resized() {
    if (!IsLoading()) BuildStateImages();
    TOrbPushControl<TOrbUIGraphicControl>::Resized();
}

void TOrbButton::Notification(TComponent* component, TOperation operation) {
    TOrbPushControl<TOrbUIGraphicControl>::Notification(component, operation);
    if (operation != TOperation::Remove) return;
    if (component == FImagelist) FImagelist = nullptr;
    if (component == FImgBtnBackList) FImgBtnBackList = nullptr;
}

void TOrbButton::PushChanged() {
    // A selected button looks the same whatever the mouse does.
    if (FBtnStatus == bsSelect && IsEnabledInTree()) return;
    TOrbPushControl<TOrbUIGraphicControl>::PushChanged();
}

void TOrbButton::PrepareImages() {
    if (IsLoading()) return;
    FFrames.fill(std::nullopt);
    if (FBtnStateCount == 1) {
        FFrames[bsOver] = SliceState(FImgBtn, 1, 0);
    } else {
        for (int k = 0; k < std::min(FBtnStateCount, int(FFrames.size())); ++k)
            FFrames[size_t(k)] = SliceState(FImgBtn, FBtnStateCount, k);
    }
    for (auto& frame : FFrames)
        if (frame) BlendOver(*frame);
    ApplyAutoSize();
    BuildStateImages();
    Changed();
}

void TOrbButton::BuildStateImages() {
    for (size_t k = 0; k < FFrames.size(); ++k) {
        FStateImages[k].reset();
        if (!FFrames[k]) continue;
        const TPngImage& frame = *FFrames[k];
        if (NineCut(FBtnSplit) && Width() > 0 && Height() > 0) {
            if (auto pieces = Cut9(frame, FBtnSplit)) {
                TPngImage built;
                Assemble9(built, Width(), Height(), *pieces);
                FStateImages[k] = std::move(built);
            }
        } else if (Widened(FBtnSplit) && Width() > 0) {
            FStateImages[k] = Stretch3H(frame, FBtnSplit.Left(), FBtnSplit.Right(), 255, clNone, Width());
        }
        // A split the frame cannot be cut at leaves the frame as it is.
        if (!FStateImages[k]) FStateImages[k] = frame;
        BlendOver(*FStateImages[k]);
    }
}

void TOrbButton::ApplyAutoSize() {
    if (!FAutoSize) return;
    const auto& reference = FFrames[bsNormal] ? FFrames[bsNormal] : FFrames[bsOver];
    if (!reference) return;
    // A nine-cut frame is rebuilt at whatever size the button has.
    if (NineCut(FBtnSplit)) return;
    if (Widened(FBtnSplit))
        SetHeight(reference->Height());
    else
        SetBounds(Left(), Top(), reference->Width(), reference->Height());
}

void TOrbButton::SetImgBtn(const TPngImage& value) {
    FImgBtn = value;
    PrepareImages();
}

void TOrbButton::SetBtnStateCount(int value) {
    if (value < 1 || value == FBtnStateCount) return;
    FBtnStateCount = value;
    PrepareImages();
}

void TOrbButton::SetBtnSplit(const TOrbUIPadding& value) {
    if (value == FBtnSplit) return;
    FBtnSplit = value;
    PrepareImages();
}

void TOrbButton::SetAutoSize(bool value) {
    if (value == FAutoSize) return;
    FAutoSize = value;
    if (!IsLoading()) ApplyAutoSize();
}

void TOrbButton::SetCaption(const std::string& value) {
    if (value == FCaption) return;
    FCaption = value;
    Changed();
}

void TOrbButton::SetStateFont(TOrbUIBtnStatus state, const TFont& value) {
    if (value == FFonts[state]) return;
    FFonts[state] = value;
    Changed();
}

void TOrbButton::SetAllFonts(const TFont& value) {
    FFonts.fill(value);
    Changed();
}

void TOrbButton::SetGraph(const TPngImage& value) {
    FGraph = value;
    BlendOver(FGraph);
    Changed();
}

namespace {
template <class T>
bool Store(T& field, const T& value) {
    if (field == value) return false;
    field = value;
    return true;
}
}  // namespace

void TOrbButton::SetLayout(TOrbUILayout value) {
    if (Store(FLayout, value)) Changed();
}
void TOrbButton::SetGraphTopFix(int value) {
    if (Store(FGraphTopFix, value)) Changed();
}
void TOrbButton::SetGraphLeftFix(int value) {
    if (Store(FGraphLeftFix, value)) Changed();
}
void TOrbButton::SetCaptionTopFix(int value) {
    if (Store(FCaptionTopFix, value)) Changed();
}
void TOrbButton::SetCaptionLeftFix(int value) {
    if (Store(FCaptionLeftFix, value)) Changed();
}
void TOrbButton::SetJustCaptionLeft(bool value) {
    if (Store(FJustCaptionLeft, value)) Changed();
}
void TOrbButton::SetCenterJustify(bool value) {
    if (Store(FCenterJustify, value)) Changed();
}
void TOrbButton::SetRightJustify(bool value) {
    if (Store(FRightJustify, value)) Changed();
}
void TOrbButton::SetRightLimite(int value) {
    if (Store(FRightLimite, value)) Changed();
}
void TOrbButton::SetImgindex(int value) {
    if (Store(FImgindex, value)) Changed();
}
void TOrbButton::SetJustUseImgList(bool value) {
    if (Store(FJustUseImgList, value)) Changed();
}
void TOrbButton::SetButtonTab(bool value) {
    if (Store(FButtonTab, value)) Changed();
}
void TOrbButton::SetGroupIndex(int value) { FGroupIndex = value; }
void TOrbButton::SetShowAccelChar(bool value) {
    if (Store(FShowAccelChar, value)) Changed();
}

void TOrbButton::SetListRef(TOrbImageList*& field, TOrbImageList* value) {
    if (field == value) return;
    TOrbImageList* old = field;
    field = value;
    // One link serves both references when they name the same list.
    if (old && old != FImagelist && old != FImgBtnBackList) RemoveFreeNotification(old);
    if (value) FreeNotification(value);
    Changed();
}

void TOrbButton::SetImagelist(TOrbImageList* value) { SetListRef(FImagelist, value); }
void TOrbButton::SetImgBtnBackList(TOrbImageList* value) { SetListRef(FImgBtnBackList, value); }

void TOrbButton::SetBtnStatus(TOrbUIBtnStatus value) {
    if (value == FBtnStatus) return;
    FBtnStatus = value;
    if (value == bsSelect && FButtonTab && FGroupIndex >= 0 && Parent()) {
        for (int i = 0; i < Parent()->ControlCount(); ++i) {
            auto* other = dynamic_cast<TOrbButton*>(Parent()->Controls(i));
            if (!other || other == this || !other->FButtonTab || other->FGroupIndex != FGroupIndex) continue;
            if (other->FBtnStatus != bsSelect) continue;
            other->FBtnStatus = bsNormal;
            other->Changed();
        }
    }
    Changed();
}
