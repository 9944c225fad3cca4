#include "platform/keyboard.h"

#include <SDL_scancode.h>

namespace rallinox {

// The SDL back end of the GUI fills the key table by SDL scancode.
int guiKeyIndex(Key key) {
    switch (key) {
        case Key::Escape: return SDL_SCANCODE_ESCAPE;
        case Key::Enter: return SDL_SCANCODE_RETURN;
        case Key::KeypadEnter: return SDL_SCANCODE_KP_ENTER;
        case Key::O: return SDL_SCANCODE_O;
        case Key::E: return SDL_SCANCODE_E;
        case Key::Comma: return SDL_SCANCODE_COMMA;
        case Key::Space: return SDL_SCANCODE_SPACE;
        case Key::Left: return SDL_SCANCODE_LEFT;
        case Key::Right: return SDL_SCANCODE_RIGHT;
        case Key::Up: return SDL_SCANCODE_UP;
        case Key::Down: return SDL_SCANCODE_DOWN;
        case Key::Delete: return SDL_SCANCODE_DELETE;
        case Key::Backspace: return SDL_SCANCODE_BACKSPACE;
        case Key::F1: return SDL_SCANCODE_F1;
        case Key::F2: return SDL_SCANCODE_F2;
        case Key::A: return SDL_SCANCODE_A;
        case Key::I: return SDL_SCANCODE_I;
        case Key::M: return SDL_SCANCODE_M;
        case Key::N: return SDL_SCANCODE_N;
        case Key::P: return SDL_SCANCODE_P;
        case Key::R: return SDL_SCANCODE_R;
        case Key::S: return SDL_SCANCODE_S;
        case Key::U: return SDL_SCANCODE_U;
        case Key::Y: return SDL_SCANCODE_Y;
        case Key::Z: return SDL_SCANCODE_Z;
        case Key::Digit0: return SDL_SCANCODE_0;
        case Key::Digit1: return SDL_SCANCODE_1;
        case Key::Digit2: return SDL_SCANCODE_2;
    }
    return SDL_SCANCODE_UNKNOWN;
}

}  // namespace rallinox
