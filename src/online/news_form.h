// TFrmNews, the news window: a small skinned window holding the news page
// in the host's web view. It is prepared hidden while the page loads, then
// slides up from the bottom-right corner of the work area, rests a minute
// and fades out. Pointing at it while it fades stops the fade: it stays,
// half transparent, until the user closes it.
//
//   state       | event                         | action
//   ------------+-------------------------------+------------------------------------
//   closed      | ShowNewsWindow (new id)       | web view made, navigating (hidden)
//   navigating  | page complete with a body     | styled, placed, shown; timer1 on
//   navigating  | no body, script error, no view| closed
//   sliding     | timer1 (50 ms)                | Top -= 20; at the rest place: timer2
//   resting     | timer2 first tick (60 s)      | interval 33 ms, fading starts
//   fading      | timer2 (33 ms)                | alpha -= 10; mouse over: stop;
//               |                               | alpha 5: closed
//   any shown   | close button                  | closed
//
// Closing hides the window and frees the web view (WebKit's processes go
// with it); the window itself lives on for the run with its ShownId. There
// is one news window per process (NewsWindow), created on first use.
//
// Files: news_form.cpp (construction, show handler, page), news_form_motion.cpp
// (slide, rest and fade).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "online/news_check.h"
#include "platform/gui/form.h"

class TNativeWebView;
class TOrbForm;
class TTimer;

class TFrmNews : public TForm {
public:
    // The design size and the frame's caption.
    static constexpr int DesignWidth = 492, DesignHeight = 266;
    static constexpr int CaptionHeight = 26;
    // Where the window rests: this far from the work area's right edge.
    static constexpr int RightMargin = 10;
    static constexpr int SlideIntervalMs = 50, SlideStep = 20;
    static constexpr int RestMs = 60000, DesignRestMs = 30000;
    static constexpr int FadeIntervalMs = 33, FadeStep = 10, FadeEndAlpha = 5;

    // The script that styles the page once it has loaded, and what it
    // answers when it ran through (anything else is a failure).
    static const char* const StyleScript;
    static const char* const StyledAnswer;

    explicit TFrmNews(TComponent* owner);
    ~TFrmNews() override;

    std::string ClassName() const { return "TFrmNews"; }

    // The show handler's window part: news the user has not seen in earlier
    // runs (the check filtered that) and that this window has not shown in
    // this run is loaded and shown. False when it is not shown: already
    // shown, or no web view can be made.
    bool ShowNews(const TNewsAnswer& answer);

    // The message number last taken up in this run (0 before any).
    int32_t ShownId = 0;
    // The page and the page size asked for (0: the design size).
    std::string NewsUrl;
    int32_t FormWidth = 0;
    int32_t FormHeight = 0;

    // Runs when a page has become visible, with its message number: only
    // then does it count as seen.
    std::function<void(TFrmNews* sender, int32_t msgId)> OnNewsShown;

    // ---- components ----
    TOrbForm* fxfrm1 = nullptr;
    // The page; exists only while a page is loading or shown.
    std::unique_ptr<TNativeWebView> wb1;
    TTimer* timer1 = nullptr;  // the slide
    TTimer* timer2 = nullptr;  // the rest, then the fade

    // Where the window rests: its top once the slide is over.
    int RestTop() const;
    // Fading is on (the window's alpha below 255 from the fade).
    bool Fading() const { return FFading; }
    bool Navigating() const { return FNavigating; }

private:
    void BuildFrame();
    bool PrepareAndNavigate();
    void ApplyLanguageFont();
    void wb1NavigateComplete2(TNativeWebView* sender, const std::string& url);
    void PageStyled(const std::string& answer);
    void FormClose();

    // ---- news_form_motion.cpp ----
    void timer1Timer();
    void timer2Timer();
    bool MouseInside() const;

    bool FNavigating = false;
    bool FFading = false;
    // Counts navigations so that a late answer of a page's script cannot
    // act on a newer page or after the window closed.
    int FNavigation = 0;
    // The view of a page just closed, freed after the event that closed it.
    std::unique_ptr<TNativeWebView> FRetiredView;
};

// The news window once created, else null.
extern TFrmNews* NewsWindow;

// The show handler: creates the news window on first use and hands it the
// news. `onShown` (may be empty) becomes the window's OnNewsShown. Answers
// whether a page is being loaded.
bool ShowNewsWindow(const TNewsAnswer& answer,
                    std::function<void(TFrmNews* sender, int32_t msgId)> onShown = {});
