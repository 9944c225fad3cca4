// bench_analyze [SECONDS | VIDEO]: makes a 1080p30 match video (130 s unless
// told), or takes the given one, then measures, in the same run, FFmpeg's
// decode-only rate on it and the whole analysis rate, with the share of time
// of every analysis stage. bench/analyze/run renders a realistic match for it:
// the drawn video made here is so simple to decode that it mostly measures
// the analysis's fixed cost per frame.
#include "engine/analysis.h"
#include "match_video.h"
#include "video/frame_source.h"
#include "video/probe.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

namespace rallinox {
namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int kRounds = 2;
constexpr int kStages = 6;

double secondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

double decodeOnlySeconds(const std::string& video, unsigned threads) {
    const std::string command =
        "ffmpeg -v error -threads " + std::to_string(threads) + " -i '" + video + "' -f null - 2>&1";
    const Clock::time_point start = Clock::now();
    const int status = std::system(command.c_str());
    const double seconds = secondsBetween(start, Clock::now());
    return status == 0 ? seconds : -1;
}

struct AnalysisTiming {
    bool ok = false;
    int64_t frames = 0;
    double totalSec = 0;
    std::array<double, kStages> stageSec{};  // opening, stage 1, tracking, classification, rallies
};

// Notes when the analysis enters each step by watching its progress record.
AnalysisTiming timeAnalysis(const std::string& video) {
    AnalysisProgress progress;
    std::array<Clock::time_point, kStages> entered{};
    std::atomic<bool> finished{false};
    const Clock::time_point start = Clock::now();
    entered[0] = start;
    std::thread watcher([&] {
        int seen = 0;
        while (!finished.load()) {
            const int stage = progress.stage.load();
            for (int next = seen + 1; next <= stage && next < kStages; ++next) entered[next] = Clock::now();
            seen = std::max(seen, stage);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    const AnalysisResult result = runAnalysis({video}, progress);
    const Clock::time_point end = Clock::now();
    finished.store(true);
    watcher.join();

    AnalysisTiming timing;
    timing.ok = result.ok;
    timing.frames = result.frames;
    timing.totalSec = secondsBetween(start, end);
    for (int stage = 0; stage + 1 < kStages; ++stage)
        timing.stageSec[stage] = secondsBetween(entered[stage], stage + 2 < kStages ? entered[stage + 1] : end);
    return timing;
}

struct Stage1Parts {
    double readerFps = 0;    // frames the frame source delivers per second, nothing else running
    double detectorFps = 0;  // motion detection alone, on frames held in memory
};

// Stage 1 is the frame source feeding motion detection; each part's own rate
// shows which of the two holds it back.
Stage1Parts timeStage1Parts(const std::string& video, int videoWidth, int videoHeight) {
    constexpr size_t kHeldFrames = 300;
    const AnalysisSize size = analysisSizeFor(videoWidth, videoHeight);
    Stage1Parts parts;
    std::vector<cv::Mat> held;
    FrameSource source;
    if (!source.open(video, size.width, size.height, 1)) return parts;
    const Clock::time_point start = Clock::now();
    cv::Mat frame;
    int64_t frames = 0;
    while (source.pop(frame)) {
        ++frames;
        if (held.size() < kHeldFrames) held.push_back(frame.clone());
    }
    parts.readerFps = frames / secondsBetween(start, Clock::now());

    EngineParams params;
    params.videoWidth = videoWidth;
    params.videoHeight = videoHeight;
    params.analysisWidth = size.width;
    params.analysisHeight = size.height;
    MotionDetector detector;
    detector.setParams(params);
    const Clock::time_point detectStart = Clock::now();
    for (size_t i = 0; i < held.size(); ++i) detector.detectMotion(held[i], static_cast<int>(i));
    parts.detectorFps = held.size() / secondsBetween(detectStart, Clock::now());
    return parts;
}

void printLoad() {
    std::array<char, 256> line{};
    if (FILE* uptime = popen("uptime", "r")) {
        if (std::fgets(line.data(), line.size(), uptime)) std::printf("uptime: %s", line.data());
        pclose(uptime);
    }
}

}  // namespace
}  // namespace rallinox

int main(int argc, char** argv) {
    using namespace rallinox;
    MatchVideoPlan plan;
    plan.width = 1920;
    plan.height = 1080;
    fs::path video;
    if (argc > 1 && fs::is_regular_file(argv[1])) {
        VideoInfo info;
        std::string error;
        if (!probe(argv[1], info, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        video = argv[1];
        plan.width = info.width;
        plan.height = info.height;
        plan.fps = static_cast<int>(std::lround(info.fps));
        plan.durationSec = info.durationSec;
    } else {
        plan.durationSec = argc > 1 ? std::max(10.0, std::atof(argv[1])) : 130;
        for (double start = 10; start + 12 < plan.durationSec; start += 25) plan.rallies.push_back({start, start + 12});
        video = fs::temp_directory_path() /
                ("rallinox-bench-1080p30-" + std::to_string(static_cast<int>(plan.durationSec)) + ".mp4");
        if (!fs::exists(video)) {
            std::printf("making %s ...\n", video.c_str());
            const fs::path partial = video.string() + ".part.mp4";
            if (!writeMatchVideo(partial.string(), plan)) {
                std::fprintf(stderr, "ffmpeg could not make the benchmark video\n");
                return 1;
            }
            fs::rename(partial, video);
        }
    }
    const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    const double videoFrames = plan.durationSec * plan.fps;
    printLoad();

    double bestDecode = 1e30;
    AnalysisTiming best;
    best.totalSec = 1e30;
    for (int round = 0; round < kRounds; ++round) {
        const double decode = decodeOnlySeconds(video.string(), threads);
        const AnalysisTiming analysis = timeAnalysis(video.string());
        if (decode < 0 || !analysis.ok) {
            std::fprintf(stderr, "decoding or analysis failed\n");
            return 1;
        }
        std::printf("round %d: decode-only %.1f frames/s, analysis %.1f frames/s, ratio %.2f\n", round + 1,
                    videoFrames / decode, analysis.frames / analysis.totalSec,
                    (analysis.frames / analysis.totalSec) / (videoFrames / decode));
        bestDecode = std::min(bestDecode, decode);
        if (analysis.totalSec < best.totalSec) best = analysis;
    }

    const double decodeFps = videoFrames / bestDecode;
    const double analysisFps = best.frames / best.totalSec;
    std::printf("\n%s: %dx%d %d fps, %.0f s, %lld analysed frames\n", video.filename().c_str(), plan.width,
                plan.height, plan.fps, plan.durationSec, static_cast<long long>(best.frames));
    std::printf("ffmpeg -threads %u decode-only: %.1f frames/s\n", threads, decodeFps);
    std::printf("whole analysis:              %.1f frames/s\n", analysisFps);
    std::printf("ratio analysis / decode-only: %.2f (target >= 0.70)\n", analysisFps / decodeFps);
    std::printf("share of analysis time per step:\n");
    for (int stage = 0; stage < 5; ++stage)
        std::printf("  %-22s %6.2f s  %5.1f %%\n", analysisStageName(stage), best.stageSec[stage],
                    100 * best.stageSec[stage] / best.totalSec);
    const Stage1Parts parts = timeStage1Parts(video.string(), plan.width, plan.height);
    std::printf("inside stage 1: frame source alone %.1f frames/s, motion detection alone %.1f frames/s\n",
                parts.readerFps, parts.detectorFps);
    const double afterStage1 = best.stageSec[2] + best.stageSec[3] + best.stageSec[4];
    std::printf("stages 2-11 together: %.2f %% of the total (target < 5 %%)\n", 100 * afterStage1 / best.totalSec);
    printLoad();
    return 0;
}
