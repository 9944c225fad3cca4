// Placing the scoreboard picture on a video frame and blending it into the
// frame's NV12 planes.
#pragma once

#include <cstdint>

#include "export/board_render.h"
#include "export/frame_overlay.h"

namespace rallinox {

struct PixelPoint {
    int x = 0;
    int y = 0;

    bool operator==(const PixelPoint&) const = default;
};

// Top-left pixel of the bitmap for the corner (0 top left, 1 top right,
// 2 bottom left); even, so that it sits on whole chroma blocks, and never
// negative.
PixelPoint boardOrigin(int bitmapWidth, int bitmapHeight, BoardPosition position, int frameWidth, int frameHeight);

// Blends the bitmap at `origin` with the opacity (0..1); the part outside
// the frame is left out. Limited-range BT.601 below 720 lines, else BT.709.
void blendBoard(const Nv12Picture& frame, const BoardBitmap& bitmap, PixelPoint origin, double opacity);

}  // namespace rallinox
