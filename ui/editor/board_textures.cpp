#include "ui/editor/board_textures.h"

#include <algorithm>
#include <vector>

#include "export/board_render.h"
#include "platform/texture.h"

namespace rallinox::ui {

namespace {

// The GUI blends straight alpha, the board is premultiplied B, G, R, A.
std::vector<uint8_t> straightRgba(const BoardBitmap& bitmap) {
    std::vector<uint8_t> rgba(bitmap.pixels.size());
    for (size_t i = 0; i + 3 < bitmap.pixels.size(); i += 4) {
        const unsigned alpha = bitmap.pixels[i + 3];
        const auto straight = [alpha](unsigned value) {
            return alpha ? uint8_t(std::min(255u, (value * 255 + alpha / 2) / alpha)) : uint8_t(0);
        };
        rgba[i] = straight(bitmap.pixels[i + 2]);
        rgba[i + 1] = straight(bitmap.pixels[i + 1]);
        rgba[i + 2] = straight(bitmap.pixels[i]);
        rgba[i + 3] = uint8_t(alpha);
    }
    return rgba;
}

BoardTexture upload(const BoardBitmap& bitmap) {
    const std::vector<uint8_t> rgba = straightRgba(bitmap);
    const unsigned int texture = makeRgbaTexture(bitmap.width, bitmap.height, rgba.data());
    if (!texture) return {};
    return {texture, bitmap.width, bitmap.height};
}

void release(BoardTexture& picture) {
    deleteTexture(picture.texture);
    picture = BoardTexture{};
}

}  // namespace

BoardTextures::~BoardTextures() {
    for (Entry& entry : recent_) release(entry.picture);
}

const BoardTexture* BoardTextures::textureFor(const BoardState& state, BoardStyle style, int pictureWidth,
                                              int pictureHeight) {
    for (auto it = recent_.begin(); it != recent_.end(); ++it) {
        if (it->state == state && it->style == style && it->pictureWidth == pictureWidth &&
            it->pictureHeight == pictureHeight) {
            recent_.splice(recent_.begin(), recent_, it);
            return &recent_.front().picture;
        }
    }
    const std::optional<BoardBitmap> bitmap = renderBoard(state, style, pictureWidth, pictureHeight);
    if (!bitmap) return nullptr;
    const BoardTexture picture = upload(*bitmap);
    if (!picture.texture) return nullptr;
    recent_.push_front({state, style, pictureWidth, pictureHeight, picture});
    if (recent_.size() > kKept) {
        release(recent_.back().picture);
        recent_.pop_back();
    }
    return &recent_.front().picture;
}

}  // namespace rallinox::ui
