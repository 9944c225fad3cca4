// Edits the editor's commands make from what the user gives them: a rally
// added at the current frame, and a name typed into the rally list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "edit/rally_editor.h"

namespace rallinox {

// "Add rally here" adds this much from the current frame; the user then adjusts the end.
inline constexpr double kAddedRallySec = 8.0;

// The new rally's id, or 0 when no half second is free there.
int64_t addRallyHere(RallyEditor& editor, double timeSec);

// Empty for an empty text and for the rally's own default name ("Rally "
// and its 1-based position), so that an unnamed rally stays unnamed.
std::string nameFromRenameText(const std::string& text, size_t position);

}  // namespace rallinox
