#include "ui/kit/text_transform_hook.h"

#include "ui/kit/bidi_text.h"

#include <imgui.h>
#include <imgui_internal.h>

#include <cstring>
#include <vector>

// The real drawing routines of ImDrawList, reached through the linker's
// --wrap of the two AddText overloads.
extern "C" {
void __real__ZN10ImDrawList7AddTextEPK6ImFontfRK6ImVec2jPKcS7_fPK6ImVec4(
    ImDrawList* self, const ImFont* font, float fontSize, const ImVec2& pos, ImU32 col, const char* begin,
    const char* end, float wrapWidth, const ImVec4* clipRect);
void __wrap__ZN10ImDrawList7AddTextEPK6ImFontfRK6ImVec2jPKcS7_fPK6ImVec4(
    ImDrawList* self, const ImFont* font, float fontSize, const ImVec2& pos, ImU32 col, const char* begin,
    const char* end, float wrapWidth, const ImVec4* clipRect);
void __wrap__ZN10ImDrawList7AddTextERK6ImVec2jPKcS4_(ImDrawList* self, const ImVec2& pos, ImU32 col,
                                                     const char* begin, const char* end);
}

namespace rallinox::ui {
namespace {

TextTransformHook textTransformHook = nullptr;
bool drawingTransformedLine = false;

void drawPlain(ImDrawList* self, const ImFont* font, float fontSize, const ImVec2& pos, ImU32 col,
               const char* begin, const char* end, float wrapWidth, const ImVec4* clipRect) {
    __real__ZN10ImDrawList7AddTextEPK6ImFontfRK6ImVec2jPKcS7_fPK6ImVec4(self, font, fontSize, pos, col, begin,
                                                                        end, wrapWidth, clipRect);
}

// End of the line starting at `s`: a line feed, or the word-wrap position.
const char* lineEnd(const ImFont* font, float scale, const char* s, const char* end, float wrapWidth) {
    const char* feed = static_cast<const char*>(std::memchr(s, '\n', static_cast<size_t>(end - s)));
    const char* stop = feed ? feed : end;
    if (wrapWidth > 0.0f) {
        const char* wrap = font->CalcWordWrapPositionA(scale, s, stop, wrapWidth);
        if (wrap == s) ++wrap;  // a word wider than the box still takes one character
        if (wrap < stop) stop = wrap;
    }
    return stop;
}

// Where the next line starts: after the line feed, or after the blanks at a wrap.
const char* nextLineStart(const char* s, const char* end) {
    if (s < end && *s == '\n') return s + 1;
    while (s < end && (*s == ' ' || *s == '\t')) ++s;
    if (s < end && *s == '\n') ++s;
    return s;
}

void drawTransformed(ImDrawList* self, const ImFont* font, float fontSize, const ImVec2& pos, ImU32 col,
                     const char* begin, const char* end, float wrapWidth, const ImVec4* clipRect) {
    if (font == nullptr) font = self->_Data->Font;
    if (fontSize == 0.0f) fontSize = self->_Data->FontSize;
    const float scale = fontSize / font->FontSize;
    const float clipBottom = clipRect ? clipRect->w : self->_CmdHeader.ClipRect.w;

    drawingTransformedLine = true;
    std::vector<char> scratch;
    ImVec2 linePos = pos;
    const char* s = begin;
    while (s < end && linePos.y <= clipBottom) {
        const char* stop = lineEnd(font, scale, s, end, wrapWidth);
        const size_t length = static_cast<size_t>(stop - s);
        if (scratch.size() < length) scratch.resize(std::max(length, scratch.size() * 3 / 2 + 8));
        textTransformHook(s, stop, scratch.data());
        drawPlain(self, font, fontSize, linePos, col, scratch.data(), scratch.data() + length, 0.0f, clipRect);
        linePos.y += fontSize;
        s = nextLineStart(stop, end);
    }
    drawingTransformedLine = false;
}

}  // namespace

void setTextTransformHook(TextTransformHook hook) {
    textTransformHook = hook;
}

}  // namespace rallinox::ui

using namespace rallinox::ui;

void __wrap__ZN10ImDrawList7AddTextEPK6ImFontfRK6ImVec2jPKcS7_fPK6ImVec4(
    ImDrawList* self, const ImFont* font, float fontSize, const ImVec2& pos, ImU32 col, const char* begin,
    const char* end, float wrapWidth, const ImVec4* clipRect) {
    if (end == nullptr) end = begin + std::strlen(begin);
    if (textTransformHook == nullptr || drawingTransformedLine || !textNeedsBidi(begin, end)) {
        drawPlain(self, font, fontSize, pos, col, begin, end, wrapWidth, clipRect);
        return;
    }
    drawTransformed(self, font, fontSize, pos, col, begin, end, wrapWidth, clipRect);
}

// The short overload is called from inside the library's own object file,
// where the long one is bound directly, so it must reorder by itself.
void __wrap__ZN10ImDrawList7AddTextERK6ImVec2jPKcS4_(ImDrawList* self, const ImVec2& pos, ImU32 col,
                                                     const char* begin, const char* end) {
    __wrap__ZN10ImDrawList7AddTextEPK6ImFontfRK6ImVec2jPKcS7_fPK6ImVec4(self, nullptr, 0.0f, pos, col, begin, end,
                                                                        0.0f, nullptr);
}
