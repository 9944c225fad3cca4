// The X resource manager's text (what xrdb holds, e.g. "Xft.dpi:\t120"),
// where X11 desktops publish their font DPI.
#pragma once

#include <string>

namespace rallinox {

// Empty without an X display or without resources.
std::string xResourceManagerText();

}  // namespace rallinox
