// Keyboard questions for shortcuts, independent of how the window system
// numbers its keys.
#pragma once

#include "platform/keyboard.h"

namespace rallinox::ui {

using rallinox::Key;

// Pressed this frame (auto-repeat included when asked). The back end hands
// the GUI at most one change of a key per frame, so each press is seen.
bool keyPressed(Key key, bool repeat = false);
bool ctrlDown();
bool shiftDown();
bool anyPopupOpen();
// Whether shortcuts must stand back: a popup or modal is open, or a text
// field has the keyboard.
bool shortcutsBlocked();

}  // namespace rallinox::ui
