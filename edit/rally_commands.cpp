#include "edit/rally_commands.h"

namespace rallinox {

int64_t addRallyHere(RallyEditor& editor, double timeSec) { return editor.addRally(timeSec, timeSec + kAddedRallySec); }

std::string nameFromRenameText(const std::string& text, size_t position) {
    if (text == "Rally " + std::to_string(position + 1)) return {};
    return text;
}

}  // namespace rallinox
