#include "platform/sleep_inhibitor.h"

#include <gio/gio.h>
#include <gio/gunixfdlist.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace rallinox {

namespace {

constexpr const char* kSystemBusSocket = "/run/dbus/system_bus_socket";
constexpr int kCallTimeoutMs = 2000;

// Without an address or the usual socket GLib would only fail slowly.
GDBusConnection* connectSystemBus() {
    std::error_code ignored;
    if (!std::getenv("DBUS_SYSTEM_BUS_ADDRESS") && !std::filesystem::exists(kSystemBusSocket, ignored)) {
        return nullptr;
    }
    GError* error = nullptr;
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SYSTEM, nullptr, &error);
    if (error) g_error_free(error);
    return bus;
}

}  // namespace

SleepInhibitor::SleepInhibitor(const char* why) {
    GDBusConnection* bus = connectSystemBus();
    if (!bus) return;
    GUnixFDList* fds = nullptr;
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_with_unix_fd_list_sync(
        bus, "org.freedesktop.login1", "/org/freedesktop/login1", "org.freedesktop.login1.Manager", "Inhibit",
        g_variant_new("(ssss)", "sleep:idle", "Rallinox", why, "block"), G_VARIANT_TYPE("(h)"),
        G_DBUS_CALL_FLAGS_NONE, kCallTimeoutMs, nullptr, &fds, nullptr, &error);
    if (reply) {
        gint32 index = -1;
        g_variant_get(reply, "(h)", &index);
        if (fds && index >= 0) fd_ = g_unix_fd_list_get(fds, index, nullptr);
        g_variant_unref(reply);
    }
    if (fds) g_object_unref(fds);
    if (error) g_error_free(error);
    g_object_unref(bus);
}

SleepInhibitor::~SleepInhibitor() {
    if (fd_ >= 0) close(fd_);
}

}  // namespace rallinox
