// Finds installed font files through fontconfig.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace rallinox {

struct FontFile {
    std::string path;
    int index = 0;  // face inside a font collection (.ttc)
    std::string family;

    bool operator==(const FontFile&) const = default;
};

// The best installed match for the first of these families that is present:
// "Noto Sans", "DejaVu Sans". Nothing when neither is installed.
std::optional<FontFile> findInterfaceFont();

// The font fontconfig suggests for drawing this code point: the preferred
// family when it has the glyph, else the closest font that has it. Nothing
// when no installed font has it.
std::optional<FontFile> findFontFor(uint32_t codePoint, const std::string& preferredFamily);

}  // namespace rallinox
