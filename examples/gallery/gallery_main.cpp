// The gallery program on the desktop host. Not shipped.
//   olvo-gallery                     the window, until it is closed
//   olvo-gallery --menu-open         the same with the popup menu and its
//                                    Language submenu open (for pictures)
//   olvo-gallery --controls [--chinese]
//                                    the translated window of the other
//                                    controls alone, in English or Chinese
#include <cstdio>
#include <cstring>

#include "gallery/gallery_controls_form.h"
#include "gallery/gallery_form.h"
#include "platform/desktop/desktop_host.h"
#include "platform/gui/application.h"
#include "platform/gui/timer.h"

int main(int argc, char** argv) {
    bool menuOpen = false, controls = false, chinese = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--menu-open") == 0) menuOpen = true;
        if (std::strcmp(argv[i], "--controls") == 0) controls = true;
        if (std::strcmp(argv[i], "--chinese") == 0) chinese = true;
    }
    if (!StartDesktop(&argc, &argv)) {
        std::fprintf(stderr, "olvo-gallery: cannot open the display (is DISPLAY set?)\n");
        return 1;
    }
    TDesktopHost host;
    TApplication app(host);
    if (controls) {
        auto* window = app.CreateForm<TfrmGallery>(chinese ? TGalleryLanguage::Chinese : TGalleryLanguage::English);
        window->Show();
        app.Run();
        return 0;
    }
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
