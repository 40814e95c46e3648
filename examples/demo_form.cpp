// The demo window's controls and how they are laid out.
#include "demo_form.h"

#include "platform/gfx/text.h"
#include "platform/gui/application.h"

namespace {

TFont DemoFont(int size, TColor color = 0x202020, bool bold = false) {
    TFont font;
    font.Name = "DejaVu Sans";
    font.Size = size;
    font.Color = color;
    font.Bold = bold;
    return font;
}

// Counts its clicks and shows the count.
class TClickBox : public TControl {
public:
    using TControl::TControl;

protected:
    void Paint(TBitmap32& canvas) override {
        canvas.RoundRect(ClientRect(), 8, Color32(255, 236, 179), Color32(230, 160, 0));
        DrawText(canvas, ClientRect(), DemoFont(11), "Clicks: " + std::to_string(FCount),
                 tfCenter | tfVCenter | tfSingleLine);
    }
    void Click() override {
        FCount++;
        Invalidate();
    }

private:
    int FCount = 0;
};

// Text drawn in its rectangle with the given flags.
class TTextLine : public TControl {
public:
    TTextLine(TComponent* owner, std::string text, TFont font, TTextFlags flags)
        : TControl(owner), FText(std::move(text)), FTextFont(std::move(font)), FFlags(flags) {}

protected:
    void Paint(TBitmap32& canvas) override { DrawText(canvas, ClientRect(), FTextFont, FText, FFlags); }

private:
    std::string FText;
    TFont FTextFont;
    TTextFlags FFlags;
};

// A rounded panel at half opacity: the stripes beneath show through.
class TGlassPanel : public TControl {
public:
    using TControl::TControl;

protected:
    void Paint(TBitmap32& canvas) override {
        canvas.RoundRect(ClientRect(), 14, Color32(40, 110, 220, 128), Color32(20, 60, 160, 200));
        DrawText(canvas, ClientRect(), DemoFont(10, 0xFFFFFF, true), "50% panel", tfCenter | tfVCenter | tfSingleLine);
    }
};

// Diagonal stripes to show the panel's transparency against.
class TStripes : public TControl {
public:
    using TControl::TControl;

protected:
    void Paint(TBitmap32& canvas) override {
        canvas.FillRect(ClientRect(), Color32(255, 255, 255));
        for (int x = -Height(); x < Width(); x += 12)
            for (int t = 0; t < 4; ++t) canvas.Line(x + t, 0, x + t + Height(), Height(), Color32(230, 80, 80));
    }
};

// A push button drawn by us.
class TDemoButton : public TControl {
public:
    TDemoButton(TComponent* owner, std::string caption) : TControl(owner), FCaption(std::move(caption)) {
        SetCursor(TCursor::Hand);
    }

protected:
    void Paint(TBitmap32& canvas) override {
        TColor32 fill = MouseInControl() ? Color32(225, 235, 250) : Color32(245, 245, 245);
        canvas.RoundRect(ClientRect(), 4, fill, Color32(120, 120, 120));
        DrawText(canvas, ClientRect(), DemoFont(10), FCaption, tfCenter | tfVCenter | tfSingleLine);
    }
    void MouseEnter() override { Invalidate(); }
    void MouseLeave() override { Invalidate(); }

private:
    std::string FCaption;
};

// Where a drag moves the borderless window.
class TTitleBar : public TControl {
public:
    using TControl::TControl;

protected:
    void Paint(TBitmap32& canvas) override {
        canvas.FillRect(ClientRect(), Color32(52, 73, 94));
        TFont font = DemoFont(12, 0xFFFFFF, true);
        font.Charset = charset::Gb2312;
        DrawText(canvas, ClientRect().Inflate(-10, 0), font, "\xE6\x8F\x90\xE9\x86\x92\xE4\xBA\x8B\xE9\xA1\xB9 \xE2\x80\x94 "
                                                             "\xE4\xB8\xAD\xE6\x96\x87\xE6\xA0\x87\xE9\xA2\x98",
                 tfVCenter | tfSingleLine);
    }
    void MouseDown(TMouseButton button, TShiftState, TPoint) override {
        if (button == TMouseButton::Left) Form()->BeginSystemMove();
    }
};

}  // namespace

TDemoForm::TDemoForm(TComponent* owner) : TForm(owner) {
    SetColor(0x00F4F4F4);
    TRect work = Application->Host().WorkArea();
    SetBounds(work.Left + (work.Width() - 460) / 2, work.Top + (work.Height() - 400) / 2, 460, 400);

    Add<TTitleBar>()->SetBounds(0, 0, 460, 36);
    auto* close = Add<TDemoButton>("\xC3\x97");
    close->SetBounds(424, 6, 26, 24);
    close->OnClick = [this](TComponent*) { Close(); };

    Add<TClickBox>()->SetBounds(20, 52, 130, 60);
    Add<TTextLine>("A line too long for its place ends with an ellipsis instead of being cut off", DemoFont(10),
                   tfSingleLine | tfEndEllipsis | tfVCenter)
        ->SetBounds(170, 52, 270, 24);
    TFont chinese = DemoFont(14, 0x7F3F00);
    chinese.Charset = charset::Gb2312;
    Add<TTextLine>("\xE6\x8F\x90\xE9\x86\x92\xE4\xBA\x8B\xE9\xA1\xB9 \xE2\x80\x94 \xE4\xB8\xAD\xE6\x96\x87\xE6\xA0\x87"
                   "\xE9\xA2\x98",
                   chinese, tfSingleLine | tfVCenter)
        ->SetBounds(170, 82, 270, 30);

    Add<TStripes>()->SetBounds(20, 128, 420, 70);
    Add<TGlassPanel>()->SetBounds(60, 138, 200, 50);
    auto* popupButton = Add<TDemoButton>("Popup \xE2\x96\xBE");
    popupButton->SetBounds(300, 150, 120, 28);
    popupButton->OnClick = [this, popupButton](TComponent*) { TogglePopup(popupButton); };

    Add<TTextLine>("Native controls:", DemoFont(9), tfSingleLine)->SetBounds(20, 210, 200, 16);
    // Native widgets need the window: they come once the form shows.
    OnShow = [this](TComponent*) { CreateNativeControls(); };
}

TDemoForm::~TDemoForm() {
    // Native widgets go before the window that holds them.
    FEditor.reset();
    FDate.reset();
    FTime.reset();
    FTray.reset();
}

void TDemoForm::CreateNativeControls() {
    if (FEditor) return;
    THost& host = Application->Host();
    FEditor = host.CreateTextEditor(*this);
    if (FEditor) {
        FEditor->SetBounds(Bounds(20, 230, 250, 150));
        FEditor->SetWordWrap(TWordWrap::Yes);
        FEditor->SetText("A native text editor.\nType here; the other controls are drawn by the framework.");
        FEditor->SetVisible(true);
    }
    FDate = host.CreateDatePicker(*this);
    if (FDate) {
        FDate->SetBounds(Bounds(290, 230, 150, 28));
        FDate->SetDate(Date());
        FDate->SetVisible(true);
    }
    FTime = host.CreateTimePicker(*this);
    if (FTime) {
        FTime->SetBounds(Bounds(290, 270, 150, 28));
        FTime->SetTime(TimeOf(Now()));
        FTime->SetVisible(true);
    }
    FTray = host.CreateTrayIcon();
    if (FTray) {
        TBitmap32 icon(16, 16);
        icon.RoundRect(icon.BoundsRect(), 4, Color32(230, 126, 34), Color32(160, 80, 20));
        FTray->SetImage(icon);
        FTray->SetHint("Olvo demo");
        FTray->OnClick = [this](TTrayIcon*, TPoint) {
            SetWindowState(TWindowState::Normal);
            Show();
            Activate();
        };
        FTray->SetVisible(true);
    }
}

void TDemoForm::TogglePopup(TControl* button) {
    if (FPopup && FPopup->Visible()) {
        FPopup->Hide();
        return;
    }
    if (!FPopup) {
        FPopup = Application->CreateForm<TForm>();
        FPopup->SetActivation(TActivation::NoActivate);
        FPopup->SetOwnerForm(this);
        FPopup->SetColor(0x00FFFFFF);
        auto* text = FPopup->Add<TTextLine>("A popup window: it takes no focus.\nClick it to close.", DemoFont(9),
                                            tfWordBreak);
        text->SetBounds(8, 6, 184, 60);
        TForm* popup = FPopup;
        text->OnClick = [popup](TComponent*) { popup->Hide(); };
    }
    TPoint below = button->ClientToScreen({0, button->Height()});
    FPopup->SetBounds(below.X, below.Y + 2, 200, 64);
    FPopup->Show();
}
