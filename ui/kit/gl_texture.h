// An RGBA picture as a GL texture, smoothly scaled; made and freed on the
// GUI thread only.
#pragma once

#include <cstdint>

namespace rallinox::ui {

// 0 when no texture could be made. `pixels` may be null (filled later).
unsigned int makeRgbaTexture(int width, int height, const uint8_t* pixels);
// Frees the texture and sets the name to 0; 0 is left alone.
void deleteTexture(unsigned int& texture);

}  // namespace rallinox::ui
