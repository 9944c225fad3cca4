// The scoreboard of one export: draws a cut's board into each of its frames,
// rendering every distinct board only once.
#pragma once

#include <compare>
#include <cstdint>
#include <map>
#include <optional>

#include "export/board_blend.h"
#include "export/board_clips.h"
#include "export/board_render.h"

namespace rallinox {

class BoardOverlay {
public:
    // `t`: seconds since the cut's start. Nothing is drawn while the board
    // is hidden, or when it cannot be rendered (the video goes on without).
    void draw(const BoardClip& clip, double t, const Nv12Frame& frame);

private:
    struct Key {
        BoardState state;
        int32_t style = 0;
        int width = 0;
        int height = 0;

        auto operator<=>(const Key&) const = default;
    };

    std::map<Key, std::optional<BoardBitmap>> bitmaps_;
};

}  // namespace rallinox
