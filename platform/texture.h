// Pictures for the GUI as textures of the graphics device (RGBA, smoothly
// scaled): made, updated and freed on the GUI thread only, while the
// back end's window exists.
#pragma once

#include <cstdint>

namespace rallinox {

// 0 when no texture could be made. `pixels` may be null (filled later).
unsigned int makeRgbaTexture(int width, int height, const uint8_t* pixels);
// Replaces the whole picture; the size is the one the texture was made with.
void updateRgbaTexture(unsigned int texture, int width, int height, const uint8_t* pixels);
// Frees the texture and sets the name to 0; 0 is left alone.
void deleteTexture(unsigned int& texture);

}  // namespace rallinox
