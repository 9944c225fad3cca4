// Draws the user's attention to the window when something they waited for
// has finished while they were elsewhere.
#pragma once

struct SDL_Window;

namespace rallinox {

// Flashes the window's entry in the task bar until the window is focused;
// nothing when it already has the focus.
void flashUnlessFocused(SDL_Window* window);

}  // namespace rallinox
