#pragma once
// Seeded random source whose sequence is the same on every machine and
// standard library, so a seed always renders the same match.
#include <cstdint>

namespace rallinox::synth {

class Random {
public:
    explicit Random(uint64_t seed);

    uint64_t next();
    double uniform(double low, double high);
    double normal(double mean, double sd);
    // Positive value whose mean and standard deviation match the arguments.
    double lognormal(double mean, double sd);
    bool chance(double probability);
    int index(int count);
    // An independent stream, so adding draws in one part of the match does
    // not shift every later part.
    Random fork();

private:
    uint64_t state_[4];
};

}  // namespace rallinox::synth
