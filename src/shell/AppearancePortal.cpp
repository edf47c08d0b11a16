#include "shell/AppearancePortal.h"

#include <sys/stat.h>

#include <cstdlib>

#include <gio/gio.h>

#include "shell/DesktopLook.h"
#include "ui/Log.h"

namespace shell {

namespace {

constexpr const char* kPortal = "org.freedesktop.portal.Desktop";
constexpr const char* kPath = "/org/freedesktop/portal/desktop";
constexpr const char* kSettings = "org.freedesktop.portal.Settings";
constexpr const char* kAppearance = "org.freedesktop.appearance";

// What the bus thread keeps while it runs.
struct BusThread {
    AppearancePortal* portal;
    GCancellable* cancellable;
    GDBusConnection* connection = nullptr;
    guint subscription = 0;
};

// A value of the appearance namespace: KEY and its variant (a uint32, or a
// variant holding one, as some portals answer).
void readSetting(AppearancePortal& portal, const char* key, GVariant* value) {
    GVariant* inner = g_variant_is_of_type(value, G_VARIANT_TYPE_VARIANT) ? g_variant_get_variant(value)
                                                                           : g_variant_ref(value);
    if (g_variant_is_of_type(inner, G_VARIANT_TYPE_UINT32)) portal.settingRead(key, g_variant_get_uint32(inner));
    g_variant_unref(inner);
}

void settingChanged(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*, GVariant* parameters,
                    gpointer data) {
    const gchar* space = nullptr;
    const gchar* key = nullptr;
    GVariant* value = nullptr;
    if (!g_variant_is_of_type(parameters, G_VARIANT_TYPE("(ssv)"))) return;
    g_variant_get(parameters, "(&s&sv)", &space, &key, &value);
    if (g_strcmp0(space, kAppearance) == 0) readSetting(*static_cast<BusThread*>(data)->portal, key, value);
    g_variant_unref(value);
}

void answered(GObject* source, GAsyncResult* result, gpointer data) {
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, &error);
    if (!reply) {
        if (!g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED))
            ui::log("appearance: the settings portal did not answer: %s", error->message);
        g_error_free(error);
        return;
    }
    // (a{sa{sv}}): the namespaces asked for, each with its keys.
    GVariantIter* spaces = nullptr;
    g_variant_get(reply, "(a{sa{sv}})", &spaces);
    const gchar* space = nullptr;
    GVariantIter* keys = nullptr;
    while (g_variant_iter_loop(spaces, "{&sa{sv}}", &space, &keys)) {
        if (g_strcmp0(space, kAppearance) != 0) continue;
        const gchar* key = nullptr;
        GVariant* value = nullptr;
        GVariantIter* copy = g_variant_iter_copy(keys);
        while (g_variant_iter_loop(copy, "{&sv}", &key, &value))
            readSetting(*static_cast<BusThread*>(data)->portal, key, value);
        g_variant_iter_free(copy);
    }
    g_variant_iter_free(spaces);
    g_variant_unref(reply);
}

void connected(GObject*, GAsyncResult* result, gpointer data) {
    auto& bus = *static_cast<BusThread*>(data);
    GError* error = nullptr;
    bus.connection = g_dbus_connection_new_for_address_finish(result, &error);
    if (!bus.connection) {
        if (!g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED))
            ui::log("appearance: no session bus: %s", error->message);
        g_error_free(error);
        return;
    }
    bus.subscription = g_dbus_connection_signal_subscribe(bus.connection, kPortal, kSettings, "SettingChanged", kPath,
                                                          kAppearance, G_DBUS_SIGNAL_FLAGS_NONE, settingChanged, &bus,
                                                          nullptr);
    const gchar* spaces[] = {kAppearance, nullptr};
    // A portal that does not run is not started for us; its signal still
    // reaches us once it runs.
    g_dbus_connection_call(bus.connection, kPortal, kPath, kSettings, "ReadAll", g_variant_new("(^as)", spaces),
                           G_VARIANT_TYPE("(a{sa{sv}})"), G_DBUS_CALL_FLAGS_NO_AUTO_START, -1, bus.cancellable,
                           answered, &bus);
}

gboolean quitLoop(gpointer loop) {
    g_main_loop_quit(static_cast<GMainLoop*>(loop));
    return G_SOURCE_REMOVE;
}

}  // namespace

AppearancePortal::AppearancePortal(Apply apply) : apply_(std::move(apply)) {}

AppearancePortal::~AppearancePortal() { stop(); }

std::optional<std::string> AppearancePortal::sessionBusAddress(
    const std::function<const char*(const char*)>& getenv) {
    if (const char* address = getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address) return std::string(address);
    const char* runtime = getenv("XDG_RUNTIME_DIR");
    if (!runtime || *runtime != '/') return std::nullopt;
    const std::string socket = std::string(runtime) + "/bus";
    struct stat bus {};
    if (::stat(socket.c_str(), &bus) != 0 || !S_ISSOCK(bus.st_mode)) return std::nullopt;
    // The socket's path, escaped as D-Bus addresses are.
    gchar* escaped = g_dbus_address_escape_value(socket.c_str());
    std::string address = std::string("unix:path=") + escaped;
    g_free(escaped);
    return address;
}

void AppearancePortal::windowPresented(std::function<void()> wake) {
    if (thread_.joinable()) return;
    const auto address = sessionBusAddress(std::getenv);
    if (!address) return;
    wake_ = std::move(wake);
    context_ = g_main_context_new();
    loop_ = g_main_loop_new(context_, FALSE);
    cancellable_ = g_cancellable_new();
    thread_ = std::thread([this, address = *address] {
        g_main_context_push_thread_default(context_);
        BusThread bus{this, cancellable_};
        g_dbus_connection_new_for_address(
            address.c_str(),
            GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                 G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, cancellable_, connected, &bus);
        g_main_loop_run(loop_);
        if (bus.connection) {
            if (bus.subscription) g_dbus_connection_signal_unsubscribe(bus.connection, bus.subscription);
            g_dbus_connection_close_sync(bus.connection, nullptr, nullptr);
            g_object_unref(bus.connection);
        }
        // Whatever the cancelled calls still have to say, said to nobody.
        while (g_main_context_iteration(context_, FALSE)) {
        }
        g_main_context_pop_thread_default(context_);
    });
}

void AppearancePortal::settingRead(const std::string& key, unsigned value) {
    {
        std::lock_guard lock(mutex_);
        if (key == "color-scheme") colorScheme_ = value;
        else if (key == "contrast") contrast_ = value;
        else return;
        changed_ = true;
    }
    if (wake_) wake_();
}

void AppearancePortal::afterPass() {
    std::optional<unsigned> scheme, contrast;
    {
        std::lock_guard lock(mutex_);
        if (!changed_) return;
        changed_ = false;
        scheme = colorScheme_;
        contrast = contrast_;
    }
    apply_(lookForAppearance(scheme, contrast));
}

void AppearancePortal::windowClosing() { stop(); }

void AppearancePortal::stop() {
    if (!thread_.joinable()) return;
    g_cancellable_cancel(cancellable_);
    GSource* quit = g_idle_source_new();
    g_source_set_callback(quit, quitLoop, loop_, nullptr);
    g_source_attach(quit, context_);
    g_source_unref(quit);
    thread_.join();
    g_main_loop_unref(loop_);
    g_main_context_unref(context_);
    g_object_unref(cancellable_);
    loop_ = nullptr;
    context_ = nullptr;
    cancellable_ = nullptr;
}

}  // namespace shell
