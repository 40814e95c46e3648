// The chained deactivation hooks of open menus and drop-downs: the previous
// handler keeps running, comes back on Stop, and a hook someone chained
// over stays in their chain, passing calls on.
#include <gtest/gtest.h>

#include "platform/gui/gui_fixture.h"
#include "skin/orb_deactivation_watch.h"

namespace {

class DeactivationWatchTest : public GuiTest {};

TEST_F(DeactivationWatchTest, HooksChainAndComeOffCleanly) {
    TForm* form = MakeForm();
    int before = 0, seen = 0, formSeen = 0;
    App.OnDeactivate = [&](TComponent*) { before++; };
    TDeactivationWatch watch;
    watch.OnApplicationDeactivate = [&] { seen++; };
    watch.OnFormDeactivate = [&] { formSeen++; };
    watch.Start(form);
    App.OnDeactivate(&App);
    form->OnDeactivate(form);
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(formSeen, 1);
    EXPECT_EQ(before, 1);

    // Someone chains over the hook while it runs; Stop leaves their handler.
    TNotifyEvent chained = App.OnDeactivate;
    int theirs = 0;
    App.OnDeactivate = [&, chained](TComponent* s) {
        theirs++;
        chained(s);
    };
    watch.Stop();
    EXPECT_FALSE(watch.Running());
    App.OnDeactivate(&App);
    EXPECT_EQ(theirs, 1);
    EXPECT_EQ(seen, 1) << "a stopped watch only passes calls on";
    EXPECT_EQ(before, 2);
    EXPECT_FALSE(form->OnDeactivate) << "the form's empty handler is back";
}

}  // namespace
