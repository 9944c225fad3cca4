#include "platform/display_scale.h"

#include <gio/gio.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "platform/session_bus.h"

namespace rallinox {

namespace {

constexpr double kBaseDpi = 96.0;
// The portal answers at once when it runs; start-up never waits longer.
constexpr int kPortalTimeoutMs = 500;

std::optional<double> positive(std::optional<double> value) {
    if (value && std::isfinite(*value) && *value > 0) return value;
    return std::nullopt;
}

std::optional<double> number(const std::string& text) {
    const char* start = text.c_str();
    char* end = nullptr;
    const double value = std::strtod(start, &end);
    if (end == start) return std::nullopt;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end != '\0') return std::nullopt;
    return value;
}

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// Older portals wrap the value in one more variant.
GVariant* unwrapped(GVariant* value) {
    while (value && g_variant_is_of_type(value, G_VARIANT_TYPE_VARIANT)) {
        GVariant* inner = g_variant_get_variant(value);
        g_variant_unref(value);
        value = inner;
    }
    return value;
}

}  // namespace

float chooseDisplayScale(const ScaleSources& sources) {
    std::optional<double> scale;
    if (const auto dpi = positive(sources.xftDpi)) {
        scale = *dpi / kBaseDpi;
    } else if (const auto gdk = positive(sources.gdkScale)) {
        scale = gdk;
    } else if (const auto text = positive(sources.textScalingFactor)) {
        scale = text;
    } else if (const auto monitor = positive(sources.monitorDpi)) {
        scale = *monitor / kBaseDpi;
    }
    if (!scale) return 1.0f;
    const double quarters = std::round(*scale * 4.0) / 4.0;
    return static_cast<float>(std::clamp(quarters, 1.0, 4.0));
}

std::optional<double> xftDpiFromResources(const std::string& resources) {
    std::istringstream lines(resources);
    std::string line;
    while (std::getline(lines, line)) {
        const size_t colon = line.find(':');
        if (colon == std::string::npos || trimmed(line.substr(0, colon)) != "Xft.dpi") continue;
        return positive(number(trimmed(line.substr(colon + 1))));
    }
    return std::nullopt;
}

std::optional<double> gdkScaleFromVariable(const char* value) {
    if (!value) return std::nullopt;
    char* end = nullptr;
    const long scale = std::strtol(value, &end, 10);
    if (end == value || *end != '\0' || scale < 1) return std::nullopt;
    return static_cast<double>(scale);
}

std::optional<double> readPortalTextScalingFactor() {
    GDBusConnection* bus = connectSessionBus();
    if (!bus) return std::nullopt;
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_sync(
        bus, "org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop", "org.freedesktop.portal.Settings",
        "Read", g_variant_new("(ss)", "org.gnome.desktop.interface", "text-scaling-factor"), G_VARIANT_TYPE("(v)"),
        G_DBUS_CALL_FLAGS_NONE, kPortalTimeoutMs, nullptr, &error);
    std::optional<double> factor;
    if (reply) {
        GVariant* value = nullptr;
        g_variant_get(reply, "(v)", &value);
        value = unwrapped(value);
        if (value && g_variant_is_of_type(value, G_VARIANT_TYPE_DOUBLE)) factor = positive(g_variant_get_double(value));
        if (value) g_variant_unref(value);
        g_variant_unref(reply);
    }
    if (error) g_error_free(error);
    g_object_unref(bus);
    return factor;
}

}  // namespace rallinox
