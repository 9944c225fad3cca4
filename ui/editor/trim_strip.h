// The strip under the timeline that shows the highlighted rally with handles to trim its start and end.
#pragma once

#include <cstdint>

namespace rallinox::ui {

struct EditorContext;

enum class TrimHandle { None, Start, End };

struct TrimDrag {
    int64_t rallyId = 0;
    TrimHandle handle = TrimHandle::None;
    double timeSec = 0.0;
};

void drawTrimStrip(EditorContext& editor, float width);

}  // namespace rallinox::ui
