#include "ui/player_texture.h"

#include <SDL_opengl.h>

#include <cstdint>

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
        GLuint texture = 0;
        glGenTextures(1, &texture);
        if (!texture) return;
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, frame_.width, frame_.height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        texture_ = texture;
        width_ = frame_.width;
        height_ = frame_.height;
    }
    glBindTexture(GL_TEXTURE_2D, texture_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, frame_.rgba.data());
}

void PlayerTexture::clear() {
    if (texture_) glDeleteTextures(1, &texture_);
    texture_ = 0;
    width_ = 0;
    height_ = 0;
}

ImTextureID PlayerTexture::id() const { return reinterpret_cast<ImTextureID>(static_cast<std::intptr_t>(texture_)); }

}  // namespace rallinox::ui
