// How much of a core the window takes while nobody uses it: the real
// application under Xvfb, left alone on the projects screen and in a paused
// editor, its processor time read from /proc over a few seconds.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "bench/bench_timing.h"
#include "tests/gui/editor_fixture.h"
#include "tests/gui/gui_run.h"

namespace {

using rallinox::guitest::GuiRun;

constexpr double kTargetPercent = 3.0;
constexpr double kSettleSec = 1.0;
constexpr double kMeasuredSec = 5.0;

// User plus system time of the process so far, in seconds; negative when it is gone.
double processCpuSeconds(int pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    if (!std::getline(in, stat)) return -1;
    // The fields after the command name, which may hold blanks, start at field 3.
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    unsigned long long user = 0;
    unsigned long long system = 0;
    for (int index = 3; fields >> field && index <= 15; ++index) {
        if (index == 14) user = std::stoull(field);
        if (index == 15) system = std::stoull(field);
    }
    return double(user + system) / double(sysconf(_SC_CLK_TCK));
}

// Plays the script, which ends in an idle step, and measures the process
// while it idles. The share of a core, or a negative value on failure.
double idlePercent(GuiRun& run, const std::string& script) {
    const std::string command = run.driverCommand(script, {}, true) + " 2>&1";
    FILE* output = popen(command.c_str(), "r");
    if (!output) return -1;
    int pid = 0;
    char line[4096];
    std::string said;
    while (pid == 0 && std::fgets(line, sizeof line, output)) {
        said += line;
        std::sscanf(line, "idle: pid %d", &pid);
    }
    double percent = -1;
    if (pid > 0) {
        std::this_thread::sleep_for(std::chrono::duration<double>(kSettleSec));
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = processCpuSeconds(pid);
        std::this_thread::sleep_for(std::chrono::duration<double>(kMeasuredSec));
        const double cpuEnd = processCpuSeconds(pid);
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (cpuStart >= 0 && cpuEnd >= 0) percent = 100.0 * (cpuEnd - cpuStart) / wall;
    }
    while (std::fgets(line, sizeof line, output)) said += line;
    if (pclose(output) == 0) return percent;
    std::fputs(said.c_str(), stderr);
    return -1;
}

}  // namespace

int main() {
    using namespace rallinox::guitest;
    std::printf("idle window, %.0f s measured after %.0f s of calm (load %s)\n", kMeasuredSec, kSettleSec,
                bench::loadAverage().c_str());
    const std::string idle = "idle " + std::to_string(kSettleSec + kMeasuredSec + 1) + "\nclose\n";
    bool allMeasured = true;
    const auto report = [&](const char* scene, double percent) {
        if (percent < 0) {
            std::printf("%-16s could not be measured\n", scene);
            allMeasured = false;
            return;
        }
        std::printf("%-16s %5.1f %% of a core   target %.0f %%   ratio %.2f\n", scene, percent, kTargetPercent,
                    percent / kTargetPercent);
    };
    {
        GuiRun run;
        saveProject(run, sampleProject(run, makeMatchVideo(run, "match.mp4", 60), 60));
        report("projects screen", idlePercent(run, "wait-for Saturday final\nwait 10\n" + idle));
    }
    {
        GuiRun run;
        saveProject(run, sampleProject(run, makeMatchVideo(run, "match.mp4", 60), 60));
        report("paused editor",
               idlePercent(run, "wait 10\nclick-label Open\nwait-for Ticked rallies are exported\nwait 10\n" + idle));
    }
    return allMeasured ? 0 : 1;
}
