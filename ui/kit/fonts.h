// The GUI's fonts: the desktop's sans font with the base ranges, plus every
// other character met so far, each from the font fontconfig suggests for it.
#pragma once

#include <string_view>

namespace rallinox::ui {

// Rebuilds the atlas from scratch at the current scale (the renderer's font
// texture must be recreated afterwards).
void buildFonts();

// Registers the characters of a text so that they are drawn from the next frame on.
void noteGlyphs(std::string_view utf8);
// Registers the characters typed this frame; call after the events are
// handed to the GUI and before its frame begins.
void noteTypedGlyphs();
// Rebuilds the atlas when new characters were registered; true when it did.
bool rebuildFontsIfNeeded();

}  // namespace rallinox::ui
