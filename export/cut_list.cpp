#include "export/cut_list.h"

namespace rallinox {

std::vector<Cut> cutsOf(const std::vector<Rally>& rallies) {
    std::vector<Cut> cuts;
    cuts.reserve(rallies.size());
    for (const Rally& rally : rallies) cuts.push_back({rally.startSec, rally.endSec});
    return cuts;
}

double totalLengthSec(const std::vector<Cut>& cuts) {
    double total = 0;
    for (const Cut& cut : cuts) total += cut.lengthSec();
    return total;
}

}  // namespace rallinox
