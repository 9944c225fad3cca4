// rallinox-analyze VIDEO [--json] [--features DIR] [--project DIR]
// Runs the same analysis as the application, without a window.
#include "app/core/settings.h"
#include "engine/analysis.h"
#include "tools/analyze/analysis_report.h"
#include "tools/analyze/feature_tables.h"
#include "tools/analyze/project_output.h"
#include "video/ffmpeg_log.h"
#include "video/frame_source.h"

#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace rallinox {
namespace {

struct Options {
    std::string video;
    bool json = false;
    std::optional<std::filesystem::path> featuresDir;
    std::optional<std::filesystem::path> projectsDir;
};

constexpr const char* kUsage =
    "usage: rallinox-analyze VIDEO [--json] [--features DIR] [--project DIR]\n"
    "  --json          print the result as JSON on standard output\n"
    "  --features DIR  also write the feature tables and the per-frame boxes (CSV) into DIR\n"
    "  --project DIR   save the result as a project in the projects folder DIR (the window's\n"
    "                  own is ~/.local/share/Rallinox/projects); standard output then holds\n"
    "                  only the new project's folder, the report goes to standard error\n"
    "  --              the next argument is the video, even if it starts with '-'\n";

std::optional<Options> parseOptions(int argc, char** argv) {
    Options options;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (optionsEnded || (!arg.empty() && arg[0] != '-')) {
            if (!options.video.empty()) return std::nullopt;
            options.video = arg;
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "--features" && i + 1 < argc) {
            options.featuresDir = argv[++i];
        } else if (arg == "--project" && i + 1 < argc) {
            options.projectsDir = argv[++i];
        } else {
            return std::nullopt;
        }
    }
    if (options.video.empty()) return std::nullopt;
    return options;
}

AnalysisProgress* interruptedAnalysis = nullptr;

void askToStop(int) {
    if (interruptedAnalysis) interruptedAnalysis->cancel.store(1);
}

// Shows the analysis progress on standard error until stopped: one
// rewritten line on a terminal, one line per step otherwise.
class ProgressLine {
public:
    explicit ProgressLine(const AnalysisProgress& progress)
        : progress_(progress), terminal_(isatty(STDERR_FILENO) != 0), thread_([this] { run(); }) {}

    ~ProgressLine() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        wake_.notify_all();
        thread_.join();
        if (terminal_) std::fputs("\n", stderr);
    }

private:
    void run() {
        int shownStage = -1;
        std::unique_lock lock(mutex_);
        while (!wake_.wait_for(lock, std::chrono::milliseconds(250), [this] { return done_; })) {
            const int stage = progress_.stage.load();
            if (!terminal_ && stage == shownStage) continue;
            shownStage = stage;
            std::fprintf(stderr, "%s%-22s %5.1f %%  %6.1f frames/s  %4.0f s of video  decoder: %s%s",
                         terminal_ ? "\r" : "", analysisStageName(stage), progress_.fraction.load() * 100.0,
                         progress_.framesPerSec.load(), progress_.videoSecDone.load(),
                         decoderName(progress_.decoder.load()), terminal_ ? "" : "\n");
            std::fflush(stderr);
        }
    }

    const AnalysisProgress& progress_;
    const bool terminal_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false;
    std::thread thread_;
};

// Standard output may be a full disk or a closed pipe: the result only
// counts as delivered once every byte of it was accepted.
bool deliver(const std::string& text) {
    std::cout << text;
    std::cout.flush();
    if (std::cout && std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
    std::cerr << "Could not write the result: " << std::strerror(errno) << '\n';
    return false;
}

int analyse(const Options& options) {
    const Settings defaults;
    AnalysisRequest request;
    request.videoPath = options.video;
    request.startPaddingSec = defaults.startPaddingSec;
    request.endPaddingSec = defaults.endPaddingSec;
    request.minRallySec = defaults.minRallySec;

    AnalysisProgress progress;
    interruptedAnalysis = &progress;
    std::signal(SIGINT, askToStop);
    AnalysisFeatures features;
    AnalysisResult result;
    {
        // The engine's information lines must not end up inside the JSON.
        std::streambuf* standardOutput = std::cout.rdbuf();
        if (options.json) std::cout.rdbuf(std::cerr.rdbuf());
        ProgressLine line(progress);
        result = runAnalysis(request, progress, options.featuresDir ? &features : nullptr);
        std::cout.rdbuf(standardOutput);
    }
    std::signal(SIGINT, SIG_DFL);
    interruptedAnalysis = nullptr;

    if (result.cancelled) {
        std::cerr << "The analysis was cancelled.\n";
        return 130;
    }
    if (!result.ok) {
        std::cerr << result.error << '\n';
        return 1;
    }
    std::fprintf(stderr, "%lld frames in %.1f s (stage 1 %.1f s, %.1f frames/s, %.1f x real time), decoder %s\n",
                 static_cast<long long>(result.frames), result.totalSec, result.stage1Sec, result.stage1Fps,
                 result.realtimeX, result.decoder.c_str());
    if (options.featuresDir) {
        std::string error;
        if (!writeFeatureTables(*options.featuresDir, features, result.video, error)) {
            std::cerr << error << '\n';
            return 1;
        }
    }
    const std::string report =
        options.json
            ? analysisToJson(result, request, std::filesystem::path(options.video).filename().string()).dump(2) + '\n'
            : analysisToText(result);
    if (!options.projectsDir) return deliver(report) ? 0 : 1;
    std::string error;
    const std::filesystem::path folder = saveAnalysedProject(*options.projectsDir, options.video, defaults, result, error);
    if (folder.empty()) {
        std::cerr << error << '\n';
        return 1;
    }
    std::cerr << report;
    return deliver(folder.string() + '\n') ? 0 : 1;
}

}  // namespace
}  // namespace rallinox

int main(int argc, char** argv) {
    rallinox::keepFfmpegQuiet();
    const auto options = rallinox::parseOptions(argc, argv);
    if (!options) {
        std::cerr << rallinox::kUsage;
        return 2;
    }
    return rallinox::analyse(*options);
}
