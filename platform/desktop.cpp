#include "platform/desktop.h"

#include <gio/gio.h>

#include <filesystem>

#include "platform/session_bus.h"

namespace rallinox {

namespace {

bool askFileManagerToShow(const std::string& path) {
    GDBusConnection* bus = connectSessionBus();
    if (!bus) return false;
    gchar* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
    bool shown = false;
    if (uri) {
        const gchar* uris[] = {uri, nullptr};
        GError* error = nullptr;
        GVariant* reply = g_dbus_connection_call_sync(
            bus, "org.freedesktop.FileManager1", "/org/freedesktop/FileManager1", "org.freedesktop.FileManager1",
            "ShowItems", g_variant_new("(^ass)", uris, ""), nullptr, G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, &error);
        shown = reply != nullptr;
        if (reply) g_variant_unref(reply);
        if (error) g_error_free(error);
        g_free(uri);
    }
    g_object_unref(bus);
    return shown;
}

}  // namespace

bool shellOpen(const std::string& path) {
    // The path goes to the opener as one argument, never through a shell.
    gchar* argv[] = {const_cast<gchar*>("xdg-open"), const_cast<gchar*>(path.c_str()), nullptr};
    GError* error = nullptr;
    const bool started = g_spawn_async(nullptr, argv, nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr, nullptr, &error);
    if (error) g_error_free(error);
    return started;
}

bool showInFolder(const std::string& path) {
    if (askFileManagerToShow(path)) return true;
    return shellOpen(std::filesystem::path(path).parent_path().string());
}

}  // namespace rallinox
