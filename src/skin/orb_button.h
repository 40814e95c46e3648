// TOrbButton, the skinned image button: a state strip (normal, over, down,
// disabled, selected, focused) prepared once at the button's size, an
// optional glyph (a picture by layout, or an image-list entry), a caption
// in a font per state, the hover fade, and the tab-button mode in which the
// owner keeps one button of a group drawn selected.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "skin/orb_button_caption.h"
#include "skin/orb_control.h"
#include "skin/orb_push_behaviour.h"

class TOrbImageList;

using TOrbAfterDrawEvent = std::function<void(TComponent* Sender, TBitmap32& ACanvas)>;

class TOrbButton : public TOrbPushControl<TOrbUIGraphicControl> {
public:
    explicit TOrbButton(TComponent* owner);
    ~TOrbButton() override;

    // The state strip: frame k is state k of TOrbUIBtnStatus; with a single
    // frame it is the hover image only.
    const TPngImage& ImgBtn() const { return FImgBtn; }
    void SetImgBtn(const TPngImage& value);
    int BtnStateCount() const { return FBtnStateCount; }
    void SetBtnStateCount(int value);  // below 1 ignored
    const TOrbUIPadding& BtnSplit() const { return FBtnSplit; }
    void SetBtnSplit(const TOrbUIPadding& value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);
    const TFont& FontNormal() const { return FFonts[bsNormal]; }
    const TFont& FontOver() const { return FFonts[bsOver]; }
    const TFont& FontDown() const { return FFonts[bsDown]; }
    const TFont& FontDisable() const { return FFonts[bsDisable]; }
    const TFont& FontSelect() const { return FFonts[bsSelect]; }
    const TFont& FontFocus() const { return FFonts[bsFocus]; }
    void SetFontNormal(const TFont& value) { SetStateFont(bsNormal, value); }
    void SetFontOver(const TFont& value) { SetStateFont(bsOver, value); }
    void SetFontDown(const TFont& value) { SetStateFont(bsDown, value); }
    void SetFontDisable(const TFont& value) { SetStateFont(bsDisable, value); }
    void SetFontSelect(const TFont& value) { SetStateFont(bsSelect, value); }
    void SetFontFocus(const TFont& value) { SetStateFont(bsFocus, value); }
    // Every state font at once (a window's language font).
    void SetAllFonts(const TFont& value);

    const TPngImage& Graph() const { return FGraph; }
    void SetGraph(const TPngImage& value);
    TOrbUILayout Layout() const { return FLayout; }
    void SetLayout(TOrbUILayout value);
    int GraphTopFix() const { return FGraphTopFix; }
    void SetGraphTopFix(int value);
    int GraphLeftFix() const { return FGraphLeftFix; }
    void SetGraphLeftFix(int value);
    int CaptionTopFix() const { return FCaptionTopFix; }
    void SetCaptionTopFix(int value);
    int CaptionLeftFix() const { return FCaptionLeftFix; }
    void SetCaptionLeftFix(int value);
    bool JustCaptionLeft() const { return FJustCaptionLeft; }
    void SetJustCaptionLeft(bool value);
    bool CenterJustify() const { return FCenterJustify; }
    void SetCenterJustify(bool value);
    bool RightJustify() const { return FRightJustify; }
    void SetRightJustify(bool value);
    int RightLimite() const { return FRightLimite; }
    void SetRightLimite(int value);

    // Glyphs from an image list (not owned; dropped when it is freed).
    TOrbImageList* Imagelist() const { return FImagelist; }
    void SetImagelist(TOrbImageList* value);
    int Imgindex() const { return FImgindex; }
    void SetImgindex(int value);
    bool JustUseImgList() const { return FJustUseImgList; }
    void SetJustUseImgList(bool value);
    TOrbImageList* ImgBtnBackList() const { return FImgBtnBackList; }
    void SetImgBtnBackList(TOrbImageList* value);

    bool ButtonTab() const { return FButtonTab; }
    void SetButtonTab(bool value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    // bsSelect keeps the button drawn selected; selecting a tab button
    // returns the selected tab buttons of its group (same parent, same
    // GroupIndex of 0 or more) to bsNormal.
    TOrbUIBtnStatus BtnStatus() const { return FBtnStatus; }
    void SetBtnStatus(TOrbUIBtnStatus value);

    bool FadeEffect() const { return Push().FadeEffect(); }
    void SetFadeEffect(bool value) { Push().SetFadeEffect(value); }
    int FadeInterVal() const { return Push().FadeInterVal(); }
    void SetFadeInterVal(int value) { Push().SetFadeInterVal(value); }

    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool value);

    TOrbAfterDrawEvent OnAfterDraw;

    // The state drawn now, and where the parts go (client coordinates; an
    // empty rectangle when the part is not drawn).
    TOrbUIBtnStatus DrawState() const;
    struct TLayoutResult {
        TRect Glyph, Caption;
        bool CaptionCut = false;
    };
    TLayoutResult LayoutParts() const;

    void Loaded() override;
    void DrawControl(TBitmap32& buffer) override;

protected:
    void PushChanged() override;
    void Resized() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void SetStateFont(TOrbUIBtnStatus state, const TFont& value);
    void PrepareImages();
    void BuildStateImages();
    void ApplyAutoSize();
    void SetListRef(TOrbImageList*& field, TOrbImageList* value);
    const TPngImage* StateImage(TOrbUIBtnStatus state) const;
    TPoint GlyphSize() const;
    bool HasListGlyph() const;
    int ListGlyphIndex(TOrbUIBtnStatus state) const;
    TRect GlyphRect(TPoint size, TOrbUIBtnStatus state, const TRect& caption) const;
    TRect CaptionRect(const TRect& leftGlyph, bool& cut) const;
    void DrawBackground(TBitmap32& buffer, TOrbUIBtnStatus state);
    void DrawGlyph(TBitmap32& buffer, const TRect& rect, TOrbUIBtnStatus state);
    void DrawCaption(TBitmap32& buffer, const TRect& rect, TOrbUIBtnStatus state);

    TPngImage FImgBtn;
    int FBtnStateCount = 4;
    TOrbUIPadding FBtnSplit;
    bool FAutoSize = true;
    std::string FCaption;
    std::array<TFont, 6> FFonts;
    TPngImage FGraph;
    TOrbUILayout FLayout = olGlphyLeft;
    int FGraphTopFix = 0, FGraphLeftFix = 0, FCaptionTopFix = 0, FCaptionLeftFix = 0;
    bool FJustCaptionLeft = false, FCenterJustify = false, FRightJustify = false;
    int FRightLimite = 0;
    TOrbImageList* FImagelist = nullptr;
    int FImgindex = -1;
    bool FJustUseImgList = false;
    TOrbImageList* FImgBtnBackList = nullptr;
    bool FButtonTab = false;
    int FGroupIndex = -1;
    TOrbUIBtnStatus FBtnStatus = bsNormal;
    bool FShowAccelChar = true;

    // The strip's frames as cut, and the same prepared at the button's size.
    std::array<std::optional<TPngImage>, 6> FFrames;
    std::array<std::optional<TPngImage>, 6> FStateImages;
    TOrbCutHint FCutHint;
};
