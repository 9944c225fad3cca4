// What the GUI drew in the last complete frame: the rectangle of every item
// by its label, and every text. Filled by link-time wrappers around the GUI
// library's internal ID, item and text functions (see CMakeLists.txt).
#pragma once

#include <imgui.h>

#include <map>
#include <optional>
#include <set>
#include <string>

namespace rallinox::guitest {

struct ItemRect {
    ImVec2 min;
    ImVec2 max;
    ImVec2 centre() const { return {(min.x + max.x) * 0.5f, (min.y + max.y) * 0.5f}; }
};

// Call once per frame after the frame was drawn: what was seen becomes the
// last frame's record.
void finishProbeFrame();

// An item by its visible label (the part before "##"), its full label, or
// the "###id" ending of its full label; else where a text of exactly that
// content was first drawn.
std::optional<ItemRect> findItem(const std::string& label);
bool textWasDrawn(const std::string& text);
// For texts with changing figures: "Finding the ball  12%".
bool textStartingWithWasDrawn(const std::string& prefix);
// Every text and label of the last frame, for failure messages.
std::string drawnTexts();
// What did not fit in the last frame, one line each: an item that reaches
// out of what its window shows (out of the window, its table column or the
// screen, unless the window scrolls that way), a text cut by its frame or
// shortened by the GUI library, a window not wholly on the screen. Empty
// when everything fits.
std::string layoutFaults();

}  // namespace rallinox::guitest
