// The keys the shortcuts use, and where the GUI library's key table holds
// them: the window system's back end fills that table by its own numbers.
#pragma once

namespace rallinox {

enum class Key {
    Escape, Enter, KeypadEnter, O, E, Comma,
    Space, Left, Right, Up, Down, Delete, Backspace, F1, F2,
    A, I, M, N, P, R, S, U, Y, Z, Digit0, Digit1, Digit2,
};

// The index of the key in the GUI library's key table.
int guiKeyIndex(Key key);

}  // namespace rallinox
