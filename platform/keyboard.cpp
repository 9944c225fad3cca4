#include "platform/keyboard.h"

#include <SDL_keyboard.h>

#include <vector>

namespace rallinox {

namespace {

// The key's place on a US keyboard, which also names its character there.
SDL_Scancode usScancode(Key key) {
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
        // The digit row by place: a French keyboard types the digits there
        // only with Shift, but the digit is printed on the same keys.
        case Key::Digit0: return SDL_SCANCODE_0;
        case Key::Digit1: return SDL_SCANCODE_1;
        case Key::Digit2: return SDL_SCANCODE_2;
    }
    return SDL_SCANCODE_UNKNOWN;
}

// The character of a letter or comma key on a US keyboard; 0 for other keys.
SDL_Keycode usCharacter(SDL_Scancode place) {
    if (place >= SDL_SCANCODE_A && place <= SDL_SCANCODE_Z) return SDLK_a + (place - SDL_SCANCODE_A);
    return place == SDL_SCANCODE_COMMA ? SDLK_COMMA : 0;
}

bool isAscii(int keycode) { return keycode > 0 && keycode < 128; }

bool means(Key key, int scancode, int keycode) {
    const SDL_Scancode place = usScancode(key);
    const SDL_Keycode character = usCharacter(place);
    // A layout without Latin letters (Cyrillic, Greek) keeps the US places.
    if (character == 0 || !isAscii(keycode)) return scancode == place;
    return keycode == character;
}

struct KeyDown {
    int scancode = 0;
    int keycode = 0;
    bool repeat = false;
};

// Filled and read on the GUI thread only, like the GUI library's own state.
std::vector<KeyDown>& frameKeyDowns() {
    static std::vector<KeyDown> keyDowns;
    return keyDowns;
}

}  // namespace

void beginKeyFrame() { frameKeyDowns().clear(); }

void noteKeyDown(int scancode, int keycode, bool repeat) { frameKeyDowns().push_back({scancode, keycode, repeat}); }

int keyPresses(Key key, bool withRepeats) {
    int presses = 0;
    for (const KeyDown& down : frameKeyDowns()) {
        if ((withRepeats || !down.repeat) && means(key, down.scancode, down.keycode)) ++presses;
    }
    return presses;
}

}  // namespace rallinox
