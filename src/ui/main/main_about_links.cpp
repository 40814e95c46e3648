// TfrmORMMain's links: the four small buttons at the bottom right (share by
// mail, our two social pages, the home page), "Check for Updates" with the
// answer's message boxes, and the About window.
//
// The update check's answer arrives inside the worker's hand-over to this
// thread, while the worker waits for it to return. Its box is modal and may
// stay open for as long as the user likes; opened right there it would
// hold the worker (and every later hand-over behind a nested loop) for all
// that time. So the handler only notes the answer and defers the box to
// the event loop; the worker ends at once. Until the box is closed a
// further click on "Check for Updates" is ignored, as one during the check
// itself is.
#include <exception>

#include "common/about_form.h"
#include "common/about_form_links.h"
#include "common/public_funs.h"
#include "i18n/lang_text.h"
#include "online/server_address.h"
#include "online/threads/update_threads.h"
#include "online/update_check.h"
#include "platform/gui/application.h"
#include "skin/orb_button.h"
#include "skin/orb_label.h"
#include "ui/main/main_form.h"

namespace {

// imgmailclick's tags.
constexpr intptr_t ShareMailTag = 1, FollowPageTag = 2, UpdatesPageTag = 3, HomePageTag = 4;

}  // namespace

void TfrmORMMain::WireAboutLinks() {
    const std::pair<TOrbButton*, intptr_t> links[] = {
        {btn3, ShareMailTag}, {btn1, FollowPageTag}, {btn2, UpdatesPageTag}, {btn4, HomePageTag}};
    for (auto [button, tag] : links) {
        button->Tag = tag;
        button->OnClick = [this](TComponent* sender) { imgmailclick(sender); };
    }
    lbl3->Onclick = [this](TComponent* sender) { lbl3click(sender); };
}

std::string TfrmORMMain::LinkServerBase() const { return ServerBase(FStore.get()); }

void TfrmORMMain::imgmailclick(TComponent* Sender) {
    if (!Sender) return;
    const std::string base = LinkServerBase();
    switch (Sender->Tag) {
        // The desktop's opener hands a mailto: link to the mail program.
        case ShareMailTag: OpenURL(this, ShareMailLink(base)); break;
        case FollowPageTag: OpenURL(this, ServerUrl(base, FollowPagePath)); break;
        case UpdatesPageTag: OpenURL(this, ServerUrl(base, UpdatesPagePath)); break;
        case HomePageTag: OpenURL(this, HomePageUrl(base)); break;
        default: break;
    }
}

void TfrmORMMain::lbl3click(TComponent* /*Sender*/) { StartUpdate(false); }

void TfrmORMMain::StartUpdate(bool silent) {
    if (FUpdateAnswerPending || RunningUpdateCheck()) return;
    const std::string base = LinkServerBase();
    if (silent && base.empty()) return;

    // Both handlers run on this thread inside the hand-over; should the
    // application be gone first, the hand-over runs them on the worker,
    // where they must do nothing.
    auto alive = Lifetime();
    auto defer = [this, alive](bool newer, std::string getUrl) {
        if (!Application || !Application->IsUIThread() || alive.expired()) return;
        FUpdateAnswerPending = true;
        Application->Defer([this, alive, newer, getUrl = std::move(getUrl)] {
            if (!alive.expired()) ShowUpdateAnswer(newer, getUrl);
        });
    };
    TUpdateHandlers handlers;
    handlers.OnNewBuild = [defer](const TUpdateAnswer& answer) { defer(true, answer.NewGetUrl); };
    handlers.OnNoNewBuild = [defer] { defer(false, {}); };
    StartUpdateCheck(silent, base, std::move(handlers));
}

void TfrmORMMain::ShowUpdateAnswer(bool newer, const std::string& getUrl) {
    const TUpdatePrompt prompt =
        UpdatePromptFor(newer ? TUpdateVerdict::OfferUpdate : TUpdateVerdict::ReportLatest);
    auto alive = Lifetime();
    const int answer = ShowMsg(LangText(prompt.TextSection, prompt.TextKey, prompt.TextDefault), prompt.Buttons,
                               newer ? MsgIconQuestion : MsgIconInformation);
    // The window may have gone while its box showed (the program ending).
    if (alive.expired()) return;
    FUpdateAnswerPending = false;
    if (newer && answer == MsgResultYes) OpenURL(nullptr, getUrl);
}

void TfrmORMMain::ShowAbout() { ShowAboutWindow(LinkServerBase(), this); }
