// Hook in the GUI library's text drawing that lets right-to-left lines be
// drawn in visual order. Every widget's text goes through ImDrawList::AddText,
// which the link step wraps (see ui/CMakeLists.txt).
#pragma once

namespace rallinox::ui {

using TextTransformHook = void (*)(const char* first, const char* last, char* out);

// Installed once before the first frame; null restores plain drawing.
void setTextTransformHook(TextTransformHook hook);

}  // namespace rallinox::ui
