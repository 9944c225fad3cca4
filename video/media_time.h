// Media times in the decoders and readers are whole 100-ns units.
#pragma once

#include <cmath>
#include <cstdint>

namespace rallinox {

inline constexpr double kTicksPerSecond = 1e7;

inline std::int64_t ticksFromSeconds(double seconds) { return std::llround(seconds * kTicksPerSecond); }
inline double secondsFromTicks(std::int64_t ticks) { return double(ticks) / kTicksPerSecond; }

}  // namespace rallinox
