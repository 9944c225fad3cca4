// The match both export benchmarks cut: a 90 s 1920x1080 30 fps H.264
// stand-in with stereo AAC sound, generated once, and eight cuts of 6 s
// spread over it like rallies.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_video.h"
#include "export/cut_list.h"

namespace bench {

inline constexpr double kMatchFps = 30.0;
inline constexpr int kMatchCuts = 8;
inline constexpr double kMatchCutSec = 6.0;
inline constexpr double kMatchCutEverySec = 11.0;

struct ExportBenchOptions {
    int runs = 1;
    std::string file;  // empty: the generated match
};

// [--runs R] [--file match.mp4]
inline ExportBenchOptions parseExportBenchOptions(int argc, char** argv, int defaultRuns) {
    ExportBenchOptions options;
    options.runs = defaultRuns;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--runs") options.runs = std::max(1, std::atoi(argv[i + 1]));
        else if (name == "--file") options.file = argv[i + 1];
    }
    return options;
}

inline std::string generatedExportMatch() {
    return generatedOnce("rallinox-bench-export-1080p30-90s.mp4", "a 90 s 1920x1080 30 fps H.264 file with AAC sound",
                         "-f lavfi -i \"testsrc2=s=1920x1080:r=30,noise=alls=4:allf=t\" "
                         "-f lavfi -i \"sine=f=440:r=48000,pan=stereo|c0=c0|c1=c0\" -t 90 "
                         "-c:v libx264 -preset veryfast -b:v 8M -maxrate 10M -bufsize 16M -pix_fmt yuv420p "
                         "-c:a aac -b:a 192k");
}

inline std::vector<rallinox::Cut> rallyLikeCuts() {
    std::vector<rallinox::Cut> cuts;
    for (int i = 0; i < kMatchCuts; ++i) {
        const double start = 2.0 + i * kMatchCutEverySec;
        cuts.push_back({start, start + kMatchCutSec});
    }
    return cuts;
}

}  // namespace bench
