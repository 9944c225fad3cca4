#include "platform/desktop.h"

#include <gio/gio.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/session_bus.h"

namespace rallinox {

namespace {

// How long an opener has to report that it could not open the path. One that
// runs the application in its place (xdg-open outside a desktop session)
// runs until that is closed: still running by then counts as opened.
constexpr auto kOpenerVerdict = std::chrono::seconds(3);
constexpr auto kOpenerPoll = std::chrono::milliseconds(20);

// Whether the opener ended successfully, or still runs after the verdict
// time; a child still running is reaped when it ends.
bool openerSucceeded(GPid child) {
    const auto deadline = std::chrono::steady_clock::now() + kOpenerVerdict;
    for (;;) {
        int status = 0;
        const pid_t ended = waitpid(child, &status, WNOHANG);
        if (ended == child) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (ended < 0) return false;
        if (std::chrono::steady_clock::now() >= deadline) break;
        std::this_thread::sleep_for(kOpenerPoll);
    }
    std::thread([child] { waitpid(child, nullptr, 0); }).detach();
    return true;
}

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
    GPid child = 0;
    const auto flags = GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD);
    const bool started = g_spawn_async(nullptr, argv, nullptr, flags, nullptr, nullptr, &child, &error);
    if (error) g_error_free(error);
    return started && openerSucceeded(child);
}

bool showInFolder(const std::string& path) {
    if (askFileManagerToShow(path)) return true;
    return shellOpen(std::filesystem::path(path).parent_path().string());
}

}  // namespace rallinox
