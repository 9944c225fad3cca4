// The chosen rallies as a table a spreadsheet opens: one row per rally with
// its times, the break before it and the score after it.
#pragma once

#include <string>
#include <vector>

#include "app/core/project.h"

namespace rallinox {

// CSV in UTF-8 (with the byte-order mark spreadsheets look for), a header
// row, commas, and fields quoted where they hold a comma, a quote or a line
// end. Times are "H:MM:SS.ss", lengths seconds with two decimals, the
// score "3 - 2" (spaced, or a spreadsheet would read a date).
std::string rallyTableCsv(const Project& project, const std::vector<Rally>& chosen);

}  // namespace rallinox
