// Something drawn into every exported picture, such as the scoreboard. The
// writer hands each frame of a cut to it after the frame has been copied into
// the output picture and before it is encoded.
#pragma once

#include <cstddef>
#include <cstdint>

namespace rallinox {

// An NV12 picture: `height` rows of luma, then `height` / 2 rows of
// interleaved U and V. Width and height are even.
struct Nv12Picture {
    std::uint8_t* luma = nullptr;
    int lumaPitch = 0;
    std::uint8_t* chroma = nullptr;
    int chromaPitch = 0;
    int width = 0;
    int height = 0;
};

// One object per export, created and used on the export thread only, so it
// may keep caches for the export's length.
class FrameOverlay {
public:
    virtual ~FrameOverlay() = default;
    // `cutIndex` counts the exported cuts from 0; `secondsIntoCut` is the
    // frame's time from the start of its cut.
    virtual void draw(Nv12Picture& picture, std::size_t cutIndex, double secondsIntoCut) = 0;
};

}  // namespace rallinox
