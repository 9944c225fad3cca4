#include "ui/kit/bidi_text.h"

#include "app/core/utf8.h"

#include <fribidi.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <vector>

namespace rallinox::ui {
namespace {

// One decoded character with the bytes it came from. Bytes that are not
// valid UTF-8 stay single units so that the output keeps every input byte.
struct CodeUnit {
    uint32_t codePoint;
    size_t offset;
    size_t length;
};

std::vector<CodeUnit> decodeUtf8(std::string_view text) {
    std::vector<CodeUnit> units;
    units.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t length = 1;
        uint32_t cp = lead;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            cp = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            cp = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            cp = lead & 0x07;
        } else if (lead >= 0x80) {
            length = 0;  // stray continuation or invalid lead byte
        }
        bool valid = length > 0 && i + length <= text.size();
        for (size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) valid = false;
            cp = (cp << 6) | (next & 0x3F);
        }
        if (!valid) {
            units.push_back({0xFFFD, i, 1});
            ++i;
            continue;
        }
        units.push_back({cp, i, length});
        i += length;
    }
    return units;
}

bool isAttachedMark(uint32_t cp) {
    return (cp >= 0x0591 && cp <= 0x05BD) || cp == 0x05BF || (cp >= 0x05C1 && cp <= 0x05C2) ||
           (cp >= 0x05C4 && cp <= 0x05C5) || cp == 0x05C7 || (cp >= 0x0610 && cp <= 0x061A) ||
           (cp >= 0x064B && cp <= 0x065F) || cp == 0x0670;
}

size_t utf8Length(uint32_t cp) {
    return cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
}

struct Run {
    size_t first;  // index into the code units
    size_t last;   // one past the end
    FriBidiLevel level;
};

std::vector<Run> runsByLevel(const std::vector<FriBidiLevel>& levels) {
    std::vector<Run> runs;
    for (size_t i = 0; i < levels.size(); ++i) {
        if (runs.empty() || runs.back().level != levels[i]) {
            runs.push_back({i, i + 1, levels[i]});
        } else {
            runs.back().last = i + 1;
        }
    }
    return runs;
}

// From the highest level down to the lowest odd one, reverse every stretch of
// runs at that level or above.
void reorderRuns(std::vector<Run>& runs) {
    FriBidiLevel highest = 0;
    FriBidiLevel lowestOdd = 0xFF;
    for (const Run& run : runs) {
        highest = std::max(highest, run.level);
        if (run.level % 2 == 1) lowestOdd = std::min(lowestOdd, run.level);
    }
    for (int level = highest; level >= lowestOdd && level > 0; --level) {
        size_t i = 0;
        while (i < runs.size()) {
            if (runs[i].level < level) {
                ++i;
                continue;
            }
            size_t j = i;
            while (j < runs.size() && runs[j].level >= level) ++j;
            std::reverse(runs.begin() + static_cast<long>(i), runs.begin() + static_cast<long>(j));
            i = j;
        }
    }
}

// Brackets in a right-to-left run are shown mirrored, as readers expect; a
// mirror of another byte length is skipped so the line keeps its length.
void appendMirrored(std::string& out, std::string_view text, const CodeUnit& unit) {
    FriBidiChar mirror = 0;
    if (unit.length == utf8Length(unit.codePoint) && fribidi_get_mirror_char(unit.codePoint, &mirror) &&
        utf8Length(mirror) == unit.length) {
        appendUtf8(out, mirror);
        return;
    }
    out.append(text.substr(unit.offset, unit.length));
}

void appendReversedByClusters(std::string& out, std::string_view text, const std::vector<CodeUnit>& units,
                              const Run& run) {
    size_t clusterEnd = run.last;
    while (clusterEnd > run.first) {
        size_t base = clusterEnd - 1;
        while (base > run.first && isAttachedMark(units[base].codePoint)) --base;
        appendMirrored(out, text, units[base]);
        for (size_t k = base + 1; k < clusterEnd; ++k) out.append(text.substr(units[k].offset, units[k].length));
        clusterEnd = base;
    }
}

struct Fnv1a {
    size_t operator()(const std::string& key) const {
        uint64_t hash = 0xcbf29ce484222325ULL;
        for (unsigned char byte : key) {
            hash ^= byte;
            hash *= 0x100000001b3ULL;
        }
        return static_cast<size_t>(hash);
    }
};

std::unordered_map<std::string, std::string, Fnv1a>& bidiCache() {
    static std::unordered_map<std::string, std::string, Fnv1a> cache;
    return cache;
}

}  // namespace

bool textNeedsBidi(const char* first, const char* last) {
    for (const char* p = first; p < last; ++p) {
        const auto byte = static_cast<unsigned char>(*p);
        if (byte >= 0xD6 && byte <= 0xDF) return true;
        if (byte == 0xEF && p + 1 < last) {
            const auto next = static_cast<unsigned char>(p[1]);
            if (next >= 0xAC && next <= 0xBB) return true;
        }
    }
    return false;
}

std::string bidiVisualOrder(std::string_view text) {
    if (text.empty()) return std::string(text);
    const std::vector<CodeUnit> units = decodeUtf8(text);
    const auto count = static_cast<FriBidiStrIndex>(units.size());
    std::vector<FriBidiChar> chars(units.size());
    for (size_t i = 0; i < units.size(); ++i) chars[i] = units[i].codePoint;
    std::vector<FriBidiCharType> types(units.size());
    std::vector<FriBidiBracketType> brackets(units.size());
    std::vector<FriBidiLevel> levels(units.size());
    fribidi_get_bidi_types(chars.data(), count, types.data());
    fribidi_get_bracket_types(chars.data(), count, types.data(), brackets.data());
    FriBidiParType direction = FRIBIDI_PAR_LTR;
    if (fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), count, &direction, levels.data()) == 0) {
        return std::string(text);
    }

    std::vector<Run> runs = runsByLevel(levels);
    reorderRuns(runs);
    std::string out;
    out.reserve(text.size());
    for (const Run& run : runs) {
        if (run.level % 2 == 0) {
            const size_t begin = units[run.first].offset;
            const size_t end = units[run.last - 1].offset + units[run.last - 1].length;
            out.append(text.substr(begin, end - begin));
        } else {
            appendReversedByClusters(out, text, units, run);
        }
    }
    return out;
}

void bidiVisualOrderHook(const char* first, const char* last, char* out) {
    auto& cache = bidiCache();
    std::string line(first, last);
    auto found = cache.find(line);
    if (found == cache.end()) {
        if (cache.size() > 512) cache.clear();
        std::string visual = bidiVisualOrder(line);
        found = cache.emplace(std::move(line), std::move(visual)).first;
    }
    std::memcpy(out, found->second.data(), found->second.size());
}

size_t bidiCacheSize() {
    return bidiCache().size();
}

}  // namespace rallinox::ui
