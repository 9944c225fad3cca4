#include "ui/editor/player_texture.h"

#include <cstdint>

#include "platform/texture.h"

namespace rallinox::ui {

PlayerTexture::~PlayerTexture() { clear(); }

void PlayerTexture::update(PreviewPlayer& player) {
    if (!player.isOpen()) {
        clear();
        return;
    }
    if (!player.takeFrame(frame_) || frame_.width <= 0 || frame_.height <= 0) return;
    if (texture_ == 0 || frame_.width != width_ || frame_.height != height_) {
        clear();
        const unsigned int texture = makeRgbaTexture(frame_.width, frame_.height, nullptr);
        if (!texture) return;
        texture_ = texture;
        width_ = frame_.width;
        height_ = frame_.height;
    }
    updateRgbaTexture(texture_, width_, height_, frame_.rgba.data());
}

void PlayerTexture::clear() {
    deleteTexture(texture_);
    width_ = 0;
    height_ = 0;
}

ImTextureID PlayerTexture::id() const { return reinterpret_cast<ImTextureID>(static_cast<std::intptr_t>(texture_)); }

}  // namespace rallinox::ui
