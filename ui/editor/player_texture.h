// The preview picture as a texture of the GUI, made and filled on the GUI
// thread from the newest frame the player decoded.
#pragma once

#include <imgui.h>

#include "video/preview_player.h"

namespace rallinox::ui {

class PlayerTexture {
public:
    PlayerTexture() = default;
    ~PlayerTexture();
    PlayerTexture(const PlayerTexture&) = delete;
    PlayerTexture& operator=(const PlayerTexture&) = delete;

    // Uploads the player's newest frame when one is waiting; recreates the
    // texture when the frame size changed.
    void update(PreviewPlayer& player);
    // Forgets the picture (a project was closed).
    void clear();
    bool valid() const { return texture_ != 0; }
    ImTextureID id() const;
    int width() const { return width_; }
    int height() const { return height_; }

private:
    unsigned int texture_ = 0;
    int width_ = 0;
    int height_ = 0;
    PreviewFrame frame_;
};

}  // namespace rallinox::ui
