#include "platform/launcher_progress.h"

#include <gio/gio.h>

#include <string>

#include "platform/session_bus.h"

namespace rallinox {

namespace {

constexpr const char* kObjectPath = "/com/canonical/unity/launcherentry/rallinox";

}  // namespace

TaskbarProgress::~TaskbarProgress() {
    if (bus_) g_object_unref(bus_);
}

bool TaskbarProgress::connect() {
    if (!tried_) {
        tried_ = true;
        bus_ = connectSessionBus();
    }
    return bus_ != nullptr;
}

void TaskbarProgress::set(double value) {
    const int thousandths = value < 0 ? -1 : static_cast<int>(value * 1000);
    if (thousandths == last_) return;
    last_ = thousandths;
    if (!connect()) return;
    GVariantBuilder properties;
    g_variant_builder_init(&properties, G_VARIANT_TYPE("a{sv}"));
    g_variant_builder_add(&properties, "{sv}", "progress-visible", g_variant_new_boolean(thousandths >= 0));
    if (thousandths >= 0) {
        g_variant_builder_add(&properties, "{sv}", "progress", g_variant_new_double(thousandths / 1000.0));
    }
    const std::string appUri = std::string("application://") + kDesktopEntryName;
    g_dbus_connection_emit_signal(bus_, nullptr, kObjectPath, "com.canonical.Unity.LauncherEntry", "Update",
                                  g_variant_new("(sa{sv})", appUri.c_str(), &properties), nullptr);
}

}  // namespace rallinox
