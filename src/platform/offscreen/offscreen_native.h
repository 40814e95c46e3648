// In-memory models of the native controls for the offscreen host. Tests
// read and set their values, and act as the user through the User...
// calls, which fire the events a real widget fires.
#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/gui/native_controls.h"

class TForm;

// Keeps a list of the live models of one kind so tests can find them.
template <class T>
class TModelRegistry {
public:
    std::vector<T*> Items;
    void Add(T* item) { Items.push_back(item); }
    void Remove(T* item) { Items.erase(std::remove(Items.begin(), Items.end(), item), Items.end()); }
    T* Last() const { return Items.empty() ? nullptr : Items.back(); }
};

template <class Base>
class TOffscreenNative : public Base {
public:
    explicit TOffscreenNative(TForm& form) : Form(&form) {}
    TForm* Form;
    TRect Bounds;
    bool IsVisible = true, IsEnabled = true, HasFocus = false;
    void SetBounds(const TRect& formRect) override { Bounds = formRect; }
    void SetVisible(bool visible) override { IsVisible = visible; }
    void SetEnabled(bool enabled) override { IsEnabled = enabled; }
    void SetFocus() override { HasFocus = IsVisible && IsEnabled; }
    bool Focused() const override { return HasFocus; }
};

class TOffscreenTextEditor : public TOffscreenNative<TNativeTextEditor> {
public:
    TOffscreenTextEditor(TForm& form, TModelRegistry<TOffscreenTextEditor>& registry);
    ~TOffscreenTextEditor() override;

    std::string Text() const override { return FText; }
    void SetText(const std::string& utf8) override;
    void SetReadOnly(TReadOnly value) override { ReadOnly = value; }
    void SetFont(const TFont& font) override { Font = font; }
    void SetWordWrap(TWordWrap value) override;
    void SetColors(TColor text, TColor background) override {
        TextColor = text;
        BackgroundColor = background;
    }
    TScrollState Scroll(TScrollDirection direction) const override;
    void ScrollTo(TScrollDirection direction, int pos) override;
    void SetBounds(const TRect& formRect) override;

    // The user's side: typing replaces nothing, it appends (read-only
    // editors ignore it); scrolling moves like a wheel or a drag would.
    void UserType(const std::string& utf8);
    void UserScroll(TScrollDirection direction, int pos) { ScrollTo(direction, pos); }

    TReadOnly ReadOnly = TReadOnly::No;
    TWordWrap WordWrap = TWordWrap::Yes;
    TFont Font;
    TColor TextColor = 0, BackgroundColor = 0x00FFFFFF;
    // The model measures lines as LineHeight pixels and characters as
    // CharWidth pixels: ranges count lines (vertical) and characters.
    int LineHeight = 16, CharWidth = 7;

private:
    void UpdateRanges();
    std::string FText;
    TScrollState FScroll[2];
    TModelRegistry<TOffscreenTextEditor>& FRegistry;
};

class TOffscreenDatePicker : public TOffscreenNative<TNativeDatePicker> {
public:
    TOffscreenDatePicker(TForm& form, TModelRegistry<TOffscreenDatePicker>& registry);
    ~TOffscreenDatePicker() override;
    TDateTime Date() const override { return FDate; }
    void SetDate(TDateTime value) override { FDate = DateOf(value); }
    void SetFont(const TFont& font) override { Font = font; }
    void UserPick(TDateTime value);
    TFont Font;

private:
    TDateTime FDate = 0;
    TModelRegistry<TOffscreenDatePicker>& FRegistry;
};

class TOffscreenTimePicker : public TOffscreenNative<TNativeTimePicker> {
public:
    TOffscreenTimePicker(TForm& form, TModelRegistry<TOffscreenTimePicker>& registry);
    ~TOffscreenTimePicker() override;
    TDateTime Time() const override { return FTime; }
    void SetTime(TDateTime value) override { FTime = TimeOf(value); }
    void SetFont(const TFont& font) override { Font = font; }
    void UserPick(TDateTime value);
    TFont Font;

private:
    TDateTime FTime = 0;
    TModelRegistry<TOffscreenTimePicker>& FRegistry;
};

enum class TBody { Present, Missing };

class TOffscreenWebView : public TOffscreenNative<TNativeWebView> {
public:
    TOffscreenWebView(TForm& form, TModelRegistry<TOffscreenWebView>& registry);
    ~TOffscreenWebView() override;
    void Navigate(const std::string& url) override;
    std::string Url() const override { return FUrl; }
    bool HasBody() const override { return FBody == TBody::Present; }
    void RunScript(const std::string& script, std::function<void(const std::string&)> done) override;

    // Ends the pending navigation as a page with or without a body.
    void FinishNavigation(TBody body = TBody::Present);
    bool NavigationPending() const { return FPending; }
    std::vector<std::string> Scripts;  // every script run, in order
    std::function<std::string(const std::string& script)> ScriptHandler;

private:
    std::string FUrl;
    bool FPending = false;
    TBody FBody = TBody::Missing;
    TModelRegistry<TOffscreenWebView>& FRegistry;
};

class TOffscreenTrayIcon : public TTrayIcon {
public:
    explicit TOffscreenTrayIcon(TModelRegistry<TOffscreenTrayIcon>& registry);
    ~TOffscreenTrayIcon() override;
    void SetImage(const TBitmap32& image) override { Image = image; }
    // Image is the largest of the set (what a tray of any size scales from).
    void SetImages(const std::vector<TBitmap32>& images) override;
    void SetHint(const std::string& text) override { Hint = text; }
    void SetVisible(bool visible) override { FVisible = visible; }
    bool Visible() const override { return FVisible; }
    bool Embedded() const override { return FVisible && TrayPresent; }
    bool TrayAvailable() const override { return TrayPresent; }
    void UserClick(TPoint screenPoint);
    void UserRightButtonDown(TPoint screenPoint);
    // A tray appears or goes away as a desktop's would: OnTrayChanged
    // follows when the answer of TrayAvailable changes.
    void SetTrayPresent(bool present);

    TBitmap32 Image;
    std::vector<TBitmap32> Images;  // the last set given, as given
    std::string Hint;
    bool TrayPresent = true;

private:
    bool FVisible = false;
    TModelRegistry<TOffscreenTrayIcon>& FRegistry;
};

class TOffscreenClipboard : public TClipboard {
public:
    std::string Text() const override { return FText; }
    void SetText(const std::string& utf8) override { FText = utf8; }

private:
    std::string FText;
};
