// Rendered scoreboards as GL textures for the preview, kept for the few
// most recently shown boards so that a board is drawn only when it changes.
#pragma once

#include <cstdint>
#include <list>

#include "export/board_clips.h"

namespace rallinox::ui {

struct BoardTexture {
    unsigned texture = 0;  // OpenGL texture name
    int width = 0;
    int height = 0;
};

class BoardTextures {
public:
    BoardTextures() = default;
    // Frees the textures; needs the GUI's OpenGL context still current.
    ~BoardTextures();
    BoardTextures(const BoardTextures&) = delete;
    BoardTextures& operator=(const BoardTextures&) = delete;

    // The board for a picture of that size, rendered and uploaded when it is
    // not among the recent ones; null when it cannot be rendered.
    const BoardTexture* textureFor(const BoardState& state, BoardStyle style, int pictureWidth, int pictureHeight);

private:
    static constexpr size_t kKept = 8;

    struct Entry {
        BoardState state;
        BoardStyle style = BoardStyle::TwoRows;
        int pictureWidth = 0;
        int pictureHeight = 0;
        BoardTexture picture;
    };

    std::list<Entry> recent_;  // most recently used first
};

}  // namespace rallinox::ui
