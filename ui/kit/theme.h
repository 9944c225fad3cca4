// One look for every screen: the display scale, the style, and the named
// colours the widgets and screens draw with.
#pragma once

#include <imgui.h>

namespace rallinox {
enum class HintKind : int;
}

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
// White text and marks.
inline const ImVec4 kWhite{1.0f, 1.0f, 1.0f, 1.0f};
// A child window that shows the window's own background.
inline const ImVec4 kTransparent{0.0f, 0.0f, 0.0f, 0.0f};
inline const ImVec4 kReadyText{0.35f, 0.78f, 0.45f, 1.0f};
inline const ImVec4 kFailedText = kDangerHovered;
// A card inside the side panel.
inline const ImVec4 kCardBg{0.12f, 0.16f, 0.23f, 1.0f};

// The team colours of the scoring panels: cards and buttons, then texts (the
// away text colour also marks warnings), then the names on the cards.
inline const ImVec4 kHome{37 / 255.0f, 99 / 255.0f, 235 / 255.0f, 1.0f};
inline const ImVec4 kAway{245 / 255.0f, 158 / 255.0f, 11 / 255.0f, 1.0f};
inline const ImVec4 kHomeText{96 / 255.0f, 165 / 255.0f, 250 / 255.0f, 1.0f};
inline const ImVec4 kAwayText{251 / 255.0f, 191 / 255.0f, 36 / 255.0f, 1.0f};
inline const ImVec4 kCardName{241 / 255.0f, 245 / 255.0f, 249 / 255.0f, 1.0f};

// Drawn shapes. The dark ground of the timeline, the trim strip and a missing picture.
inline constexpr ImU32 kTrackGround = IM_COL32(30, 41, 59, 255);
inline constexpr ImU32 kTrackTick = IM_COL32(150, 150, 160, 120);
inline constexpr ImU32 kTrackLabelBox = IM_COL32(15, 23, 42, 220);
inline constexpr ImU32 kTrackLabel = IM_COL32(230, 230, 235, 255);
inline constexpr ImU32 kTrackHint = IM_COL32(130, 135, 145, 255);
inline constexpr ImU32 kRallyHighlighted = IM_COL32(52, 211, 153, 255);
inline constexpr ImU32 kRallyTicked = IM_COL32(16, 185, 129, 200);
inline constexpr ImU32 kRallyUnticked = IM_COL32(120, 110, 100, 160);
inline constexpr ImU32 kRallyUnscored = IM_COL32(251, 191, 36, 255);
inline constexpr ImU32 kRallyTrimmed = IM_COL32(16, 185, 129, 210);
inline constexpr ImU32 kRallyNeighbour = IM_COL32(120, 110, 100, 120);
inline constexpr ImU32 kTrimHandle = IM_COL32(167, 243, 208, 255);
inline constexpr ImU32 kHintMark = IM_COL32(90, 170, 255, 255);
inline constexpr ImU32 kMarkOutline = IM_COL32(255, 255, 255, 200);
inline constexpr ImU32 kClipFill = IM_COL32(255, 255, 255, 0x40);
inline constexpr ImU32 kClipEdge = IM_COL32(255, 255, 255, 0xC8);
inline constexpr ImU32 kLine = IM_COL32(255, 255, 255, 255);
// Over the video picture: captions, the play symbol, the hint's bar.
inline constexpr ImU32 kCaptionBox = IM_COL32(0, 0, 0, 160);
inline constexpr ImU32 kHintCaptionBox = IM_COL32(0, 0, 0, 0xAA);
inline constexpr ImU32 kCaptionText = IM_COL32(255, 255, 255, 235);
inline constexpr ImU32 kCaptionBar = IM_COL32(255, 255, 255, 0x32);
inline constexpr ImU32 kPlayDisc = IM_COL32(0, 0, 0, 110);
inline constexpr ImU32 kPlayTriangle = IM_COL32(255, 255, 255, 220);
// The drop zone of the empty projects screen.
inline constexpr ImU32 kDropHovered = IM_COL32(16, 185, 129, 255);
inline constexpr ImU32 kDropEdge = IM_COL32(110, 112, 125, 255);
inline constexpr ImU32 kDropTitle = IM_COL32(230, 230, 235, 255);
inline constexpr ImU32 kDropLine = IM_COL32(160, 165, 175, 255);
inline constexpr ImU32 kDropTip = IM_COL32(130, 135, 145, 255);
// Text on the accent colour.
inline constexpr ImU32 kOnAccent = IM_COL32(20, 20, 24, 255);

// The colour of a review hint's kind: its title, its marks on the timeline and over the picture.
ImVec4 hint(HintKind kind);
}  // namespace colors

}  // namespace rallinox::ui
