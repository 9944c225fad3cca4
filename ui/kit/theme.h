// One look for every screen: the display scale, the style and colours, and
// the named colours of the shared widgets.
#pragma once

#include <imgui.h>

namespace rallinox::ui {

// The display scale at start-up (1.0 at 96 DPI); fixed for the run.
float uiScale();
// An unscaled size in pixels at the display scale.
inline float scaled(float x) { return x * uiScale(); }

// Sets the scale and the style, and builds the fonts. Once, at start-up.
void applyTheme(float scale);

namespace colors {
inline const ImVec4 kAccent{0.063f, 0.725f, 0.506f, 1.0f};
inline const ImVec4 kAccentHovered{0.204f, 0.827f, 0.600f, 1.0f};
inline const ImVec4 kAccentActive{0.020f, 0.588f, 0.412f, 1.0f};
inline const ImVec4 kWindowBg{0.059f, 0.090f, 0.165f, 1.0f};
inline const ImVec4 kMutedText{0.580f, 0.639f, 0.722f, 1.0f};
inline const ImVec4 kDanger{0.55f, 0.18f, 0.17f, 1.0f};
inline const ImVec4 kDangerHovered{0.937f, 0.267f, 0.267f, 1.0f};
}  // namespace colors

}  // namespace rallinox::ui
