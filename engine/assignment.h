// Minimum-cost assignment (Kuhn-Munkres) on a square cost matrix.
#pragma once

#include <vector>

namespace rallinox {

// `cost` is n x n, row-major. Returns for every row the column assigned to it.
std::vector<int> solveAssignment(const std::vector<double>& cost, int n);

}  // namespace rallinox
