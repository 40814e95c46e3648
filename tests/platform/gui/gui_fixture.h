// Shared set-up for the form framework tests: an offscreen host with its
// application, and a probe control that logs every hook it receives.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "platform/offscreen/offscreen_host.h"

using TLog = std::vector<std::string>;

// Logs "<Name>:<event>" (with client coordinates for mouse events).
class TProbe : public TWinControl {
public:
    TProbe(TComponent* owner, TLog* log, const std::string& name) : TWinControl(owner), FLog(log) { Name = name; }
    TEventResult WheelResult = TEventResult::Handled;
    int Downs = 0, Ups = 0, Clicks = 0, DblClicks = 0, Moves = 0, Paints = 0;
    TPoint LastPoint;
    TColor32 Fill = 0;  // painted colour; changing it does not invalidate

protected:
    void Paint(TBitmap32& canvas) override {
        Paints++;
        if (AlphaOf(Fill)) canvas.FillRect(PaintClip(), Fill);
    }
    void MouseDown(TMouseButton b, TShiftState s, TPoint p) override {
        Downs++;
        LastPoint = p;
        Record("down " + Pt(p));
        TWinControl::MouseDown(b, s, p);
    }
    void MouseUp(TMouseButton b, TShiftState s, TPoint p) override {
        Ups++;
        LastPoint = p;
        Record("up " + Pt(p));
        TWinControl::MouseUp(b, s, p);
    }
    void MouseMove(TShiftState s, TPoint p) override {
        Moves++;
        LastPoint = p;
        TWinControl::MouseMove(s, p);
    }
    void MouseEnter() override {
        Record("enter");
        TWinControl::MouseEnter();
    }
    void MouseLeave() override {
        Record("leave");
        TWinControl::MouseLeave();
    }
    void Click() override {
        Clicks++;
        Record("click");
        TWinControl::Click();
    }
    void DblClick() override {
        DblClicks++;
        Record("dblclick");
        TWinControl::DblClick();
    }
    TEventResult MouseWheel(int delta, TShiftState s, TPoint p) override {
        Record("wheel " + std::to_string(delta));
        TWinControl::MouseWheel(delta, s, p);
        return WheelResult;
    }
    void KeyDown(int& key, TShiftState s) override {
        Record("keydown " + std::to_string(key));
        TWinControl::KeyDown(key, s);
    }
    void KeyPress(const std::string& text) override {
        Record("char " + text);
        TWinControl::KeyPress(text);
    }
    void FocusEnter() override {
        Record("focus");
        TWinControl::FocusEnter();
    }
    void FocusExit() override {
        Record("unfocus");
        TWinControl::FocusExit();
    }

private:
    void Record(const std::string& what) {
        if (FLog) FLog->push_back(Name + ":" + what);
    }
    static std::string Pt(TPoint p) { return std::to_string(p.X) + "," + std::to_string(p.Y); }
    TLog* FLog;
};

class GuiTest : public testing::Test {
protected:
    TOffscreenHost Host;
    TApplication App{Host};
    TLog Log;

    TForm* MakeForm(int width = 200, int height = 150) {
        TForm* form = App.CreateForm<TForm>();
        form->SetBounds(100, 50, width, height);
        form->Show();
        Host.Settle();
        return form;
    }
    TProbe* AddProbe(TWinControl* parent, const std::string& name, TRect bounds) {
        TProbe* p = parent->Add<TProbe>(&Log, name);
        p->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        return p;
    }
};
