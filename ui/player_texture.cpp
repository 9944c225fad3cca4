// PLACEHOLDER until the real player lands.
#include "ui/player_texture.h"

namespace rallinox::ui {

PlayerTexture::~PlayerTexture() = default;
void PlayerTexture::update(PreviewPlayer&) {}
void PlayerTexture::clear() {}
ImTextureID PlayerTexture::id() const { return nullptr; }

}  // namespace rallinox::ui
