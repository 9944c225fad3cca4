#include "tests/gui/window_icon_probe.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace rallinox::guitest {

std::optional<std::pair<long, long>> windowIconSize(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return std::nullopt;
    Display* display = info.info.x11.display;
    const Atom icon = XInternAtom(display, "_NET_WM_ICON", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long left = 0;
    unsigned char* data = nullptr;
    // The property starts with the first picture's width and height.
    if (XGetWindowProperty(display, info.info.x11.window, icon, 0, 2, False, XA_CARDINAL, &type, &format, &count,
                           &left, &data) != Success ||
        !data) {
        return std::nullopt;
    }
    std::optional<std::pair<long, long>> size;
    if (count == 2) {
        const long* values = reinterpret_cast<const long*>(data);
        size = std::make_pair(values[0], values[1]);
    }
    XFree(data);
    return size;
}

}  // namespace rallinox::guitest
