// Small widgets every screen uses, in the theme's colours.
#pragma once

#include <imgui.h>

namespace rallinox::ui {

void mutedText(const char* format, ...) IM_FMTARGS(1);
// The same, wrapped at the right edge.
void mutedTextWrapped(const char* format, ...) IM_FMTARGS(1);
// A button in the accent colour with white text.
bool accentButton(const char* label, const ImVec2& size = ImVec2(0, 0));
// A button in the danger colour, for actions that remove something.
bool dangerButton(const char* label, const ImVec2& size = ImVec2(0, 0));
// "< Back" (when withBack) and the title at 1.25 x the font size, then a
// separator. Returns whether "< Back" was pressed.
bool screenHeader(const char* title, bool withBack);
// A tooltip for the last item once it has been hovered a moment.
void hoverTip(const char* text);
// Text drawn at a multiple of the current font size.
void largeText(const char* text, float fontScale);
// A section's title with a separator line running on to the right edge.
void sectionTitle(const char* text);

}  // namespace rallinox::ui
