// The characters the fonts must cover beyond their base ranges. Names in any
// script are noted as they are met; the atlas is rebuilt only when a new
// character arrives, and holds only the characters met.
#pragma once

#include <cstdint>
#include <set>
#include <string_view>
#include <vector>

namespace rallinox::ui {

// Inclusive pairs, ended by 0, in the GUI library's glyph-range form.
inline constexpr uint16_t kBaseGlyphRanges[] = {0x0020, 0x00FF, 0x0590, 0x05FF, 0x2010, 0x2027, 0};

class GlyphSet {
public:
    // Notes every character of a UTF-8 text (invalid bytes count as U+FFFD).
    void noteText(std::string_view utf8);
    // Characters outside the base ranges and the 16-bit range are ignored.
    void noteCodePoint(uint32_t codePoint);

    // Whether new characters arrived since the last call.
    bool takeRebuildRequest();

    const std::set<uint16_t>& codePoints() const { return codePoints_; }
    // Each noted character as a range of one, ascending, ended by 0.
    std::vector<uint16_t> glyphRanges() const;

private:
    std::set<uint16_t> codePoints_;
    bool rebuildNeeded_ = false;
};

// Decodes one UTF-8 character at the start of the text; returns the number of
// bytes used (at least 1 for a non-empty text).
size_t decodeUtf8(std::string_view text, uint32_t& codePoint);

}  // namespace rallinox::ui
