// TOrbScrollBar, the skinned scroll bar: a track, two arrow buttons and a
// thumb drawn from state strips, a position range mapped onto the thumb,
// auto-repeat on the buttons and page areas, thumb dragging and the wheel.
// Every change is reported through OnScroll, whose handler may adjust the
// position. TOrbScrollBarRes holds one set of images and settings that
// several bars share (each window has one for its lists).
#pragma once

#include <functional>

#include "skin/orb_control.h"

class TTimer;

enum TOrbUIScrollkind { skHor, skVer };

// The images, frame counts, splits and options a bar takes from a shared
// resource.
struct TOrbScrollBarSkin {
    TPngImage ImgBack, ImgSlider, ImgBtnLT, ImgBtnRB, ImgCenter;
    int SliderStateCount = 4;
    int BtnStateCount = 4;
    int BackStateCount = 2;
    int CenterStateCount = 4;
    TOrbUIPadding SliderSplit, BackSplit;
    int BtnoffSet = 0;
    bool ShowButton = true;
    bool JoinButton = false;
    TSplitMode SplitMode = SmHor;
};

class TOrbScrollBarRes : public TComponent {
public:
    explicit TOrbScrollBarRes(TComponent* owner = nullptr) : TComponent(owner) {}
    TOrbScrollBarSkin Skin;
};

using TOrbScrollEvent = std::function<void(TComponent* sender, int& scrollPos)>;

class TOrbScrollBar : public TOrbUIParentControl {
public:
    explicit TOrbScrollBar(TComponent* owner);
    ~TOrbScrollBar() override;

    // The images and settings (after changing them directly, call
    // SkinChanged so the cached pieces are rebuilt).
    TOrbScrollBarSkin Skin;
    void SkinChanged();
    // Copies everything from the resource and rebuilds the images; a freed
    // resource is dropped by notification.
    TOrbScrollBarRes* ScrollRes() const { return FScrollRes; }
    void SetScrollRes(TOrbScrollBarRes* value);

    int Min() const { return FMin; }
    int Max() const { return FMax; }
    int PageSize() const { return FPageSize; }
    int Position() const { return FPosition; }
    void SetMin(int value);
    void SetMax(int value);
    void SetPageSize(int value);  // negative ignored; at most Max - Min + 1
    void SetPosition(int value);  // clamped to [Min, Max - PageSize + 1]
    void SetParams(int min, int max, int pageSize, int position);
    int SmallChange = 1;
    int LargeChange = 1;
    TOrbUIScrollkind Kind() const { return FKind; }
    void SetKind(TOrbUIScrollkind value);

    TOrbScrollEvent OnScroll;
    TNotifyEvent OnLostFocus;

    // The parts, in client coordinates (empty when absent): shared by the
    // drawing and the hit test.
    struct TGeometry {
        TRect BtnLT, BtnRB, Track, Thumb, PageBefore, PageAfter;
    };
    TGeometry Geometry() const;
    // The position a thumb starting at `coordinate` stands for.
    int PositionFromCoordinate(int coordinate) const;
    // The part under a point (client coordinates), from the same rectangles.
    enum class TPart { None, BtnLT, BtnRB, PageBefore, Thumb, PageAfter };
    TPart PartAt(TPoint p) const;
    // Per-part hover and press, as the drawing sees them.
    bool PartHovered(TPart part) const;
    bool PartPressed(TPart part) const;

    void DrawControl(TBitmap32& buffer) override;

protected:
    void Loaded() override;
    void MouseDown(TMouseButton button, TShiftState shift, TPoint p) override;
    void MouseUp(TMouseButton button, TShiftState shift, TPoint p) override;
    void MouseMove(TShiftState shift, TPoint p) override;
    void MouseLeave() override;
    TEventResult MouseWheel(int delta, TShiftState shift, TPoint p) override;
    void FocusExit() override;
    void Resized() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    struct TImpl;
    void EnabledChanged() override;
    // A press always focuses the bar, though it is no tab stop.
    bool FocusOnClick() const override { return true; }
    void ApplySkinSize();
    void ApplyParams(long long min, long long max, int pageSize, long long position);
    int ClampPosition(long long value) const;
    long long ScrollRange() const;
    int ThumbLength(int trackLength) const;
    int Along(TPoint p) const { return FKind == skVer ? p.Y : p.X; }
    void SetHoverPart(TPart part);
    void DragThumb(TPoint p);
    void Step(TPart part);
    void StartRepeat();
    void StopRepeat();
    void RepeatTick();
    void DrawTrack(TBitmap32& buffer, bool disabled);
    void DrawButtons(TBitmap32& buffer, const TGeometry& g, bool disabled);
    void DrawThumb(TBitmap32& buffer, const TGeometry& g, bool disabled);
    TOrbScrollBarRes* FScrollRes = nullptr;
    int FMin = 0, FMax = 100, FPageSize = 1, FPosition = 0;
    TOrbUIScrollkind FKind = skVer;
    std::unique_ptr<TImpl> FImpl;
};
