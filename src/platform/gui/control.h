// TControl and TWinControl: the nodes of a form's control tree.
// A TControl is windowless: it lives inside its parent's area and draws into
// its own buffer during the form's paint pass. A TWinControl also holds
// children (owned, in z-order, the last one on top) and may take the
// keyboard focus. Input reaches both through small protected hooks that the
// form's one dispatcher calls; owners react through the On... events.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/bitmap32.h"
#include "platform/gfx/font.h"
#include "platform/gui/component.h"
#include "platform/gui/gui_types.h"

class TWinControl;
class TForm;

using TNotifyEvent = std::function<void(TComponent* sender)>;
using TMouseEvent = std::function<void(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TComponent* sender, TShiftState shift, int x, int y)>;
using TMouseWheelEvent = std::function<void(TComponent* sender, TShiftState shift, int delta, TPoint point, bool& handled)>;
using TKeyEvent = std::function<void(TComponent* sender, int& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TComponent* sender, const std::string& text)>;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    // Geometry: bounds are in the parent's client coordinates (a form's are
    // screen coordinates of its client area).
    int Left() const { return FBounds.Left; }
    int Top() const { return FBounds.Top; }
    int Width() const { return FBounds.Width(); }
    int Height() const { return FBounds.Height(); }
    const TRect& BoundsRect() const { return FBounds; }
    TRect ClientRect() const { return {0, 0, Width(), Height()}; }
    virtual void SetBounds(int left, int top, int width, int height);
    void SetLeft(int value) { SetBounds(value, Top(), Width(), Height()); }
    void SetTop(int value) { SetBounds(Left(), value, Width(), Height()); }
    void SetWidth(int value) { SetBounds(Left(), Top(), value, Height()); }
    void SetHeight(int value) { SetBounds(Left(), Top(), Width(), value); }
    // This control's rectangle in its form's client coordinates.
    TRect FormRect() const;
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;

    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool value);
    // Visible here and in every parent up to a visible form.
    bool IsShowing() const;
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    bool IsEnabledInTree() const;

    std::string Hint;  // "short|long": the tooltip shows the short part
    bool ShowHint = false;
    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);  // clNone: nothing painted under Paint
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value);

    TWinControl* Parent() const { return FParent; }
    TForm* Form() const;
    virtual TForm* AsForm() { return nullptr; }
    virtual TWinControl* AsWinControl() { return nullptr; }
    // True when `other` is this control or lies inside it.
    bool Contains(const TControl* other) const;
    bool MouseInControl() const { return FMouseInControl; }

    // Painting: marks the control (or part of it, client coordinates) for
    // the next paint pass; Update runs the pass at once.
    void Invalidate();
    void InvalidateRect(const TRect& rect);
    void Update();
    void BringToFront();
    void SendToBack();

    // During Paint: the part of the buffer that will reach the screen, and
    // a copy of what lies beneath the control (its parent and the siblings
    // below it, already composed) for controls that show through.
    const TRect& PaintClip() const { return FPaintClip; }
    void PaintParentBackground(TBitmap32& canvas) const;
    const TBitmap32& Buffer() const { return FBuffer; }

    // What the control shows on screen now (with whatever covers it), as a
    // copy; pending damage is painted first.
    TBitmap32 CaptureImage() const;

    TNotifyEvent OnClick, OnDblClick, OnMouseEnter, OnMouseLeave, OnResize;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TMouseWheelEvent OnMouseWheel;

protected:
    // Draws the control into `canvas` (its own buffer, sized to the control,
    // transparent where nothing is drawn). The default fills Color.
    virtual void Paint(TBitmap32& canvas);
    virtual void MouseDown(TMouseButton button, TShiftState shift, TPoint p);
    virtual void MouseUp(TMouseButton button, TShiftState shift, TPoint p);
    virtual void MouseMove(TShiftState shift, TPoint p);
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void Click();
    virtual void DblClick();
    virtual TEventResult MouseWheel(int delta, TShiftState shift, TPoint p);
    // Whether the point (client coordinates) belongs to the control; shaped
    // controls and decorations that let clicks through override it.
    virtual bool HitTest(TPoint p) const;
    virtual void EnabledChanged();
    virtual void Resized();  // after a size change; calls OnResize
    // After this control or one of its parents was shown, hidden, moved or
    // resized (called on the control and every control inside it): what
    // it placed outside the paint pass, a native widget, follows.
    virtual void PlacementChanged() {}

private:
    friend class TWinControl;
    friend class TForm;
    void InvalidateFormArea(const TRect& formRect);
    void NotifyPlacement();

    TWinControl* FParent = nullptr;
    TRect FBounds;
    bool FVisible = true;
    bool FEnabled = true;
    bool FMouseInControl = false;
    TFont FFont;
    TColor FColor = clNone;
    TCursor FCursor = TCursor::Default;
    TBitmap32 FBuffer;
    TRect FPaintClip;
};

enum class TTabDirection { Forward, Backward };

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;
    TWinControl* AsWinControl() override { return this; }

    // Creates a child on top of the others. Its owner is the form this
    // control sits on (the language pass finds it there), else this control.
    // A child added to a form that has already shown is Loaded at once;
    // before that, the form's first show loads all its components.
    template <class T, class... Args>
    T* Add(Args&&... args) {
        auto child = std::make_unique<T>(ChildOwner(), std::forward<Args>(args)...);
        T* raw = child.get();
        InsertControl(std::move(child));
        LoadIfFormLoaded(*raw);
        return raw;
    }
    void InsertControl(std::unique_ptr<TControl> child);
    std::unique_ptr<TControl> RemoveControl(TControl* child);
    void DestroyControl(TControl* child);  // frees a child now
    int ControlCount() const { return int(FControls.size()); }
    TControl* Controls(int index) const { return FControls[size_t(index)].get(); }
    int IndexOf(const TControl* child) const;
    // The topmost visible, enabled child under `p` (client coordinates),
    // searched down to the deepest level; null when none.
    TControl* ControlAt(TPoint p);

    bool TabStop = false;
    int TabOrder() const { return FTabOrder; }
    void SetTabOrder(int value);
    // Visible and enabled up to the form (which may be hidden).
    bool CanFocus() const;
    bool Focused() const;
    void SetFocus();

    TKeyEvent OnKeyDown, OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter, OnExit;

protected:
    // Setting `key` to 0 consumes it (a Tab so consumed does not move focus).
    virtual void KeyDown(int& key, TShiftState shift);
    virtual void KeyUp(int& key, TShiftState shift);
    virtual void KeyPress(const std::string& text);
    virtual void FocusEnter();
    virtual void FocusExit();
    // Whether a press on the control (or a windowless child) focuses it.
    virtual bool FocusOnClick() const { return TabStop; }
    void DestroyChildren();

private:
    friend class TForm;
    friend class TControl;
    TComponent* ChildOwner();
    void LoadIfFormLoaded(TControl& child);

    std::vector<std::unique_ptr<TControl>> FControls;
    int FTabOrder = 0;
};
