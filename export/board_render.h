// The scoreboard drawn into a small premultiplied BGRA picture sized for a
// video frame, with Cairo and Pango.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "export/board_clips.h"

namespace rallinox {

struct BoardBitmap {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // premultiplied B, G, R, A rows, stride width * 4
};

// The board with a transparent margin that keeps it off the frame's edges;
// nothing when the frame size is not positive or drawing is unavailable.
// Style 0 is two rows (TV), 1 one bar.
std::optional<BoardBitmap> renderBoard(const BoardState& state, BoardStyle style, int frameWidth, int frameHeight);

}  // namespace rallinox
