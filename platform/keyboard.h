// The keys the shortcuts use, and which of them went down in the frame being
// drawn. Letters and punctuation are known by the character the keyboard
// layout gives them (the Z of a French keyboard sits where a US one has W),
// the other keys by their place.
#pragma once

namespace rallinox {

enum class Key {
    Escape, Enter, KeypadEnter, O, E, Comma,
    Space, Left, Right, Up, Down, Delete, Backspace, F1, F2,
    A, I, M, N, P, R, S, U, Y, Z, Digit0, Digit1, Digit2,
};

// The back end's side, on the GUI thread: forget the last frame's presses,
// then note every key-down event of this frame (SDL scancode and key code).
void beginKeyFrame();
void noteKeyDown(int scancode, int keycode, bool repeat);

// How often the key went down in this frame; auto-repeats count when asked.
int keyPresses(Key key, bool withRepeats);

}  // namespace rallinox
