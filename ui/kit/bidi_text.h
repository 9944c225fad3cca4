// Visual order of right-to-left text for a renderer that lays glyphs out
// strictly left to right.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rallinox::ui {

// True when the bytes hold a character of the Hebrew/Arabic blocks
// (U+0580..U+07FF) or of their presentation forms (U+FB00..U+FEFF).
bool textNeedsBidi(const char* first, const char* last);

// The same characters in the order they are seen on screen, for a
// left-to-right paragraph. Right-to-left runs are reversed by clusters, so
// Hebrew points and Arabic marks stay after their letter. The result always
// has exactly as many bytes as the input.
std::string bidiVisualOrder(std::string_view text);

// Text-transform hook: writes the visual order of [first, last) to out
// (room for last - first bytes), through a cache of recent lines.
void bidiVisualOrderHook(const char* first, const char* last, char* out);

// Number of lines held by the hook's cache (emptied past 512 entries).
size_t bidiCacheSize();

}  // namespace rallinox::ui
