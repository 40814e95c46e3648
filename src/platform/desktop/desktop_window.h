// Inside the desktop host: what it keeps per native window, and the input
// wiring (desktop_input.cpp) that the window code installs.
#pragma once

#include <gtk/gtk.h>

#include "platform/desktop/desktop_host.h"

struct TDesktopWindow {
    TDesktopHost* Host = nullptr;
    THostWindow Id = 0;
    TForm* Form = nullptr;
    GtkWidget* Window = nullptr;  // GtkWindow, borderless
    GtkWidget* Area = nullptr;    // GtkDrawingArea showing Image
    GtkWidget* Layer = nullptr;   // GtkFixed for native widgets
    GtkIMContext* Im = nullptr;
    // The form's composed image as last presented. Not copied: the form owns
    // it, outlives this window, and only changes it right before Present.
    const TBitmap32* Image = nullptr;
    TRect Bounds;
    bool Visible = false;
    int DrawCount = 0;
    TTransparency Transparency = TTransparency::Opaque;
    TStayOnTop StayOnTop = TStayOnTop::No;
    TActivation Activation = TActivation::Normal;
    THostWindow Owner = 0;
    // The outline set by the form, and the one last given to GTK.
    cairo_region_t* FormShape = nullptr;
    cairo_region_t* AppliedShape = nullptr;
    cairo_region_t* AppliedInput = nullptr;
    // Slide-in animation.
    guint SlideSource = 0;
    int64_t SlideStartMs = 0;
    int SlideDurationMs = 0;
    int SlideFromTop = 0;
    // The window manager moves the window (a system move): report where.
    bool WmMoving = false;
    // Double-click detection: the last press.
    guint32 LastPressTime = 0;
    double LastPressX = -1000, LastPressY = -1000;
    guint LastPressButton = 0;
    bool LastPressWasDouble = false;
    // Smooth scrolling adds up to whole wheel steps.
    double ScrollRemainder = 0;

    ~TDesktopWindow();
    // Brings the window's outline up to date: the form's shape, and where
    // the screen cannot show transparency, the opaque pixels of the image.
    void UpdateShape();
};

// Hands the host's OnFirstPaint to the loop, to run after this frame.
void NotifyFirstPaint(TDesktopHost& host);

// Connects the GDK input signals of the window to its form.
void ConnectInput(TDesktopWindow& w);
