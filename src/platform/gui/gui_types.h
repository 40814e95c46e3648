// Small value types shared by the form framework and its hosts: mouse
// buttons, shift state, cursors, key codes, window messages and the
// enumerations that window features are set with.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gfx/geometry.h"

enum class TMouseButton { Left, Right, Middle };

// Modifier keys and buttons held while an input event happened; Double marks
// the second press of a double click.
using TShiftState = unsigned;
constexpr TShiftState ssNone = 0;
constexpr TShiftState ssShift = 1u << 0;
constexpr TShiftState ssAlt = 1u << 1;
constexpr TShiftState ssCtrl = 1u << 2;
constexpr TShiftState ssLeft = 1u << 3;
constexpr TShiftState ssRight = 1u << 4;
constexpr TShiftState ssMiddle = 1u << 5;
constexpr TShiftState ssDouble = 1u << 6;

enum class TCursor { Default, Arrow, Hand, IBeam, Wait, SizeAll, SizeNS, SizeWE, SizeNWSE, SizeNESW };

// Virtual key codes keep the values the rest of the program was written
// against; letters and digits are their upper-case ASCII codes.
namespace vk {
constexpr int Back = 0x08, Tab = 0x09, Return = 0x0D, Shift = 0x10, Control = 0x11, Menu = 0x12;
constexpr int Escape = 0x1B, Space = 0x20, Prior = 0x21, Next = 0x22, End = 0x23, Home = 0x24;
constexpr int Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28, Insert = 0x2D, Delete = 0x2E;
constexpr int F1 = 0x70, F2 = 0x71, F3 = 0x72, F4 = 0x73, F5 = 0x74, F10 = 0x79, F12 = 0x7B;
}  // namespace vk

// A message posted to a form: a number and two parameters, delivered in
// posting order on the user-interface thread.
struct TMessage {
    uint32_t Msg = 0;
    intptr_t WParam = 0;
    intptr_t LParam = 0;
};
constexpr uint32_t WM_USER = 0x0400;

// Modal results as forms and message boxes report them.
using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
                       mrYes = 6, mrNo = 7, mrClose = 8;

// Whether an input handler consumed the event or lets it travel on.
enum class TEventResult { Ignored, Handled };
// What the application-wide key hook decides about a key-down.
enum class TKeyHookResult { Pass, Swallow };

enum class TWindowState { Normal, Minimized };
enum class TStayOnTop { No, Yes };
enum class TActivation { Normal, NoActivate };
// Opaque windows show their composed image as is; PerPixelAlpha windows let
// the image's alpha show what lies behind them.
enum class TTransparency { Opaque, PerPixelAlpha };
enum class TSlideDirection { Up, Down };

// A window outline: none (rectangular), a rounded rectangle, or the pixels
// of a mask whose alpha is not zero.
enum class TShapeKind { Rectangle, RoundRect, Mask };
