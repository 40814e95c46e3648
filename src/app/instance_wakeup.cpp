#include "app/instance_wakeup.h"

#include "platform/single_instance.h"

intptr_t WakeFirstInstance(const std::string& mutexName) {
    intptr_t wParam = 0;
    switch (InstanceClient::FindWindowState(mutexName, MainWindowClass)) {
        case TWindowState::Hidden: wParam = RestoreShow; break;
        case TWindowState::Minimized: wParam = RestoreFromMinimized; break;
        case TWindowState::Normal:
        case TWindowState::None: return 0;
    }
    // A first instance that has no window yet lets the message go nowhere.
    InstanceClient::SendMessage(mutexName, {MainWindowClass, RestoreMessage, wParam, 0});
    return wParam;
}
