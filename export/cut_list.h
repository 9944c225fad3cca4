// The stretches of the source an export copies, one per chosen rally.
#pragma once

#include <vector>

#include "app/core/project.h"

namespace rallinox {

struct Cut {
    double startSec = 0;
    double endSec = 0;

    // A cut that ends before it starts is empty.
    double lengthSec() const { return endSec > startSec ? endSec - startSec : 0; }
};

std::vector<Cut> cutsOf(const std::vector<Rally>& rallies);
double totalLengthSec(const std::vector<Cut>& cuts);

}  // namespace rallinox
