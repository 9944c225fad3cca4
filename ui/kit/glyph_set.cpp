#include "ui/kit/glyph_set.h"

namespace rallinox::ui {

namespace {

constexpr uint32_t kReplacement = 0xFFFD;

bool inBaseRanges(uint32_t c) {
    for (size_t i = 0; kBaseGlyphRanges[i] != 0; i += 2) {
        if (c >= kBaseGlyphRanges[i] && c <= kBaseGlyphRanges[i + 1]) return true;
    }
    return false;
}

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

size_t decodeUtf8(std::string_view text, uint32_t& codePoint) {
    const auto lead = static_cast<unsigned char>(text[0]);
    size_t length = 0;
    uint32_t value = 0;
    uint32_t smallest = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, smallest = 0x10000;
    } else {
        codePoint = kReplacement;
        return 1;
    }
    for (size_t i = 1; i < length; ++i) {
        if (i >= text.size() || !isContinuation(static_cast<unsigned char>(text[i]))) {
            codePoint = kReplacement;
            return i;
        }
        value = (value << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
    }
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    codePoint = (value < smallest || value > 0x10FFFF || surrogate) ? kReplacement : value;
    return length;
}

void GlyphSet::noteText(std::string_view utf8) {
    while (!utf8.empty()) {
        uint32_t codePoint = 0;
        utf8.remove_prefix(decodeUtf8(utf8, codePoint));
        noteCodePoint(codePoint);
    }
}

void GlyphSet::noteCodePoint(uint32_t codePoint) {
    if (codePoint > 0xFFFF || codePoint < 0x20 || inBaseRanges(codePoint)) return;
    if (codePoints_.insert(static_cast<uint16_t>(codePoint)).second) rebuildNeeded_ = true;
}

bool GlyphSet::takeRebuildRequest() {
    const bool needed = rebuildNeeded_;
    rebuildNeeded_ = false;
    return needed;
}

std::vector<uint16_t> GlyphSet::glyphRanges() const {
    std::vector<uint16_t> ranges;
    for (uint16_t c : codePoints_) ranges.insert(ranges.end(), {c, c});
    ranges.push_back(0);
    return ranges;
}

}  // namespace rallinox::ui
