#include "engine/statistics.h"

#include <algorithm>
#include <cmath>

namespace rallinox {

double median(std::vector<double> values, double empty) {
    if (values.empty()) {
        return empty;
    }
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    if (values.size() % 2 == 1) {
        return *middle;
    }
    return 0.5 * (*std::max_element(values.begin(), middle) + *middle);
}

double mean(const std::vector<double>& values) {
    if (values.empty()) {
        return 0.0;
    }
    double sum = 0.0;
    for (const double v : values) {
        sum += v;
    }
    return sum / static_cast<double>(values.size());
}

double populationStdDev(const std::vector<double>& values) {
    if (values.size() < 2) {
        return 0.0;
    }
    const double m = mean(values);
    double sum = 0.0;
    for (const double v : values) {
        sum += (v - m) * (v - m);
    }
    return std::sqrt(sum / static_cast<double>(values.size()));
}

}  // namespace rallinox
