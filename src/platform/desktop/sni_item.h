// The tray icon as a status-notifier item on the session bus: the way
// current desktops show tray icons (their panels have no XEmbed tray).
//
// The item has its own connection to the session bus, so what it owns on
// the bus goes away with it. While published it owns the name
// org.kde.StatusNotifierItem-<pid>-<n>, serves org.kde.StatusNotifierItem
// at /StatusNotifierItem and registers with org.kde.StatusNotifierWatcher,
// again each time a watcher takes that name. Panels (the hosts) learn of the
// item from the watcher, read its properties and call Activate / ContextMenu
// with the screen point of the click.
//
// Every call to the watcher is asynchronous: a hung watcher never stalls
// the user-interface thread, and a watcher in this process works too.
#pragma once

#include <gio/gio.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/bitmap32.h"
#include "platform/gui/gui_types.h"

inline constexpr const char* SniWatcherName = "org.kde.StatusNotifierWatcher";
inline constexpr const char* SniWatcherPath = "/StatusNotifierWatcher";
inline constexpr const char* SniItemInterface = "org.kde.StatusNotifierItem";
inline constexpr const char* SniItemPath = "/StatusNotifierItem";

class TSniItem {
public:
    // Connects to the session bus and finds out at once whether a watcher
    // is there; with no session bus the item is not Connected and does
    // nothing.
    TSniItem();
    ~TSniItem();
    TSniItem(const TSniItem&) = delete;
    TSniItem& operator=(const TSniItem&) = delete;

    bool Connected() const { return FConnection != nullptr; }
    // Some program owns the watcher's name.
    bool WatcherPresent() const { return !FWatcherOwner.empty(); }
    // The watcher reports a host that shows items (false until it answered:
    // a watcher alone shows nothing).
    bool HostRegistered() const { return WatcherPresent() && FHostRegistered; }
    // The current watcher accepted this item.
    bool Registered() const { return FRegistered; }
    const std::string& BusName() const { return FBusName; }

    // Published: owns its name and is registered; else it is gone from
    // the bus (a watcher drops items whose name goes away).
    void SetPublished(bool published);
    void SetIcon(const std::vector<TBitmap32>& images);  // NewIcon
    void SetToolTip(const std::string& text);            // NewToolTip

    // The host's click, with the point it gives (0, 0 when it has none);
    // called from the loop after the method has been answered, so a
    // handler may run a modal loop.
    std::function<void(TPoint point)> OnActivate;
    std::function<void(TPoint point)> OnContextMenu;
    // WatcherPresent, HostRegistered or Registered may have changed.
    std::function<void()> OnStateChanged;

private:
    static void HandleMethod(GDBusConnection*, const gchar* sender, const gchar* path, const gchar* iface,
                             const gchar* method, GVariant* params, GDBusMethodInvocation* invocation, gpointer self);
    static GVariant* GetProperty(GDBusConnection*, const gchar* sender, const gchar* path, const gchar* iface,
                                 const gchar* name, GError** error, gpointer self);
    GVariant* PropertyValue(const std::string& name) const;
    void Dispatch(bool contextMenu, TPoint point);

    void WatcherAppeared(const std::string& owner);
    void WatcherVanished();
    void QueryHost();
    void Register();
    void EmitItemSignal(const char* name);
    void Changed();

    GDBusConnection* FConnection = nullptr;
    GCancellable* FCancel = nullptr;
    std::string FBusName;
    unsigned FObjectId = 0, FWatchId = 0, FOwnId = 0;
    unsigned FHostSignals[2] = {0, 0};
    std::string FWatcherOwner;  // the watcher's unique name, empty when none
    unsigned FGeneration = 0;   // counts watcher owners, to drop stale answers
    bool FHostRegistered = false;
    bool FNameOwned = false;
    bool FRegistered = false;
    unsigned FRegisterPending = 0;  // the generation a registration is on its way to
    GVariant* FPixmaps = nullptr;
    std::string FToolTip;
    std::shared_ptr<int> FAlive = std::make_shared<int>(0);
};
