// The program's icon on its window (task bar, window switcher, title bar):
// the desktop entry's 64-pixel picture, built into the program.
#pragma once

namespace rallinox {

class Backend;

// Nothing happens when the picture cannot be decoded.
void setWindowIcon(Backend& backend);

}  // namespace rallinox
