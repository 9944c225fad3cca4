// Keyboard questions for shortcuts, independent of how the window system
// numbers its keys.
#pragma once

namespace rallinox::ui {

enum class Key {
    Escape, Enter, KeypadEnter, O, E, Comma,
    Space, Left, Right, Up, Down, Delete, Backspace, F1, F2,
    A, I, M, N, P, R, S, U, Z, Digit0, Digit1, Digit2,
};

// Pressed this frame (auto-repeat included when asked).
bool keyPressed(Key key, bool repeat = false);
bool ctrlDown();
bool shiftDown();
bool anyPopupOpen();
// Whether shortcuts must stand back: a popup or modal is open, or a text
// field has the keyboard.
bool shortcutsBlocked();

}  // namespace rallinox::ui
