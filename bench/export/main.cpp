// Export speed against FFmpeg's own command line doing the same job on the
// same file, measured side by side in one run.
//
//   bench_export [--runs R] [--file match.mp4]
//
// Without --file a 90 s 1920x1080 30 fps H.264 match stand-in with stereo
// AAC sound is generated once and kept in the temporary folder. Eight cuts
// of 6 s, spread over the file like rallies, are exported three ways:
// `ffmpeg` trimming and concatenating them with libx264 veryfast and AAC at
// 192 kbit/s (what our export writes), our export, and our export with the
// scoreboard drawn into every picture. The best of the runs is printed as
// output frames per wall-clock second and per processor second (the fair
// figure on a busy machine), each with its ratio to FFmpeg. FFmpeg's trim
// filter decodes the stretches between the cuts too; encoding the 1080p
// picture dominates both anyway.
#include "bench/bench_timing.h"
#include "bench/export_match.h"
#include "export/board_clips.h"
#include "export/board_overlay.h"
#include "export/mp4_export.h"
#include "video/ffmpeg_log.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using bench::Timing;
namespace fs = std::filesystem;

void warnIfFailed(bool ok) {
    if (!ok) std::fputs("a run failed; its time is not meaningful\n", stderr);
}

// The same cuts as one FFmpeg command: trim each piece of picture and
// sound, concatenate, encode as our export does.
std::string ffmpegCommand(const std::string& file, const std::vector<rallinox::Cut>& cuts, const std::string& out) {
    std::string graph;
    std::string pieces;
    for (size_t i = 0; i < cuts.size(); ++i) {
        char part[256];
        std::snprintf(part, sizeof part,
                      "[0:v]trim=%.3f:%.3f,setpts=PTS-STARTPTS[v%zu];[0:a]atrim=%.3f:%.3f,asetpts=PTS-STARTPTS[a%zu];",
                      cuts[i].startSec, cuts[i].endSec, i, cuts[i].startSec, cuts[i].endSec, i);
        graph += part;
        pieces += "[v" + std::to_string(i) + "][a" + std::to_string(i) + "]";
    }
    graph += pieces + "concat=n=" + std::to_string(cuts.size()) + ":v=1:a=1[v][a]";
    return "ffmpeg -nostdin -v error -y -i \"" + file + "\" -filter_complex \"" + graph +
           "\" -map \"[v]\" -map \"[a]\" -c:v libx264 -preset veryfast -profile:v high -pix_fmt yuv420p "
           "-c:a aac -b:a 192k -movflags +faststart \"" + out + '"';
}

std::vector<rallinox::BoardClip> boardClips(size_t count) {
    std::vector<rallinox::BoardClip> clips;
    for (size_t i = 0; i < count; ++i) {
        rallinox::BoardClip clip;
        clip.before = {"LIONS", "TIGERS", int32_t(i), int32_t(i / 2), 1, 0, 0, rallinox::Winner::None};
        clip.after = clip.before;
        clip.after.homePoints += 1;
        clip.after.highlighted = rallinox::Winner::Home;
        clip.lengthSec = bench::kMatchCutSec;
        clip.switchSec = bench::kMatchCutSec - 1.0;
        clip.highlightEndSec = bench::kMatchCutSec;
        clips.push_back(clip);
    }
    return clips;
}

}  // namespace

int main(int argc, char** argv) {
    rallinox::keepFfmpegQuiet();
    const bench::ExportBenchOptions options = bench::parseExportBenchOptions(argc, argv, 2);
    const std::string file = options.file.empty() ? bench::generatedExportMatch() : options.file;
    if (file.empty()) {
        std::fputs("cannot generate the test video (is ffmpeg installed?)\n", stderr);
        return 1;
    }
    const std::vector<rallinox::Cut> cuts = bench::rallyLikeCuts();
    const double outputFrames = rallinox::totalLengthSec(cuts) * bench::kMatchFps;
    const std::string out = (fs::temp_directory_path() / "rallinox-bench-export-out.mp4").string();
    std::printf("file %s: %d cuts of %.0f s, %.0f output frames, best of %d runs\n", file.c_str(), bench::kMatchCuts,
                bench::kMatchCutSec, outputFrames, options.runs);
    std::printf("load average before the runs: %s\n", bench::loadAverage().c_str());

    const std::string command = ffmpegCommand(file, cuts, out);
    Timing ffmpeg, ours, withBoard;
    for (int run = 0; run < options.runs; ++run) {
        ffmpeg.keepBest(bench::timeOf([&] { warnIfFailed(std::system(command.c_str()) == 0); }));
        ours.keepBest(bench::timeOf([&] {
            rallinox::ExportProgress progress;
            warnIfFailed(rallinox::exportMp4(file, out, cuts, true, nullptr, progress).ok);
        }));
        withBoard.keepBest(bench::timeOf([&] {
            rallinox::ExportProgress progress;
            rallinox::BoardOverlay board(boardClips(cuts.size()));
            warnIfFailed(rallinox::exportMp4(file, out, cuts, true, &board, progress).ok);
        }));
    }
    fs::remove(out);

    const auto report = [&](const char* name, const Timing& timing) {
        const double fps = outputFrames / timing.wall;
        const double cpuFps = outputFrames / timing.cpu;
        std::printf("%-40s %6.1f frames/s (ratio %.2f)  %6.1f frames per processor second (ratio %.2f)\n", name, fps,
                    ffmpeg.wall / timing.wall, cpuFps, ffmpeg.cpu / timing.cpu);
    };
    report("ffmpeg trim+concat, x264 veryfast, AAC", ffmpeg);
    report("export", ours);
    report("export with the scoreboard", withBoard);
    return 0;
}
