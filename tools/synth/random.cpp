#include "random.h"

#include <cmath>

namespace rallinox::synth {
namespace {

uint64_t splitMix(uint64_t& x) {
    uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

uint64_t rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

}  // namespace

Random::Random(uint64_t seed) {
    for (auto& word : state_) word = splitMix(seed);
}

uint64_t Random::next() {
    const uint64_t result = rotl(state_[1] * 5, 7) * 9;
    const uint64_t t = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= t;
    state_[3] = rotl(state_[3], 45);
    return result;
}

double Random::uniform(double low, double high) {
    const double unit = static_cast<double>(next() >> 11) * 0x1.0p-53;
    return low + (high - low) * unit;
}

double Random::normal(double mean, double sd) {
    const double u1 = uniform(1e-12, 1.0);
    const double u2 = uniform(0.0, 1.0);
    return mean + sd * std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * M_PI * u2);
}

double Random::lognormal(double mean, double sd) {
    const double variance = std::log(1.0 + (sd * sd) / (mean * mean));
    const double mu = std::log(mean) - 0.5 * variance;
    return std::exp(normal(mu, std::sqrt(variance)));
}

bool Random::chance(double probability) { return uniform(0.0, 1.0) < probability; }

int Random::index(int count) { return count <= 0 ? 0 : static_cast<int>(next() % static_cast<uint64_t>(count)); }

Random Random::fork() { return Random(next()); }

}  // namespace rallinox::synth
