// The interface scale (1.0 at 96 DPI) as the desktop itself sets it: its
// font DPI in the X resources, GDK_SCALE, or the text scaling the settings
// portal reports. The monitor's physical size is the last resort, since a
// small laptop screen at 100 % would otherwise get nearly twice the size.
#pragma once

#include <optional>
#include <string>

namespace rallinox {

struct ScaleSources {
    std::optional<double> xftDpi = std::nullopt;             // "Xft.dpi" of the X resource manager
    std::optional<double> gdkScale = std::nullopt;           // the GDK_SCALE variable
    std::optional<double> textScalingFactor = std::nullopt;  // org.gnome.desktop.interface, from the portal
    std::optional<double> monitorDpi = std::nullopt;         // from the monitor's physical size
};

// The first source that holds a usable value, in the order above, rounded to
// quarter steps within 1..4; 1.0 when none does.
float chooseDisplayScale(const ScaleSources& sources);

// "Xft.dpi" from the text of the X resource manager (lines "name:\tvalue").
std::optional<double> xftDpiFromResources(const std::string& resources);
// A whole number of at least 1, as GDK reads it; nothing for unset or junk.
std::optional<double> gdkScaleFromVariable(const char* value);
// Asks the settings portal on the session bus; nothing without one.
std::optional<double> readPortalTextScalingFactor();

}  // namespace rallinox
