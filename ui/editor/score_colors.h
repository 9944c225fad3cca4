// The team colours of the scoring panels.
#pragma once

#include <imgui.h>

namespace rallinox::ui::scorecolors {

// Cards and buttons.
inline const ImVec4 kHome{37 / 255.0f, 99 / 255.0f, 235 / 255.0f, 1.0f};
inline const ImVec4 kAway{245 / 255.0f, 158 / 255.0f, 11 / 255.0f, 1.0f};
// Texts; the away colour also marks warnings.
inline const ImVec4 kHomeText{96 / 255.0f, 165 / 255.0f, 250 / 255.0f, 1.0f};
inline const ImVec4 kAwayText{251 / 255.0f, 191 / 255.0f, 36 / 255.0f, 1.0f};
inline const ImVec4 kCardName{241 / 255.0f, 245 / 255.0f, 249 / 255.0f, 1.0f};

}  // namespace rallinox::ui::scorecolors
