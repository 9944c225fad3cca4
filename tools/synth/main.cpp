// rallinox-synth: renders a synthetic volleyball match video with its
// ground truth, for training and evaluating the analysis.
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

#include "synthetic_match.h"
#include "video_writer.h"

using namespace rallinox::synth;

namespace {

const char* kUsage =
    "usage: rallinox-synth --out VIDEO.mp4 [--truth TRUTH.json] [--seed N]\n"
    "                      [--minutes M | --seconds S] [--view baseline|side]\n"
    "                      [--reach close|far] [--size 1280x720|1920x1080|3840x2160]\n"
    "                      [--fps 25|30|50|60] [--kbps K]\n";

struct Options {
    MatchRequest request;
    std::string out, truth;
};

Options parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) throw std::invalid_argument("missing value after " + arg);
        const std::string value = argv[++i];
        if (arg == "--seed") o.request.seed = std::stoull(value);
        else if (arg == "--out") o.out = value;
        else if (arg == "--truth") o.truth = value;
        else if (arg == "--minutes") o.request.seconds = 60.0 * std::stod(value);
        else if (arg == "--seconds") o.request.seconds = std::stod(value);
        else if (arg == "--view") o.request.view = parseView(value);
        else if (arg == "--reach") o.request.reach = parseReach(value);
        else if (arg == "--fps") o.request.fps = std::stod(value);
        else if (arg == "--kbps") o.request.kbps = std::stoi(value);
        else if (arg == "--size") {
            int w = 0, h = 0;
            if (std::sscanf(value.c_str(), "%dx%d", &w, &h) != 2 || w < 64 || h < 64) throw std::invalid_argument("bad size " + value);
            o.request.size = cv::Size(w, h);
        } else throw std::invalid_argument("unknown option " + arg);
    }
    if (o.out.empty()) throw std::invalid_argument("--out is required");
    if (o.request.seconds <= 0) throw std::invalid_argument("the length must be positive");
    if (o.truth.empty()) {
        const size_t dot = o.out.find_last_of('.');
        o.truth = (dot == std::string::npos ? o.out : o.out.substr(0, dot)) + ".json";
    }
    return o;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    try {
        options = parse(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n%s", e.what(), kUsage);
        return 2;
    }
    // One core per generator: several run side by side when making data.
    cv::setNumThreads(1);
    try {
        const SyntheticMatch match(options.request);
        GroundTruth truth = match.truthHeader();
        VideoWriter writer(options.out, match.size(), match.fps(), match.kbps());
        cv::Mat frame;
        const int progressEvery = static_cast<int>(match.fps() * 60);
        for (int i = 0; i < match.frameCount(); ++i) {
            truth.ball.push_back(match.render(i, frame));
            writer.write(frame);
            if ((i + 1) % progressEvery == 0) std::fprintf(stderr, "[INFO] %d of %d frames\n", i + 1, match.frameCount());
        }
        writer.finish();
        writeTruth(truth, options.truth);
        std::fprintf(stderr, "[INFO] %s: %dx%d %.0f fps %s, %zu rallies\n", options.out.c_str(), match.size().width,
                     match.size().height, match.fps(), truth.view.c_str(), truth.rallies.size());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "[ERROR] %s\n", e.what());
        return 1;
    }
    return 0;
}
