// The icon of the application's window as the window manager reads it.
#pragma once

#include <optional>
#include <utility>

struct SDL_Window;

namespace rallinox::guitest {

// Width and height of the first picture of _NET_WM_ICON; nothing without one.
std::optional<std::pair<long, long>> windowIconSize(SDL_Window* window);

}  // namespace rallinox::guitest
