// Timing shared by the benchmarks: wall-clock and processor time of one
// piece of work, the best of several runs, and the machine's load.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include <sys/resource.h>
#include <time.h>

namespace bench {

// Processor time counts this process's threads plus any child that ended
// meanwhile, and stays meaningful on a machine busy with other work.
struct Timing {
    double wall = 1e30;
    double cpu = 1e30;

    void keepBest(const Timing& other) {
        wall = std::min(wall, other.wall);
        cpu = std::min(cpu, other.cpu);
    }
};

inline double cpuSeconds() {
    timespec own{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &own);
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) * 1e-6; };
    return double(own.tv_sec) + double(own.tv_nsec) * 1e-9 + seconds(children.ru_utime) +
           seconds(children.ru_stime);
}

inline Timing timeOf(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = cpuSeconds();
    work();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), cpuSeconds() - cpuStart};
}

inline std::string loadAverage() {
    double load[3] = {0, 0, 0};
    if (getloadavg(load, 3) != 3) return "unknown";
    char text[64];
    std::snprintf(text, sizeof text, "%.2f %.2f %.2f", load[0], load[1], load[2]);
    return text;
}

}  // namespace bench
