// Native controls the host supplies where drawing our own would mean
// writing a text engine or a browser: a plain-text editor, date and time
// pickers, a web view, file dialogs, the clipboard and the tray icon.
// Each is a small interface; the desktop host backs it with real widgets
// placed over the form's surface, the offscreen host with in-memory models.
// Events are called with the native object as the sender.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/datetime.h"
#include "platform/gfx/bitmap32.h"
#include "platform/gfx/font.h"
#include "platform/gui/gui_types.h"

// What every placed native control shares. Bounds are form coordinates.
class TNativeControl {
public:
    virtual ~TNativeControl() = default;
    virtual void SetBounds(const TRect& formRect) = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual void SetFocus() = 0;
    virtual bool Focused() const = 0;
};

enum class TScrollDirection { Horizontal, Vertical };

// A scroll range as scroll bars show it: Pos runs from Min to Max - Page + 1.
struct TScrollState {
    int Min = 0, Max = 0, Page = 0, Pos = 0;
    friend bool operator==(const TScrollState&, const TScrollState&) = default;
};

enum class TReadOnly { No, Yes };
enum class TWordWrap { No, Yes };

class TNativeTextEditor : public TNativeControl {
public:
    virtual std::string Text() const = 0;
    virtual void SetText(const std::string& utf8) = 0;  // OnChange when it differs
    virtual void SetReadOnly(TReadOnly value) = 0;
    virtual void SetFont(const TFont& font) = 0;
    virtual void SetWordWrap(TWordWrap value) = 0;
    virtual void SetColors(TColor text, TColor background) = 0;
    virtual TScrollState Scroll(TScrollDirection direction) const = 0;
    virtual void ScrollTo(TScrollDirection direction, int pos) = 0;  // clamped; OnScroll when it moved
    std::function<void(TNativeTextEditor* sender)> OnChange;
    // The range or position changed (text, size or the user scrolled).
    std::function<void(TNativeTextEditor* sender)> OnScroll;
};

class TNativeDatePicker : public TNativeControl {
public:
    virtual TDateTime Date() const = 0;  // the date part only
    virtual void SetDate(TDateTime value) = 0;
    virtual void SetFont(const TFont& font) = 0;
    std::function<void(TNativeDatePicker* sender)> OnChange;  // the user picked a date
};

class TNativeTimePicker : public TNativeControl {
public:
    virtual TDateTime Time() const = 0;  // the time of day only
    virtual void SetTime(TDateTime value) = 0;
    virtual void SetFont(const TFont& font) = 0;
    std::function<void(TNativeTimePicker* sender)> OnChange;
};

class TNativeWebView : public TNativeControl {
public:
    virtual void Navigate(const std::string& url) = 0;
    virtual std::string Url() const = 0;
    // Whether the loaded document has a body element (a failed load has none).
    virtual bool HasBody() const = 0;
    // Runs a script in the page; the callback gets its result as text.
    virtual void RunScript(const std::string& script, std::function<void(const std::string& result)> done) = 0;
    std::function<void(TNativeWebView* sender, const std::string& url)> OnNavigateComplete;
};

enum class TFileDialogKind { Open, Save };
enum class TDialogResult { Cancel, Ok };

struct TFileDialogOptions {
    std::string Title;
    // "Text files (*.txt)|*.txt|All files (*.*)|*.*": name and pattern pairs.
    std::string Filter;
    int FilterIndex = 1;  // 1-based, as the filter pairs count
    std::string InitialDir;
    std::string FileName;
    std::string DefaultExt;  // without the dot; added when the name has none
    bool MustExist = false;
    bool OverwritePrompt = false;
};

class TClipboard {
public:
    virtual ~TClipboard() = default;
    virtual std::string Text() const = 0;
    virtual void SetText(const std::string& utf8) = 0;
};

class TTrayIcon {
public:
    virtual ~TTrayIcon() = default;
    virtual void SetImage(const TBitmap32& image) = 0;
    // The same picture drawn at several sizes: each tray gets the size it
    // shows, or a scaled copy of the nearest larger one.
    virtual void SetImages(const std::vector<TBitmap32>& images) = 0;
    virtual void SetHint(const std::string& text) = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual bool Visible() const = 0;
    // Whether the icon is shown in a tray now (visible and taken in).
    virtual bool Embedded() const = 0;
    // Whether the desktop has a tray at all now, shown or not: what a start
    // at logon waits for before it shows the icon.
    virtual bool TrayAvailable() const = 0;
    std::function<void(TTrayIcon* sender, TPoint screenPoint)> OnClick;
    std::function<void(TTrayIcon* sender, TPoint screenPoint)> OnRightButtonDown;
    // TrayAvailable changed (a tray came or went).
    std::function<void(TTrayIcon* sender)> OnTrayChanged;
};
