// TForm: a top-level window. It owns the native window through the host,
// composes its control tree into one bitmap on each paint pass, and is the
// one dispatcher of input: it finds the target control (capture first, then
// the topmost visible, enabled control under the point), tracks hover,
// capture and focus, and calls the target's hooks.
#pragma once

#include <functional>

#include "platform/gui/control.h"
#include "platform/gui/host.h"

enum class TCloseAction { None, Hide, Free, Minimize };

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;
    TForm* AsForm() override { return this; }

    // Identifies the form in posted messages; never reused.
    uint64_t Handle() const { return FHandle; }
    THostWindow Window() const { return FWindow; }
    // Makes the host window exist without showing it, so native controls
    // can be placed on the form before its first show.
    void HandleNeeded();

    void SetBounds(int left, int top, int width, int height) override;
    // The first show calls Loaded on every component still loading, in
    // creation order, then on the form.
    void SetVisible(bool value) override;
    void Show() { SetVisible(true); }
    // Loads the components as the first show would, without showing: a
    // window that starts hidden runs its creation here.
    void LoadWithoutShowing();
    void Hide() { SetVisible(false); }
    // Asks OnCloseQuery, then acts on OnClose's action (Hide by default; the
    // main form's close ends the application). A modal form's close ends
    // its loop with mrCancel unless a result is set.
    void Close();
    // Frees the form once the event being handled has finished.
    void Release();
    TModalResult ShowModal();
    TModalResult ModalResult = mrNone;
    bool IsModal() const { return FModal; }

    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* control);
    // Moves the focus to the next (or previous) tab stop after `from`.
    void SelectNext(TWinControl* from, TTabDirection direction);
    // The form's own KeyDown/KeyUp see keys before the focused control;
    // a key the form sets to 0 goes no further.
    bool KeyPreview = false;
    TControl* CaptureControl() const { return FCapture; }
    void SetCaptureControl(TControl* control);
    TControl* HoverControl() const { return FHover; }
    bool Active() const { return FActive; }

    // Window features, handed to the host.
    uint8_t Opacity() const { return FOpacity; }
    void SetOpacity(uint8_t value);
    TTransparency Transparency() const { return FTransparency; }
    void SetTransparency(TTransparency value);
    void SetShape(const TWindowShape& shape);
    TStayOnTop StayOnTop() const { return FStayOnTop; }
    void SetStayOnTop(TStayOnTop value);
    TForm* OwnerForm() const { return FOwnerForm; }
    void SetOwnerForm(TForm* value);
    TActivation Activation() const { return FActivation; }
    void SetActivation(TActivation value);
    TWindowState WindowState() const { return FWindowState; }
    void SetWindowState(TWindowState value);
    void SlideIn(const TRect& finalBounds, int durationMs);
    void BeginSystemMove();
    void Activate();

    // The composed image of the whole client area and the damage waiting
    // for the next paint pass.
    const TBitmap32& Composed() const { return FComposed; }
    const TRect& Damage() const { return FDamage; }
    void InvalidateFormRect(const TRect& rect);
    void PaintNow();

    std::function<void(TComponent* sender, bool& canClose)> OnCloseQuery;
    std::function<void(TComponent* sender, TCloseAction& action)> OnClose;
    TNotifyEvent OnShow, OnHide, OnActivate, OnDeactivate;
    std::function<void(TForm* sender, const TMessage& msg)> OnMessage;

    // Entry points for the host; points are client coordinates. The second
    // press of a double click comes as a press with ssDouble in `shift`.
    void HostMouseDown(TMouseButton button, TShiftState shift, TPoint p);
    void HostMouseUp(TMouseButton button, TShiftState shift, TPoint p);
    void HostMouseMove(TShiftState shift, TPoint p);
    void HostMouseLeave();
    void HostMouseWheel(int delta, TShiftState shift, TPoint p);
    void HostKeyDown(int key, TShiftState shift);
    void HostKeyUp(int key, TShiftState shift);
    void HostKeyPress(const std::string& text);
    void HostActivated(bool active);
    void HostMoved(const TRect& bounds);  // the window manager moved it
    void HostCloseRequest();
    void DeliverMessage(const TMessage& msg);

    // Blocks input while another form's modal loop runs.
    bool InputBlocked() const { return FModalBlock > 0; }

protected:
    // Posted messages arrive here in posting order; the default calls OnMessage.
    virtual void HandleMessage(const TMessage& msg);

private:
    friend class TControl;
    friend class TWinControl;
    friend class TApplication;
    void ControlRemoving(TControl* control);
    void UpdateHover(TControl* target);
    void ComposeControl(TControl& control, TPoint origin, const TRect& clip);
    TControl* HitTarget(TPoint p);
    TPoint LocalPoint(TControl& control, TPoint p) const;
    void CreateHostWindow();
    void LoadComponents();
    TWinControl* FocusTargetFor(TControl* control);
    void CollectTabStops(TWinControl& parent, std::vector<TWinControl*>& out);

    uint64_t FHandle;
    THostWindow FWindow = 0;
    TBitmap32 FComposed;
    TRect FDamage;
    TControl* FHover = nullptr;
    TControl* FCapture = nullptr;
    TWinControl* FActiveControl = nullptr;
    TForm* FOwnerForm = nullptr;
    bool FModal = false;
    bool FActive = false;
    bool FPressWasDouble = false;
    unsigned FButtonsDown = 0;
    int FModalBlock = 0;
    uint8_t FOpacity = 255;
    TTransparency FTransparency = TTransparency::Opaque;
    TStayOnTop FStayOnTop = TStayOnTop::No;
    TActivation FActivation = TActivation::Normal;
    TWindowState FWindowState = TWindowState::Normal;
};
