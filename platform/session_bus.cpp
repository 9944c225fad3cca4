#include "platform/session_bus.h"

#include <gio/gio.h>

#include <cstdlib>

namespace rallinox {

GDBusConnection* connectSessionBus() {
    // Without an address GLib would try to launch a bus of its own; a
    // desktop without one has no portal or file manager to talk to anyway.
    if (!std::getenv("DBUS_SESSION_BUS_ADDRESS")) return nullptr;
    GError* error = nullptr;
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
    if (error) g_error_free(error);
    return bus;
}

}  // namespace rallinox
