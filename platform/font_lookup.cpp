#include "platform/font_lookup.h"

#include <fontconfig/fontconfig.h>

#include <cstring>

namespace rallinox {

namespace {

// The library's configuration is loaded once and kept for the run.
FcConfig* config() {
    static FcConfig* loaded = [] {
        FcInit();
        return FcConfigGetCurrent();
    }();
    return loaded;
}

// Only the formats the GUI's rasteriser reads.
bool isOutlineFontFile(const char* path) {
    const char* dot = std::strrchr(path, '.');
    return dot && (strcasecmp(dot, ".ttf") == 0 || strcasecmp(dot, ".otf") == 0 || strcasecmp(dot, ".ttc") == 0);
}

std::optional<FontFile> fontFileOf(FcPattern* font) {
    FcChar8* file = nullptr;
    int index = 0;
    if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch) return std::nullopt;
    FcPatternGetInteger(font, FC_INDEX, 0, &index);
    const char* path = reinterpret_cast<const char*>(file);
    if (!isOutlineFontFile(path)) return std::nullopt;
    FcChar8* family = nullptr;
    FcPatternGetString(font, FC_FAMILY, 0, &family);
    return FontFile{path, index, family ? reinterpret_cast<const char*>(family) : ""};
}

// Matches the pattern; the caller checks what came back.
FcPattern* bestMatch(FcPattern* pattern) {
    FcConfigSubstitute(config(), pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    return FcFontMatch(config(), pattern, &result);
}

std::optional<FontFile> regularFaceOfFamily(const char* family) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_OUTLINE, FcTrue);
    FcPattern* match = bestMatch(pattern);
    FcPatternDestroy(pattern);
    if (!match) return std::nullopt;
    // fontconfig always answers with something; only the family asked for counts.
    FcChar8* matchedFamily = nullptr;
    std::optional<FontFile> found;
    if (FcPatternGetString(match, FC_FAMILY, 0, &matchedFamily) == FcResultMatch &&
        strcasecmp(reinterpret_cast<const char*>(matchedFamily), family) == 0) {
        found = fontFileOf(match);
    }
    FcPatternDestroy(match);
    return found;
}

bool patternHasCodePoint(FcPattern* font, uint32_t codePoint) {
    FcCharSet* charset = nullptr;
    return FcPatternGetCharSet(font, FC_CHARSET, 0, &charset) == FcResultMatch && FcCharSetHasChar(charset, codePoint);
}

}  // namespace

std::optional<FontFile> findInterfaceFont() {
    for (const char* family : {"Noto Sans", "DejaVu Sans"}) {
        if (std::optional<FontFile> font = regularFaceOfFamily(family)) return font;
    }
    return std::nullopt;
}

std::optional<FontFile> findFontFor(uint32_t codePoint, const std::string& preferredFamily) {
    FcPattern* pattern = FcPatternCreate();
    FcCharSet* wanted = FcCharSetCreate();
    FcCharSetAddChar(wanted, codePoint);
    FcPatternAddCharSet(pattern, FC_CHARSET, wanted);
    // fontconfig ranks coverage of the code point above the family.
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(preferredFamily.c_str()));
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
    FcPatternAddBool(pattern, FC_OUTLINE, FcTrue);
    FcPattern* match = bestMatch(pattern);
    FcCharSetDestroy(wanted);
    FcPatternDestroy(pattern);
    if (!match) return std::nullopt;
    std::optional<FontFile> found = patternHasCodePoint(match, codePoint) ? fontFileOf(match) : std::nullopt;
    FcPatternDestroy(match);
    return found;
}

}  // namespace rallinox
