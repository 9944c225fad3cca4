// The preview picture on the GPU: run under a virtual display with the
// application's own window system back end.
#include "ui/editor/player_texture.h"

#include "platform/backend.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_videos.h"
#include "tests/video/preview/preview_media.h"

#include <SDL_opengl.h>
#include <gtest/gtest.h>

#include <vector>

namespace rallinox {
namespace {

std::vector<unsigned char> texturePixels(const ui::PlayerTexture& texture) {
    std::vector<unsigned char> pixels(size_t(texture.width()) * size_t(texture.height()) * 4);
    glBindTexture(GL_TEXTURE_2D, GLuint(reinterpret_cast<std::intptr_t>(texture.id())));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// Updates the texture each "frame" until it shows frame number `wanted`.
bool showsFrame(ui::PlayerTexture& texture, PreviewPlayer& player, int wanted) {
    return test::eventually([&] {
        texture.update(player);
        return texture.valid() && std::abs(test::shownFrameNumber(texturePixels(texture).data()) - wanted) <= 1;
    });
}

TEST(PlayerTexture, ShowsThePlayersNewestFrameAndFollowsItsSize) {
    std::string error;
    const auto backend = Backend::create("preview", error);
    ASSERT_TRUE(backend) << error;
    test::TempDir dir;
    const std::string numbered = dir.file("numbered.mp4");
    const std::string larger = dir.file("larger.mp4");
    ASSERT_TRUE(test::writeNumberedClip(numbered, 20, 60));
    ASSERT_TRUE(test::writeTestVideo(larger, {160, 120, 25, 1.0, 0}));

    PreviewPlayer player;
    ui::PlayerTexture texture;
    texture.update(player);
    EXPECT_FALSE(texture.valid());

    ASSERT_TRUE(player.open(numbered));
    ASSERT_TRUE(showsFrame(texture, player, 0));
    EXPECT_EQ(texture.width(), 64);
    EXPECT_EQ(texture.height(), 48);
    player.seek(2.0);
    EXPECT_TRUE(showsFrame(texture, player, 40));

    ASSERT_TRUE(player.open(larger));
    ASSERT_TRUE(test::eventually([&] {
        texture.update(player);
        return texture.width() == 160;
    }));
    EXPECT_EQ(texture.height(), 120);
    EXPECT_EQ(texturePixels(texture).size(), 160u * 120u * 4u);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    // A closed player leaves no picture behind.
    player.close();
    texture.update(player);
    EXPECT_FALSE(texture.valid());
    EXPECT_EQ(texture.width(), 0);
}

}  // namespace
}  // namespace rallinox
