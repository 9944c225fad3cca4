#include "platform/x_resources.h"

#include <X11/Xlib.h>

namespace rallinox {

std::string xResourceManagerText() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return "";
    const char* resources = XResourceManagerString(display);
    std::string text = resources ? resources : "";
    XCloseDisplay(display);
    return text;
}

}  // namespace rallinox
