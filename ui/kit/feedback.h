// The two ways the application tells the user something: the modal error
// dialog and the short toast at the top of the window.
#pragma once

#include <string>

namespace rallinox::ui {

// "Something went wrong" with the text; "OK" or Enter clears the text.
void drawErrorDialog(std::string& errorText);
// The toast while the GUI time has not passed `until`.
void drawToast(const std::string& text, double until);

}  // namespace rallinox::ui
