// Speed of the fast export, which copies the picture without re-encoding,
// against `ffmpeg -c copy` doing the same cuts on the same file, measured
// side by side in one run.
//
//   bench_export_fast [--runs R] [--file match.mp4]
//
// The file and the cuts are those of bench_export (eight cuts of 6 s over a
// 90 s 1080p30 match with AAC sound). FFmpeg cuts with its concat demuxer,
// each piece from the key frame before its in-point, picture and sound
// copied, the index moved to the front as ours is. The best of the runs is
// printed as output frames and multiples of real time per wall-clock second
// and per processor second (the fair figure on a busy machine), each with
// its ratio to FFmpeg.
#include "bench/bench_timing.h"
#include "bench/export_match.h"
#include "export/stream_copy_export.h"
#include "video/ffmpeg_log.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using bench::Timing;
namespace fs = std::filesystem;

void warnIfFailed(bool ok) {
    if (!ok) std::fputs("a run failed; its time is not meaningful\n", stderr);
}

// The cuts as a list for FFmpeg's concat demuxer in `list`; the command
// that joins them.
std::string ffmpegCommand(const std::string& file, const std::vector<rallinox::Cut>& cuts, const std::string& list,
                          const std::string& out) {
    std::ofstream pieces(list);
    for (const rallinox::Cut& cut : cuts)
        pieces << "file '" << file << "'\ninpoint " << cut.startSec << "\noutpoint " << cut.endSec << '\n';
    return "ffmpeg -nostdin -v error -y -f concat -safe 0 -i \"" + list + "\" -map 0 -c copy -movflags +faststart \"" +
           out + '"';
}

}  // namespace

int main(int argc, char** argv) {
    rallinox::keepFfmpegQuiet();
    const bench::ExportBenchOptions options = bench::parseExportBenchOptions(argc, argv, 5);
    const std::string file = options.file.empty() ? bench::generatedExportMatch() : options.file;
    if (file.empty()) {
        std::fputs("cannot generate the test video (is ffmpeg installed?)\n", stderr);
        return 1;
    }
    const std::vector<rallinox::Cut> cuts = bench::rallyLikeCuts();
    const double outputSec = rallinox::totalLengthSec(cuts);
    const double outputFrames = outputSec * bench::kMatchFps;
    const std::string out = (fs::temp_directory_path() / "rallinox-bench-export-fast-out.mp4").string();
    std::printf("file %s: %zu cuts, %.0f s and %.0f frames of output, best of %d runs\n", file.c_str(), cuts.size(),
                outputSec, outputFrames, options.runs);
    std::printf("load average before the runs: %s\n", bench::loadAverage().c_str());

    const std::string list = (fs::temp_directory_path() / "rallinox-bench-export-fast-cuts.txt").string();
    const std::string command = ffmpegCommand(file, cuts, list, out);
    Timing ffmpeg, ours;
    double writtenSec = 0;
    for (int run = 0; run < options.runs; ++run) {
        ffmpeg.keepBest(bench::timeOf([&] { warnIfFailed(std::system(command.c_str()) == 0); }));
        ours.keepBest(bench::timeOf([&] {
            rallinox::ExportProgress progress;
            const rallinox::ExportResult result = rallinox::exportStreamCopy(file, out, cuts, true, progress);
            warnIfFailed(result.ok);
            writtenSec = result.outputSec;
        }));
    }
    fs::remove(out);
    fs::remove(list);
    // Figures count the cuts as asked; the files hold more, each cut from
    // the key frame before its start.
    std::printf("the fast export wrote %.1f s for the %.0f s asked\n", writtenSec, outputSec);

    const auto report = [&](const char* name, const Timing& timing) {
        std::printf("%-26s %7.0f frames/s, %6.1fx real time (ratio %.2f)   per processor second: %7.0f frames, "
                    "%6.1fx real time (ratio %.2f)\n",
                    name, outputFrames / timing.wall, outputSec / timing.wall, ffmpeg.wall / timing.wall,
                    outputFrames / timing.cpu, outputSec / timing.cpu, ffmpeg.cpu / timing.cpu);
    };
    report("ffmpeg concat, -c copy", ffmpeg);
    report("fast export", ours);
    return 0;
}
