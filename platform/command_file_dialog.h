// File dialogs of the desktop's dialog programs, zenity (GNOME) or kdialog
// (KDE), run as child processes.
#pragma once

#include <stop_token>
#include <string>
#include <vector>

#include "platform/file_dialog_request.h"

namespace rallinox {

enum class DialogProgram { Zenity, Kdialog };

// The program's arguments for the request, the program's name first.
std::vector<std::string> dialogProgramArguments(DialogProgram program, const FileDialogRequest& request);

// Uses the first installed of zenity and kdialog; blocks until the user
// answers or a stop is requested (the dialog is then ended). Unavailable
// when neither is installed or the program fails.
DialogAnswer runCommandFileDialog(const FileDialogRequest& request, std::stop_token stop);

}  // namespace rallinox
