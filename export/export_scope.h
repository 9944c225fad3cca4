// Which rallies an export takes: the ticked ones, all, or the highlighted one.
#pragma once

#include <cstdint>
#include <vector>

#include "app/core/project.h"

namespace rallinox {

enum class ExportScope : int { Ticked = 0, All = 1, OnlyHighlighted = 2 };

// In list order; OnlyHighlighted without such a rally gives none.
std::vector<Rally> chosenRallies(const Project& project, ExportScope scope, int64_t highlightedId);

}  // namespace rallinox
