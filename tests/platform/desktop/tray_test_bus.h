// What the tray tests share: a session bus of their own (a dbus-daemon the
// test run starts, so no desktop's watcher or panel takes part) and a small
// status-notifier watcher on it, run on the test's loop as a desktop's
// would run in its own process.
#pragma once

#include <gio/gio.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/desktop/native_test_support.h"
#include "platform/desktop/native_widgets.h"

namespace tray_test {

// Starts the bus once for the test run and points DBUS_SESSION_BUS_ADDRESS
// at it; the daemon ends with the run. Answers whether the bus is up.
inline bool UsePrivateSessionBus() {
    struct TDaemon {
        GPid Pid = 0;
        std::string Address;
        ~TDaemon() {
            if (Pid <= 0) return;
            kill(Pid, SIGTERM);
            waitpid(Pid, nullptr, 0);
        }
    };
    static TDaemon daemon;
    if (!daemon.Address.empty()) return true;
    gchar* program = g_find_program_in_path("dbus-daemon");
    if (!program) return false;
    gchar* argv[] = {program, (gchar*)"--session", (gchar*)"--nofork", (gchar*)"--print-address", nullptr};
    int out = -1;
    bool started = g_spawn_async_with_pipes(nullptr, argv, nullptr,
                                            GSpawnFlags(G_SPAWN_DO_NOT_REAP_CHILD | G_SPAWN_STDERR_TO_DEV_NULL),
                                            // The daemon ends with the test even when the test crashes.
                                            [](gpointer) { prctl(PR_SET_PDEATHSIG, SIGTERM); }, nullptr, &daemon.Pid,
                                            nullptr, &out, nullptr, nullptr);
    g_free(program);
    if (!started) return false;
    std::string line;
    char c = 0;
    while (read(out, &c, 1) == 1 && c != '\n') line += c;
    close(out);
    if (line.empty()) return false;
    daemon.Address = line;
    setenv("DBUS_SESSION_BUS_ADDRESS", line.c_str(), 1);
    return true;
}

inline GDBusConnection* ConnectTestBus() {
    return g_dbus_connection_new_for_address_sync(
        std::getenv("DBUS_SESSION_BUS_ADDRESS"),
        GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                             G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, nullptr);
}

// Calls a method and runs the loop until the answer is in (a synchronous
// call would block the loop that serves the item). Null on an error.
inline GVariant* CallAndWait(GDBusConnection* connection, const std::string& destination, const char* path,
                             const char* iface, const char* method, GVariant* params,
                             std::string* errorText = nullptr) {
    struct TResult {
        bool Done = false;
        GVariant* Reply = nullptr;
        std::string Error;
    } result;
    g_dbus_connection_call(
        connection, destination.c_str(), path, iface, method, params, nullptr, G_DBUS_CALL_FLAGS_NONE, 5000, nullptr,
        [](GObject* source, GAsyncResult* res, gpointer data) {
            auto* r = static_cast<TResult*>(data);
            GError* error = nullptr;
            r->Reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), res, &error);
            if (error) {
                r->Error = error->message;
                g_error_free(error);
            }
            r->Done = true;
        },
        &result);
    native_test::PumpUntil([&] { return result.Done; }, 6000);
    if (errorText) *errorText = result.Error;
    return result.Reply;
}

// A status-notifier watcher as a desktop runs one: it owns the watcher's
// name on its own connection, takes registrations and tells whether a host
// is there. Stop is the watcher's process ending (its name goes with it).
class TFakeWatcher {
public:
    ~TFakeWatcher() { Stop(); }

    bool Start(bool hostRegistered = true) {
        Stop();
        FHost = hostRegistered;
        FConnection = ConnectTestBus();
        if (!FConnection) return false;
        static GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(R"xml(<node>
 <interface name="org.kde.StatusNotifierWatcher">
  <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
  <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
  <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  <property name="ProtocolVersion" type="i" access="read"/>
  <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
  <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
  <signal name="StatusNotifierHostRegistered"/>
  <signal name="StatusNotifierHostUnregistered"/>
 </interface>
</node>)xml",
                                                                  nullptr);
        static const GDBusInterfaceVTable vtable = {&TFakeWatcher::Method, &TFakeWatcher::Property, nullptr, {}};
        g_dbus_connection_register_object(FConnection, "/StatusNotifierWatcher", node->interfaces[0], &vtable, this,
                                          nullptr, nullptr);
        // Signals of the item(s), to count what they announce.
        FItemSignals = g_dbus_connection_signal_subscribe(
            FConnection, nullptr, "org.kde.StatusNotifierItem", nullptr, "/StatusNotifierItem", nullptr,
            G_DBUS_SIGNAL_FLAGS_NONE,
            [](GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* signal, GVariant*,
               gpointer self) { static_cast<TFakeWatcher*>(self)->Signals.push_back(signal); },
            this, nullptr);
        FOwned = FLost = false;
        FOwnId = g_bus_own_name_on_connection(
            FConnection, "org.kde.StatusNotifierWatcher", G_BUS_NAME_OWNER_FLAGS_DO_NOT_QUEUE,
            [](GDBusConnection*, const gchar*, gpointer self) { static_cast<TFakeWatcher*>(self)->FOwned = true; },
            [](GDBusConnection*, const gchar*, gpointer self) { static_cast<TFakeWatcher*>(self)->FLost = true; },
            this, nullptr);
        bool ok = native_test::PumpUntil([&] { return FOwned || FLost; }, 5000) && FOwned;
        return ok;
    }
    void Stop() {
        if (!FConnection) return;
        if (FItemSignals) g_dbus_connection_signal_unsubscribe(FConnection, FItemSignals);
        FItemSignals = 0;
        g_bus_unown_name(FOwnId);
        g_dbus_connection_close_sync(FConnection, nullptr, nullptr);
        g_object_unref(FConnection);
        FConnection = nullptr;
        Items.clear();
        Signals.clear();
    }
    void SetHostRegistered(bool host) {
        FHost = host;
        g_dbus_connection_emit_signal(FConnection, nullptr, "/StatusNotifierWatcher", "org.kde.StatusNotifierWatcher",
                                      host ? "StatusNotifierHostRegistered" : "StatusNotifierHostUnregistered",
                                      nullptr, nullptr);
    }

    // A property of the registered item, or null.
    GVariant* ItemProperty(const std::string& service, const char* name) {
        GVariant* reply = CallAndWait(FConnection, service, "/StatusNotifierItem", "org.freedesktop.DBus.Properties",
                                      "Get", g_variant_new("(ss)", "org.kde.StatusNotifierItem", name));
        if (!reply) return nullptr;
        GVariant* value = nullptr;
        g_variant_get(reply, "(v)", &value);
        g_variant_unref(reply);
        return value;
    }
    // Calls a method of the item; answers whether it answered without error.
    bool CallItem(const std::string& service, const char* method, GVariant* params) {
        GVariant* reply = CallAndWait(FConnection, service, "/StatusNotifierItem", "org.kde.StatusNotifierItem",
                                      method, params);
        if (reply) g_variant_unref(reply);
        return reply != nullptr;
    }
    bool NameHasOwner(const std::string& name) {
        GVariant* reply = CallAndWait(FConnection, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                      "org.freedesktop.DBus", "NameHasOwner", g_variant_new("(s)", name.c_str()));
        gboolean has = FALSE;
        if (reply) {
            g_variant_get(reply, "(b)", &has);
            g_variant_unref(reply);
        }
        return has;
    }

    std::vector<std::string> Items;    // services registered, in order
    std::vector<std::string> Signals;  // item signals seen, in order

private:
    static void Method(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* method,
                       GVariant* params, GDBusMethodInvocation* invocation, gpointer self) {
        if (g_strcmp0(method, "RegisterStatusNotifierItem") == 0) {
            const gchar* service = nullptr;
            g_variant_get(params, "(&s)", &service);
            static_cast<TFakeWatcher*>(self)->Items.push_back(service);
        }
        g_dbus_method_invocation_return_value(invocation, nullptr);
    }
    static GVariant* Property(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* name, GError**,
                              gpointer self) {
        auto* watcher = static_cast<TFakeWatcher*>(self);
        if (g_strcmp0(name, "IsStatusNotifierHostRegistered") == 0) return g_variant_new_boolean(watcher->FHost);
        if (g_strcmp0(name, "ProtocolVersion") == 0) return g_variant_new_int32(0);
        GVariantBuilder items;
        g_variant_builder_init(&items, G_VARIANT_TYPE("as"));
        for (const std::string& item : watcher->Items) g_variant_builder_add(&items, "s", item.c_str());
        return g_variant_builder_end(&items);
    }

    GDBusConnection* FConnection = nullptr;
    unsigned FOwnId = 0, FItemSignals = 0;
    bool FHost = true;
    bool FOwned = false, FLost = false;
};

}  // namespace tray_test

namespace tray_test {

// A stand-alone XEmbed tray (trayer) on the display, for as long as the
// object lives.
class TXEmbedTray {
public:
    ~TXEmbedTray() { Stop(); }
    // Answers whether the tray took the tray selection.
    bool Start() {
        gchar* trayer = g_find_program_in_path("trayer");
        if (!trayer) return false;
        gchar* argv[] = {trayer, (gchar*)"--edge", (gchar*)"bottom", (gchar*)"--widthtype", (gchar*)"request",
                         (gchar*)"--height", (gchar*)"24", (gchar*)"--expand", (gchar*)"false", (gchar*)"--align",
                         (gchar*)"left", nullptr};
        bool started = g_spawn_async(nullptr, argv, nullptr, GSpawnFlags(G_SPAWN_DO_NOT_REAP_CHILD), nullptr,
                                     nullptr, &FPid, nullptr);
        g_free(trayer);
        return started && native_test::PumpUntil(DesktopTrayHostExists, 15000);
    }
    void Stop() {
        if (FPid <= 0) return;
        kill(FPid, SIGTERM);
        waitpid(FPid, nullptr, 0);
        g_spawn_close_pid(FPid);
        FPid = 0;
    }

private:
    GPid FPid = 0;
};

}  // namespace tray_test
