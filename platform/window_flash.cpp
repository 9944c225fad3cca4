#include "platform/window_flash.h"

#include <SDL.h>

namespace rallinox {

void flashUnlessFocused(SDL_Window* window) {
    if (!window || (SDL_GetWindowFlags(window) & SDL_WINDOW_INPUT_FOCUS)) return;
    SDL_FlashWindow(window, SDL_FLASH_UNTIL_FOCUSED);
}

}  // namespace rallinox
