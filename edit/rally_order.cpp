#include "edit/rally_order.h"

#include <algorithm>
#include <numeric>

#include "edit/rally_times.h"

namespace rallinox {

std::vector<size_t> rallyRowOrder(const std::vector<Rally>& rallies, RallyOrderKey key, bool descending) {
    std::vector<double> keys(rallies.size());
    if (key == RallyOrderKey::Break) {
        keys = rallyBreaks(rallies).beforeSec;
    } else {
        for (size_t i = 0; i < rallies.size(); ++i) {
            keys[i] = key == RallyOrderKey::Length ? rallyLengthSec(rallies[i]) : static_cast<double>(i);
        }
    }
    std::vector<size_t> order(rallies.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return descending ? keys[a] > keys[b] : keys[a] < keys[b];
    });
    return order;
}

}  // namespace rallinox
