// The large dashed target shown while there are no projects yet.
#pragma once

namespace rallinox::ui {

// Fills the available width; true when clicked.
bool drawDropZone();

}  // namespace rallinox::ui
