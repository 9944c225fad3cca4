// The order of the rally list's rows when the user sorts by a column.
#pragma once

#include <cstddef>
#include <vector>

#include "app/core/project.h"

namespace rallinox {

enum class RallyOrderKey { Position, Length, Break };

// List positions, stably sorted by the key (equal keys keep list order).
std::vector<size_t> rallyRowOrder(const std::vector<Rally>& rallies, RallyOrderKey key, bool descending);

}  // namespace rallinox
