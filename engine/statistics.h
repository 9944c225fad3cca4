// Small summary statistics shared by the engine stages.
#pragma once

#include <vector>

namespace rallinox {

// Mean of the two middle values for an even count; `empty` when there are none.
double median(std::vector<double> values, double empty = 0.0);

// 0 for no values.
double mean(const std::vector<double>& values);

// Population standard deviation (divides by the count); 0 for fewer than two values.
double populationStdDev(const std::vector<double>& values);

}  // namespace rallinox
