// The question asked inside the window when it is closed while an analysis
// or an export runs: the window keeps drawing while it waits for the answer.
#pragma once

namespace rallinox::ui {

enum class QuitAnswer { Pending, Quit, Stay };

// Opens the dialog on the first call; Pending until the user answers.
// Escape answers Stay.
QuitAnswer drawQuitDialog();

}  // namespace rallinox::ui
