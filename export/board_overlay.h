// The scoreboard of one export: draws each cut's board into its frames,
// rendering every distinct board only once.
#pragma once

#include <compare>
#include <cstdint>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "export/board_blend.h"
#include "export/board_clips.h"
#include "export/board_render.h"
#include "export/frame_overlay.h"

namespace rallinox {

class BoardOverlay : public FrameOverlay {
public:
    // One clip per exported cut, in cut order.
    explicit BoardOverlay(std::vector<BoardClip> clips) : clips_(std::move(clips)) {}

    // Nothing is drawn while the board is hidden, for a cut without a clip,
    // or when the board cannot be rendered (the video goes on without).
    void draw(Nv12Picture& picture, std::size_t cutIndex, double secondsIntoCut) override;

private:
    struct Key {
        BoardState state;
        BoardStyle style = BoardStyle::TwoRows;
        int width = 0;
        int height = 0;

        auto operator<=>(const Key&) const = default;
    };

    std::vector<BoardClip> clips_;
    std::map<Key, std::optional<BoardBitmap>> bitmaps_;
};

}  // namespace rallinox
