// Decoding speed of the analysis frame reader against FFmpeg's own
// decode-only rate on the same file, measured side by side in one run.
//
//   bench_decode [--threads N] [--runs R] [--file match.mp4]
//
// Without --file a 60 s 1920x1080 30 fps H.264 match stand-in is generated
// once and kept in the temporary folder. Each run times, in turn, FFmpeg
// (`ffmpeg -threads N -i file -f null -`), our reader delivering 854x480
// grey frames, and our reader with the loop filter skipped. The best of the
// runs is printed as frames per wall-clock second and per processor second
// (the fair figure on a busy machine), each with its ratio to FFmpeg, and
// how far skipping the loop filter moves the frames the analysis sees.
#include "bench/bench_timing.h"
#include "bench/bench_video.h"
#include "video/decode_loop.h"
#include "video/frame_reader.h"
#include "video/media_decoder.h"

#include <opencv2/core.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using bench::Timing;
using bench::timeOf;
using rallinox::AvFramePtr;

constexpr int kAnalysisWidth = 854;
constexpr int kAnalysisHeight = 480;
// Every n-th frame is compared, which spans whole GOPs at bounded memory.
constexpr long kCompareEvery = 6;

struct Options {
    int threads = int(std::max(1u, std::thread::hardware_concurrency()));
    int runs = 3;
    std::string file;
};

Options parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--threads") options.threads = std::atoi(argv[i + 1]);
        else if (name == "--runs") options.runs = std::atoi(argv[i + 1]);
        else if (name == "--file") options.file = argv[i + 1];
    }
    return options;
}

std::string generatedMatch() {
    return bench::generatedOnce("rallinox-bench-1080p30-60s.mp4", "a 60 s 1920x1080 30 fps H.264 file",
                                "-f lavfi -i \"testsrc2=s=1920x1080:r=30,noise=alls=4:allf=t\" -t 60 "
                                "-c:v libx264 -preset veryfast -b:v 8M -maxrate 10M -bufsize 16M -pix_fmt yuv420p");
}

long ffmpegFrames(const std::string& file) {
    rallinox::MediaDecoder decoder;
    if (!decoder.open(file) || !decoder.openVideo({})) return 0;
    const AVStream& stream = *decoder.videoStream();
    return long(stream.nb_frames);
}

Timing ffmpegTiming(const std::string& file, int threads) {
    const std::string command =
        "ffmpeg -nostdin -v error -threads " + std::to_string(threads) + " -i \"" + file + "\" -f null -";
    return timeOf([&] {
        if (std::system(command.c_str()) != 0) std::fputs("ffmpeg failed\n", stderr);
    });
}

// Our reader as the analysis uses it: frames delivered at the analysis size.
Timing readerTiming(const std::string& file, int threads, long& frames) {
    rallinox::MfFrameReader reader;
    reader.setDecoderThreads(threads);
    frames = 0;
    return timeOf([&] {
        if (!reader.start(file, kAnalysisWidth, kAnalysisHeight, 1)) return;
        cv::Mat frame;
        while (reader.pop(frame)) ++frames;
    });
}

// The same decode loop, optionally without the loop filter, collecting
// every kCompareEvery-th delivered frame when `keep` is given.
Timing decodeLoopTiming(const std::string& file, int threads, bool skipLoopFilter,
                        std::vector<cv::Mat>* keep, long& frames) {
    frames = 0;
    return timeOf([&] {
        rallinox::MediaDecoder decoder;
        const bool opened = decoder.open(file) && decoder.openVideo([&](AVCodecContext& codec) {
            codec.thread_count = threads;
            codec.thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
            if (skipLoopFilter) codec.skip_loop_filter = AVDISCARD_ALL;
            return true;
        });
        AvFramePtr first = rallinox::makeFrame();
        AVMediaType type = AVMEDIA_TYPE_VIDEO;
        if (!opened || decoder.next(*first, type) != rallinox::MediaEvent::Frame) return;
        rallinox::FrameQueue queue(32);
        std::thread consumer([&] {
            cv::Mat frame;
            while (queue.pop(frame)) {
                if (keep && frames % kCompareEvery == 0) keep->push_back(frame);
                ++frames;
            }
        });
        rallinox::decodeLoop(decoder, *first, nullptr, {kAnalysisWidth, kAnalysisHeight, 1, 0}, queue);
        queue.finish();
        consumer.join();
    });
}

void printDifference(const std::vector<cv::Mat>& filtered, const std::vector<cv::Mat>& unfiltered) {
    double sum = 0.0, worstMean = 0.0, worstPixel = 0.0;
    const std::size_t count = std::min(filtered.size(), unfiltered.size());
    for (std::size_t i = 0; i < count; ++i) {
        const double mean = cv::norm(filtered[i], unfiltered[i], cv::NORM_L1) / double(filtered[i].total());
        sum += mean;
        worstMean = std::max(worstMean, mean);
        worstPixel = std::max(worstPixel, cv::norm(filtered[i], unfiltered[i], cv::NORM_INF));
    }
    std::printf("skip_loop_filter changes the 854x480 frames by %.3f grey levels on average "
                "(worst frame %.3f, worst pixel %.0f) over %zu frames\n",
                count ? sum / double(count) : 0.0, worstMean, worstPixel, count);
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = parse(argc, argv);
    const std::string file = options.file.empty() ? generatedMatch() : options.file;
    if (file.empty()) {
        std::fputs("cannot generate the test video (is ffmpeg installed?)\n", stderr);
        return 1;
    }
    const long sourceFrames = ffmpegFrames(file);
    std::printf("file %s: %ld frames, %d decoding threads, best of %d runs\n", file.c_str(), sourceFrames,
                options.threads, options.runs);

    std::printf("load average before the runs: %s\n", bench::loadAverage().c_str());
    Timing ffmpeg, reader, skipped;
    long readerFrames = 0, skipFrames = 0;
    for (int run = 0; run < options.runs; ++run) {
        ffmpeg.keepBest(ffmpegTiming(file, options.threads));
        reader.keepBest(readerTiming(file, options.threads, readerFrames));
        skipped.keepBest(decodeLoopTiming(file, options.threads, true, nullptr, skipFrames));
    }
    const auto report = [&](const char* name, const Timing& timing, long frames) {
        const double fps = double(frames) / timing.wall;
        const double cpuFps = double(frames) / timing.cpu;
        std::printf("%-42s %7.1f frames/s (ratio %.2f)  %7.1f frames per processor second (ratio %.2f)\n", name, fps,
                    fps * ffmpeg.wall / double(sourceFrames), cpuFps, cpuFps * ffmpeg.cpu / double(sourceFrames));
    };
    report(("ffmpeg -threads " + std::to_string(options.threads) + " -f null (decode only)").c_str(), ffmpeg,
           sourceFrames);
    report("reader, 854x480 grey frames", reader, readerFrames);
    report("reader, loop filter skipped", skipped, skipFrames);

    std::vector<cv::Mat> filtered, unfiltered;
    long ignored = 0;
    decodeLoopTiming(file, options.threads, false, &filtered, ignored);
    decodeLoopTiming(file, options.threads, true, &unfiltered, ignored);
    printDifference(filtered, unfiltered);
    return 0;
}
