// Saves the frame just drawn (the back buffer) as an image file.
#pragma once

#include <string>

namespace rallinox::guitest {

bool saveScreenshot(const std::string& file);

}  // namespace rallinox::guitest
