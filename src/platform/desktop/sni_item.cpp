#include "platform/desktop/sni_item.h"

#include <unistd.h>

#include <atomic>

#include "platform/desktop/sni_icon.h"

namespace {

constexpr const char* ItemXml = R"xml(<node>
 <interface name="org.kde.StatusNotifierItem">
  <property name="Category" type="s" access="read"/>
  <property name="Id" type="s" access="read"/>
  <property name="Title" type="s" access="read"/>
  <property name="Status" type="s" access="read"/>
  <property name="WindowId" type="i" access="read"/>
  <property name="IconName" type="s" access="read"/>
  <property name="IconPixmap" type="a(iiay)" access="read"/>
  <property name="OverlayIconName" type="s" access="read"/>
  <property name="OverlayIconPixmap" type="a(iiay)" access="read"/>
  <property name="AttentionIconName" type="s" access="read"/>
  <property name="AttentionIconPixmap" type="a(iiay)" access="read"/>
  <property name="AttentionMovieName" type="s" access="read"/>
  <property name="ToolTip" type="(sa(iiay)ss)" access="read"/>
  <property name="ItemIsMenu" type="b" access="read"/>
  <property name="Menu" type="o" access="read"/>
  <method name="ContextMenu"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
  <method name="Activate"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
  <method name="SecondaryActivate"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
  <method name="Scroll"><arg name="delta" type="i" direction="in"/><arg name="orientation" type="s" direction="in"/></method>
  <signal name="NewTitle"/>
  <signal name="NewIcon"/>
  <signal name="NewAttentionIcon"/>
  <signal name="NewOverlayIcon"/>
  <signal name="NewToolTip"/>
  <signal name="NewStatus"><arg name="status" type="s"/></signal>
 </interface>
</node>)xml";

GDBusInterfaceInfo* ItemInterfaceInfo() {
    static GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(ItemXml, nullptr);
    return node->interfaces[0];
}

// Each item of the process gets its own number in its bus name.
std::string NextBusName() {
    static std::atomic<int> counter{0};
    return std::string(SniItemInterface) + "-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
}

GDBusConnection* ConnectSessionBus() {
    gchar* address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (!address) return nullptr;
    GDBusConnection* connection = g_dbus_connection_new_for_address_sync(
        address, GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                      G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, nullptr);
    g_free(address);
    // A bus that goes away must not end the program.
    if (connection) g_dbus_connection_set_exit_on_close(connection, FALSE);
    return connection;
}

// The watcher's unique name, asked of the bus itself (never of the
// watcher, which may be slow or in this very thread); empty when none.
std::string CurrentOwner(GDBusConnection* connection, const char* name) {
    GVariant* reply = g_dbus_connection_call_sync(connection, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                  "org.freedesktop.DBus", "GetNameOwner", g_variant_new("(s)", name),
                                                  G_VARIANT_TYPE("(s)"), G_DBUS_CALL_FLAGS_NONE, 2000, nullptr, nullptr);
    if (!reply) return {};
    const gchar* owner = nullptr;
    g_variant_get(reply, "(&s)", &owner);
    std::string result = owner ? owner : "";
    g_variant_unref(reply);
    return result;
}

// An answer to an asynchronous call: the item and the watcher generation
// the call was made for. A cancelled call means the item is gone.
struct TPendingCall {
    TSniItem* Item;
    unsigned Generation;
};
bool Cancelled(const GError* error) { return error && g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED); }

}  // namespace

TSniItem::TSniItem() : FBusName(NextBusName()) {
    FConnection = ConnectSessionBus();
    if (!FConnection) return;
    FCancel = g_cancellable_new();
    static const GDBusInterfaceVTable vtable = {&TSniItem::HandleMethod, &TSniItem::GetProperty, nullptr, {}};
    FObjectId = g_dbus_connection_register_object(FConnection, SniItemPath, ItemInterfaceInfo(), &vtable, this,
                                                  nullptr, nullptr);
    auto onHost = [](GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* signal, GVariant*,
                     gpointer self) {
        auto* item = static_cast<TSniItem*>(self);
        if (g_strcmp0(signal, "StatusNotifierHostRegistered") == 0) {
            item->FHostRegistered = true;
            item->Changed();
        } else {
            item->QueryHost();  // another host may still be there
        }
    };
    const char* hostSignals[] = {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"};
    for (int i = 0; i < 2; i++)
        FHostSignals[i] = g_dbus_connection_signal_subscribe(FConnection, nullptr, SniWatcherName, hostSignals[i],
                                                             SniWatcherPath, nullptr, G_DBUS_SIGNAL_FLAGS_NONE, onHost,
                                                             this, nullptr);
    // Known before the constructor returns, so the first SetVisible picks
    // the right kind of tray; the watch below follows later changes.
    WatcherAppeared(CurrentOwner(FConnection, SniWatcherName));
    FWatchId = g_bus_watch_name_on_connection(
        FConnection, SniWatcherName, G_BUS_NAME_WATCHER_FLAGS_NONE,
        [](GDBusConnection*, const gchar*, const gchar* owner, gpointer self) {
            static_cast<TSniItem*>(self)->WatcherAppeared(owner);
        },
        [](GDBusConnection*, const gchar*, gpointer self) { static_cast<TSniItem*>(self)->WatcherVanished(); }, this,
        nullptr);
}

TSniItem::~TSniItem() {
    if (FConnection) {
        g_cancellable_cancel(FCancel);
        if (FOwnId) g_bus_unown_name(FOwnId);
        if (FWatchId) g_bus_unwatch_name(FWatchId);
        for (unsigned id : FHostSignals)
            if (id) g_dbus_connection_signal_unsubscribe(FConnection, id);
        if (FObjectId) g_dbus_connection_unregister_object(FConnection, FObjectId);
        // Closing drops the name at once, whoever else still holds the
        // connection (calls in flight do until they finish).
        g_dbus_connection_close(FConnection, nullptr, nullptr, nullptr);
        g_object_unref(FConnection);
        g_object_unref(FCancel);
    }
    if (FPixmaps) g_variant_unref(FPixmaps);
}

void TSniItem::SetPublished(bool published) {
    if (!FConnection || published == (FOwnId != 0)) return;
    if (!published) {
        g_bus_unown_name(FOwnId);
        FOwnId = 0;
        FNameOwned = false;
        FRegistered = false;
        FRegisterPending = 0;
        Changed();
        return;
    }
    FOwnId = g_bus_own_name_on_connection(
        FConnection, FBusName.c_str(), G_BUS_NAME_OWNER_FLAGS_DO_NOT_QUEUE,
        [](GDBusConnection*, const gchar*, gpointer self) {
            auto* item = static_cast<TSniItem*>(self);
            item->FNameOwned = true;
            item->Register();
        },
        [](GDBusConnection*, const gchar*, gpointer self) {
            auto* item = static_cast<TSniItem*>(self);
            item->FNameOwned = false;
            item->FRegistered = false;
            item->Changed();
        },
        this, nullptr);
}

void TSniItem::SetIcon(const std::vector<TBitmap32>& images) {
    if (FPixmaps) g_variant_unref(FPixmaps);
    FPixmaps = g_variant_ref_sink(SniPixmapVariant(images));
    EmitItemSignal("NewIcon");
}

void TSniItem::SetToolTip(const std::string& text) {
    if (text == FToolTip) return;
    FToolTip = text;
    EmitItemSignal("NewToolTip");
}

void TSniItem::EmitItemSignal(const char* name) {
    if (FConnection && FNameOwned)
        g_dbus_connection_emit_signal(FConnection, nullptr, SniItemPath, SniItemInterface, name, nullptr, nullptr);
}

void TSniItem::Changed() {
    if (OnStateChanged) OnStateChanged();
}

void TSniItem::WatcherAppeared(const std::string& owner) {
    if (owner.empty() || owner == FWatcherOwner) return;  // the first report of the watcher known already
    FWatcherOwner = owner;
    FGeneration++;
    FRegistered = false;
    FHostRegistered = false;
    QueryHost();
    Register();
    Changed();
}

void TSniItem::WatcherVanished() {
    if (FWatcherOwner.empty()) return;
    FWatcherOwner.clear();
    FGeneration++;
    FHostRegistered = false;
    FRegistered = false;
    FRegisterPending = 0;
    Changed();
}

void TSniItem::QueryHost() {
    if (!WatcherPresent()) return;
    g_dbus_connection_call(
        FConnection, SniWatcherName, SniWatcherPath, "org.freedesktop.DBus.Properties", "Get",
        g_variant_new("(ss)", SniWatcherName, "IsStatusNotifierHostRegistered"), G_VARIANT_TYPE("(v)"),
        G_DBUS_CALL_FLAGS_NONE, -1, FCancel,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            TPendingCall call = *static_cast<TPendingCall*>(data);
            delete static_cast<TPendingCall*>(data);
            GError* error = nullptr;
            GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, &error);
            bool cancelled = Cancelled(error);
            if (error) g_error_free(error);
            if (cancelled) return;
            TSniItem* item = call.Item;
            if (call.Generation == item->FGeneration) {
                // A watcher that cannot tell (no such property, or not a
                // boolean) is taken at its word that hosts exist.
                bool host = true;
                if (reply) {
                    GVariant* value = nullptr;
                    g_variant_get(reply, "(v)", &value);
                    if (g_variant_is_of_type(value, G_VARIANT_TYPE_BOOLEAN)) host = g_variant_get_boolean(value);
                    g_variant_unref(value);
                }
                if (host != item->FHostRegistered) {
                    item->FHostRegistered = host;
                    item->Changed();
                }
            }
            if (reply) g_variant_unref(reply);
        },
        new TPendingCall{this, FGeneration});
}

void TSniItem::Register() {
    if (!FNameOwned || !WatcherPresent() || FRegistered || FRegisterPending == FGeneration) return;
    FRegisterPending = FGeneration;
    g_dbus_connection_call(
        FConnection, SniWatcherName, SniWatcherPath, SniWatcherName, "RegisterStatusNotifierItem",
        g_variant_new("(s)", FBusName.c_str()), nullptr, G_DBUS_CALL_FLAGS_NONE, -1, FCancel,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            TPendingCall call = *static_cast<TPendingCall*>(data);
            delete static_cast<TPendingCall*>(data);
            GError* error = nullptr;
            GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, &error);
            bool cancelled = Cancelled(error);
            if (error) g_error_free(error);
            if (reply) g_variant_unref(reply);
            if (cancelled) return;
            TSniItem* item = call.Item;
            // An answer from a watcher that has gone since counts for nothing.
            if (call.Generation != item->FGeneration || item->FRegisterPending != call.Generation) return;
            item->FRegisterPending = 0;
            item->FRegistered = reply && item->FNameOwned;
            item->Changed();
        },
        new TPendingCall{this, FGeneration});
}

void TSniItem::HandleMethod(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* method,
                            GVariant* params, GDBusMethodInvocation* invocation, gpointer self) {
    auto* item = static_cast<TSniItem*>(self);
    bool activate = g_strcmp0(method, "Activate") == 0;
    bool contextMenu = g_strcmp0(method, "ContextMenu") == 0;
    TPoint point;
    if (activate || contextMenu) g_variant_get(params, "(ii)", &point.X, &point.Y);
    // Answered first: the handler may open a menu and run its loop, and
    // the panel must not wait for that.
    g_dbus_method_invocation_return_value(invocation, nullptr);
    if (activate || contextMenu) item->Dispatch(contextMenu, point);
    // SecondaryActivate and Scroll mean nothing to this program.
}

void TSniItem::Dispatch(bool contextMenu, TPoint point) {
    struct TCall {
        std::weak_ptr<int> Alive;
        TSniItem* Item;
        bool ContextMenu;
        TPoint Point;
    };
    g_idle_add_full(
        G_PRIORITY_DEFAULT,
        [](gpointer data) {
            auto* call = static_cast<TCall*>(data);
            if (call->Alive.expired()) return G_SOURCE_REMOVE;
            auto& handler = call->ContextMenu ? call->Item->OnContextMenu : call->Item->OnActivate;
            if (handler) handler(call->Point);
            return G_SOURCE_REMOVE;
        },
        new TCall{FAlive, this, contextMenu, point}, [](gpointer data) { delete static_cast<TCall*>(data); });
}

GVariant* TSniItem::GetProperty(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* name,
                                GError** error, gpointer self) {
    GVariant* value = static_cast<TSniItem*>(self)->PropertyValue(name);
    if (!value) g_set_error(error, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_PROPERTY, "No property %s", name);
    return value;
}

GVariant* TSniItem::PropertyValue(const std::string& name) const {
    auto noPixmaps = [] { return g_variant_new_array(G_VARIANT_TYPE("(iiay)"), nullptr, 0); };
    if (name == "Category") return g_variant_new_string("ApplicationStatus");
    if (name == "Id") return g_variant_new_string("olvo-reminder");
    if (name == "Title") return g_variant_new_string("Olvo Reminder");
    // Hidden means unpublished, so a published item is always active.
    if (name == "Status") return g_variant_new_string("Active");
    if (name == "WindowId") return g_variant_new_int32(0);
    // GDBus takes the reference it is handed.
    if (name == "IconPixmap") return FPixmaps ? g_variant_ref(FPixmaps) : noPixmaps();
    if (name == "OverlayIconPixmap" || name == "AttentionIconPixmap") return noPixmaps();
    if (name == "IconName" || name == "OverlayIconName" || name == "AttentionIconName" ||
        name == "AttentionMovieName")
        return g_variant_new_string("");
    if (name == "ToolTip")
        return g_variant_new("(s@a(iiay)ss)", "", noPixmaps(), FToolTip.c_str(), "");
    // The program draws its own menu on ContextMenu: no exported menu.
    if (name == "ItemIsMenu") return g_variant_new_boolean(FALSE);
    if (name == "Menu") return g_variant_new_object_path("/NO_DBUSMENU");
    return nullptr;
}
