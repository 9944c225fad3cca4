#include "ui/editor/scoreboard_preview.h"

#include <cmath>
#include <cstdint>

#include "ui/editor/editor_context.h"
#include "export/board_blend.h"
#include "export/board_clips.h"
#include "video/preview_player.h"

namespace rallinox::ui {

namespace {

constexpr int kSmallestPicture = 32;

// The last rally whose span holds the time; -1 when none does.
int rallyAt(const std::vector<Rally>& rallies, double seconds) {
    int found = -1;
    for (size_t i = 0; i < rallies.size(); ++i) {
        if (rallies[i].startSec <= seconds && seconds <= rallies[i].endSec) found = int(i);
    }
    return found;
}

}  // namespace

int drawScoreboardPreview(EditorContext& editor, ImDrawList* draw, ImVec2 imageMin, ImVec2 imageMax) {
    if (!editor.settings.boardEnabled) return -1;
    const int width = int(std::lround(imageMax.x - imageMin.x));
    const int height = int(std::lround(imageMax.y - imageMin.y));
    if (width < kSmallestPicture || height < kSmallestPicture) return -1;

    const Project& project = editor.project;
    const double position = editor.player.position();
    const int index = rallyAt(project.rallies, position);
    if (index < 0) return -1;
    const std::vector<BoardClip> clips = boardClips(project.rallies, project.match, editor.settings, project.settings);
    if (clips.empty()) return -1;

    const BoardClip& clip = clips[size_t(index)];
    const double t = position - project.rallies[size_t(index)].startSec;
    const double opacity = boardOpacity(clip, t);
    if (opacity <= 0) return -1;
    const BoardTexture* board = editor.state.boardTextures.textureFor(boardStateAt(clip, t), clip.style, width, height);
    if (!board) return -1;

    // Whole pixels keep the board's text sharp.
    const PixelPoint origin = boardOrigin(board->width, board->height, clip.position, width, height);
    const ImVec2 min(std::floor(imageMin.x) + float(origin.x), std::floor(imageMin.y) + float(origin.y));
    const ImVec2 max(min.x + float(board->width), min.y + float(board->height));
    const auto alpha = static_cast<ImU32>(std::lround(opacity * 255.0));
    draw->AddImage(reinterpret_cast<ImTextureID>(static_cast<intptr_t>(board->texture)), min, max, ImVec2(0, 0),
                   ImVec2(1, 1), IM_COL32(255, 255, 255, alpha));
    return static_cast<int>(clip.position);
}

}  // namespace rallinox::ui
