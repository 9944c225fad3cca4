#include "platform/portal_file_dialog.h"

#include <gio/gio.h>

#include <atomic>
#include <filesystem>

#include "platform/session_bus.h"

namespace rallinox {

namespace {

constexpr const char* kPortalName = "org.freedesktop.portal.Desktop";

struct PortalReply {
    bool answered = false;
    guint32 code = 2;  // 0 chosen, 1 cancelled, 2 other end
    std::string path;
};

void onResponse(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*, GVariant* parameters,
                gpointer data) {
    auto* reply = static_cast<PortalReply*>(data);
    GVariant* results = nullptr;
    g_variant_get(parameters, "(u@a{sv})", &reply->code, &results);
    const gchar** uris = nullptr;
    if (reply->code == 0 && g_variant_lookup(results, "uris", "^a&s", &uris) && uris && uris[0]) {
        if (gchar* path = g_filename_from_uri(uris[0], nullptr, nullptr)) {
            reply->path = path;
            g_free(path);
        }
    }
    g_free(uris);
    g_variant_unref(results);
    reply->answered = true;
}

// The object path the portal will use for our request, known in advance so
// that the answer cannot arrive before we listen for it.
std::string requestPath(GDBusConnection* bus, const std::string& token) {
    std::string sender = g_dbus_connection_get_unique_name(bus) + 1;  // without the leading ':'
    for (char& c : sender) {
        if (c == '.') c = '_';
    }
    return "/org/freedesktop/portal/desktop/request/" + sender + "/" + token;
}

GVariant* filterVariant(const FileFilter& filter) {
    GVariantBuilder patterns;
    g_variant_builder_init(&patterns, G_VARIANT_TYPE("a(us)"));
    for (const std::string& pattern : filter.patterns) g_variant_builder_add(&patterns, "(us)", 0u, pattern.c_str());
    return g_variant_new("(sa(us))", filter.name.c_str(), &patterns);
}

GVariant* optionsVariant(const FileDialogRequest& request, const std::string& token) {
    GVariantBuilder options;
    g_variant_builder_init(&options, G_VARIANT_TYPE("a{sv}"));
    g_variant_builder_add(&options, "{sv}", "handle_token", g_variant_new_string(token.c_str()));
    g_variant_builder_add(&options, "{sv}", "modal", g_variant_new_boolean(TRUE));
    if (!request.filters.empty()) {
        GVariantBuilder filters;
        g_variant_builder_init(&filters, G_VARIANT_TYPE("a(sa(us))"));
        for (const FileFilter& filter : request.filters) g_variant_builder_add_value(&filters, filterVariant(filter));
        g_variant_builder_add(&options, "{sv}", "filters", g_variant_builder_end(&filters));
        g_variant_builder_add(&options, "{sv}", "current_filter", filterVariant(request.filters.front()));
    }
    if (request.mode == FileDialogMode::PickFolder) {
        g_variant_builder_add(&options, "{sv}", "directory", g_variant_new_boolean(TRUE));
    }
    if (request.mode == FileDialogMode::SaveFile && !request.fileName.empty()) {
        g_variant_builder_add(&options, "{sv}", "current_name", g_variant_new_string(request.fileName.c_str()));
    }
    std::error_code error;
    if (!request.startFolder.empty() && std::filesystem::is_directory(request.startFolder, error)) {
        g_variant_builder_add(&options, "{sv}", "current_folder", g_variant_new_bytestring(request.startFolder.c_str()));
    }
    return g_variant_builder_end(&options);
}

void closeRequest(GDBusConnection* bus, const std::string& path) {
    g_dbus_connection_call_sync(bus, kPortalName, path.c_str(), "org.freedesktop.portal.Request", "Close", nullptr,
                                nullptr, G_DBUS_CALL_FLAGS_NONE, 2000, nullptr, nullptr);
}

// Dispatches D-Bus messages for this thread until the answer or a stop.
bool waitForResponse(GMainContext* context, const PortalReply& reply, std::stop_token stop) {
    while (!reply.answered) {
        if (stop.stop_requested()) return false;
        if (!g_main_context_iteration(context, FALSE)) g_usleep(50 * 1000);
    }
    return true;
}

}  // namespace

DialogAnswer runPortalFileDialog(const FileDialogRequest& request, std::stop_token stop) {
    GDBusConnection* bus = connectSessionBus();
    if (!bus) return {DialogOutcome::Unavailable, {}};
    static std::atomic<int> nextToken{1};
    const std::string token = "rallinox" + std::to_string(nextToken++);
    const std::string path = requestPath(bus, token);

    GMainContext* context = g_main_context_new();
    g_main_context_push_thread_default(context);
    PortalReply reply;
    const guint subscription = g_dbus_connection_signal_subscribe(
        bus, kPortalName, "org.freedesktop.portal.Request", "Response", path.c_str(), nullptr,
        G_DBUS_SIGNAL_FLAGS_NONE, onResponse, &reply, nullptr);

    const char* method = request.mode == FileDialogMode::SaveFile ? "SaveFile" : "OpenFile";
    GError* error = nullptr;
    GVariant* handle = g_dbus_connection_call_sync(
        bus, kPortalName, "/org/freedesktop/portal/desktop", "org.freedesktop.portal.FileChooser", method,
        g_variant_new("(ss@a{sv})", "", request.title.c_str(), optionsVariant(request, token)), nullptr,
        G_DBUS_CALL_FLAGS_NONE, 10000, nullptr, &error);

    DialogAnswer answer{DialogOutcome::Unavailable, {}};
    if (handle) {
        g_variant_unref(handle);
        if (!waitForResponse(context, reply, stop)) {
            closeRequest(bus, path);
            answer.outcome = DialogOutcome::Cancelled;
        } else if (reply.code == 0 && !reply.path.empty()) {
            answer = {DialogOutcome::Chosen, reply.path};
        } else {
            answer.outcome = DialogOutcome::Cancelled;
        }
    }
    if (error) g_error_free(error);
    g_dbus_connection_signal_unsubscribe(bus, subscription);
    g_main_context_pop_thread_default(context);
    g_main_context_unref(context);
    g_object_unref(bus);
    return answer;
}

}  // namespace rallinox
