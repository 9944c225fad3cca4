// How soon the editor's preview shows the picture after a jump, against
// FFmpeg seeking to and decoding the same frames, measured side by side in
// one run.
//
//   bench_seek [--seeks N] [--file match.mp4]
//
// Without --file a 30 s 1920x1080 30 fps H.264 file with a key frame every
// 2 s and AAC sound is generated once and kept in the temporary folder. The
// same seeded random positions are served by the real PreviewPlayer (seek,
// then wait for the picture at that time) and by
// `ffmpeg -ss X -i file -frames:v 1 -f null -`, whose whole run is timed.
// Prints the median and the 90th percentile of each, the player's against
// the 100 ms target and as a ratio to FFmpeg's, in wall-clock time and in
// processor time (the fair figure on a busy machine).
#include "bench/bench_timing.h"
#include "bench/bench_video.h"
#include "video/preview_player.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kTargetSec = 0.100;
constexpr double kFrameSec = 1.0 / 30.0;

struct Options {
    int seeks = 20;
    std::string file;
};

Options parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--seeks") options.seeks = std::max(1, std::atoi(argv[i + 1]));
        else if (name == "--file") options.file = argv[i + 1];
    }
    return options;
}

std::string generatedMatch() {
    return bench::generatedOnce("rallinox-bench-1080p30-gop2s-30s.mp4",
                                "a 30 s 1920x1080 30 fps H.264 file with a key frame every 2 s",
                                "-f lavfi -i \"testsrc2=s=1920x1080:r=30,noise=alls=4:allf=t\" "
                                "-f lavfi -i \"sine=frequency=440:sample_rate=48000\" -t 30 "
                                "-c:v libx264 -preset veryfast -b:v 8M -g 60 -keyint_min 60 -sc_threshold 0 "
                                "-pix_fmt yuv420p -c:a aac -b:a 128k");
}

// Waits for the picture the player hands out after a seek to `target`.
bool waitForPicture(rallinox::PreviewPlayer& player, rallinox::PreviewFrame& frame, double target) {
    const auto giveUp = Clock::now() + std::chrono::seconds(30);
    while (Clock::now() < giveUp) {
        if (player.takeFrame(frame)) return std::fabs(player.position() - target) <= kFrameSec;
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return false;
}

struct Spread {
    double median = 0.0;
    double p90 = 0.0;
};

Spread spreadOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const auto at = [&](double share) { return values[size_t(share * double(values.size() - 1) + 0.5)]; };
    return {at(0.5), at(0.9)};
}

void printTable(const char* clock, const std::vector<double>& ours, const std::vector<double>& ffmpeg) {
    const Spread preview = spreadOf(ours);
    const Spread reference = spreadOf(ffmpeg);
    std::printf("\nfirst picture after a seek, %s time\n", clock);
    std::printf("%-34s %10s %10s\n", "", "median ms", "p90 ms");
    std::printf("%-34s %10.1f %10.1f\n", "preview player", preview.median * 1000, preview.p90 * 1000);
    std::printf("%-34s %10.1f %10.1f\n", "ffmpeg -ss X -frames:v 1 -f null", reference.median * 1000,
                reference.p90 * 1000);
    std::printf("%-34s %10.2f %10.2f\n", "player / target 100 ms", preview.median / kTargetSec,
                preview.p90 / kTargetSec);
    std::printf("%-34s %10.2f %10.2f\n", "player / ffmpeg", preview.median / reference.median,
                preview.p90 / reference.p90);
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = parse(argc, argv);
    const std::string file = options.file.empty() ? generatedMatch() : options.file;
    if (file.empty()) {
        std::fprintf(stderr, "bench_seek: could not generate the test video (is ffmpeg installed?)\n");
        return 1;
    }

    rallinox::PreviewPlayer player;
    rallinox::PreviewFrame frame;
    if (!player.open(file) || !waitForPicture(player, frame, 0.0)) {
        std::fprintf(stderr, "bench_seek: the preview cannot show %s\n", file.c_str());
        return 1;
    }
    const double duration = player.duration();
    // Frame times, so that both sides are asked for the very same frame.
    std::mt19937 random(19);
    std::uniform_int_distribution<int> frameNumber(0, int((duration - 1.0) / kFrameSec));
    std::vector<double> positions;
    for (int i = 0; i < options.seeks; ++i) positions.push_back(frameNumber(random) * kFrameSec);

    std::printf("file: %s (%.1f s), %d seeks, load average %s\n", file.c_str(), duration, options.seeks,
                bench::loadAverage().c_str());
    std::vector<double> ours;
    std::vector<double> oursCpu;
    std::vector<double> ffmpeg;
    std::vector<double> ffmpegCpu;
    for (const double position : positions) {
        bool shown = false;
        const bench::Timing seek = bench::timeOf([&] {
            player.seek(position);
            shown = waitForPicture(player, frame, position);
        });
        if (!shown) {
            std::fprintf(stderr, "bench_seek: no picture at %.3f s after the seek\n", position);
            return 1;
        }
        ours.push_back(seek.wall);
        oursCpu.push_back(seek.cpu);

        char command[1024];
        std::snprintf(command, sizeof command, "ffmpeg -nostdin -v error -ss %.3f -i \"%s\" -frames:v 1 -f null -",
                      position, file.c_str());
        const bench::Timing timing = bench::timeOf([&] {
            if (std::system(command) != 0) std::fprintf(stderr, "bench_seek: ffmpeg failed at %.3f s\n", position);
        });
        ffmpeg.push_back(timing.wall);
        ffmpegCpu.push_back(timing.cpu);
    }

    printTable("wall-clock", ours, ffmpeg);
    printTable("processor", oursCpu, ffmpegCpu);
    return 0;
}
