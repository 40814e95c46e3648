// The gallery program on the desktop host. Not shipped.
//   olvo-gallery                     the window, until it is closed
//   olvo-gallery --menu-open         the same with the popup menu and its
//                                    Language submenu open (for pictures)
#include <cstdio>
#include <cstring>

#include "gallery/gallery_form.h"
#include "platform/desktop/desktop_host.h"
#include "platform/gui/application.h"
#include "platform/gui/timer.h"

int main(int argc, char** argv) {
    bool menuOpen = false;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--menu-open") == 0) menuOpen = true;
    if (!StartDesktop(&argc, &argv)) {
        std::fprintf(stderr, "olvo-gallery: cannot open the display (is DISPLAY set?)\n");
        return 1;
    }
    TDesktopHost host;
    TApplication app(host);
    auto* form = app.CreateForm<TGalleryForm>();
    form->Show();
    // Once the window is up and settled (its first activation would close a
    // menu opened before it).
    TTimer* opener = form->Create<TTimer>();
    opener->SetInterval(700);
    opener->OnTimer = [form, opener](TComponent*) {
        opener->SetEnabled(false);
        form->ShowMenuWithSubmenu(4);
    };
    opener->SetEnabled(menuOpen);
    app.Run();
    return 0;
}
