// The user's D-Bus session bus, or nothing when there is none.
#pragma once

typedef struct _GDBusConnection GDBusConnection;

namespace rallinox {

// A new reference the caller releases with g_object_unref; null without a bus.
GDBusConnection* connectSessionBus();

}  // namespace rallinox
