#include "export/board_overlay.h"

namespace rallinox {

void BoardOverlay::draw(Nv12Picture& frame, std::size_t cutIndex, double t) {
    if (cutIndex >= clips_.size()) return;
    const BoardClip& clip = clips_[cutIndex];
    const double opacity = boardOpacity(clip, t);
    if (opacity <= 0) return;
    Key key{boardStateAt(clip, t), clip.style, frame.width, frame.height};
    auto found = bitmaps_.find(key);
    if (found == bitmaps_.end()) {
        std::optional<BoardBitmap> bitmap = renderBoard(key.state, key.style, frame.width, frame.height);
        found = bitmaps_.emplace(std::move(key), std::move(bitmap)).first;
    }
    const std::optional<BoardBitmap>& bitmap = found->second;
    if (!bitmap) return;
    const PixelPoint origin = boardOrigin(bitmap->width, bitmap->height, clip.position, frame.width, frame.height);
    blendBoard(frame, *bitmap, origin, opacity);
}

}  // namespace rallinox
