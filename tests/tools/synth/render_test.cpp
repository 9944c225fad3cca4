#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "synthetic_match.h"
#include "video_writer.h"

using namespace rallinox::synth;

namespace {

MatchRequest request(uint64_t seed, View view) {
    MatchRequest r;
    r.seed = seed;
    r.seconds = 60;
    r.view = view;
    r.size = cv::Size(640, 360);
    r.fps = 25;
    return r;
}

// The first seed from `seed` on whose match has a rally in its length.
uint64_t seedWithRally(uint64_t seed, View view) {
    while (SyntheticMatch(request(seed, view)).plan().rallies.empty()) ++seed;
    return seed;
}

// Frames in the first rally, where the ball is in play.
std::vector<int> rallyFrames(const SyntheticMatch& match, int count) {
    const TimeSpan rally = match.plan().rallies.at(0);
    std::vector<int> frames;
    for (int i = 0; i < count; ++i) {
        frames.push_back(static_cast<int>((rally.start + (rally.end - rally.start) * (i + 0.5) / count) * match.fps()));
    }
    return frames;
}

}  // namespace

TEST(SyntheticRender, SameSeedRendersTheSamePicturesAndTruth) {
    const uint64_t seed = seedWithRally(21, View::Baseline);
    const SyntheticMatch a(request(seed, View::Baseline)), b(request(seed, View::Baseline));
    cv::Mat fa, fb;
    for (int frame : rallyFrames(a, 4)) {
        const auto ta = a.render(frame, fa), tb = b.render(frame, fb);
        EXPECT_EQ(cv::norm(fa, fb, cv::NORM_INF), 0.0);
        ASSERT_EQ(ta.has_value(), tb.has_value());
        if (ta) {
            EXPECT_EQ(ta->x, tb->x);
        }
    }
    const SyntheticMatch other(request(seed + 1, View::Baseline));
    other.render(100, fb);
    a.render(100, fa);
    EXPECT_GT(cv::norm(fa, fb, cv::NORM_L1), 0.0);
}

TEST(SyntheticRender, TruthMarksWhereTheBallIsDrawn) {
    for (const View view : {View::Baseline, View::Side}) {
        const SyntheticMatch match(request(seedWithRally(31, view), view));
        cv::Mat with, without;
        int visible = 0;
        for (int frame : rallyFrames(match, 30)) {
            const auto truth = match.render(frame, with);
            match.render(frame, without, false);
            if (!truth) continue;
            ++visible;
            EXPECT_GT(truth->radius, 1.0);
            EXPECT_LT(truth->radius, 12.0);
            // The pictures differ exactly where the ball is said to be: its
            // centre and the four pixels around it (noise is the same in both).
            const cv::Point centre(cvFloor(truth->x), cvFloor(truth->y));
            for (const cv::Point step : {cv::Point(0, 0), cv::Point(1, 0), cv::Point(-1, 0), cv::Point(0, 1), cv::Point(0, -1)}) {
                EXPECT_NE(with.at<cv::Vec3b>(centre + step), without.at<cv::Vec3b>(centre + step))
                    << viewName(view) << " frame " << frame;
            }
            // Far from the ball the two pictures agree.
            const int far = static_cast<int>(truth->radius * 4 + 8);
            const cv::Rect outside = cv::Rect(centre.x + far, centre.y, 4, 4) & cv::Rect(0, 0, with.cols, with.rows);
            if (outside.area() > 0) {
                EXPECT_EQ(cv::norm(with(outside), without(outside), cv::NORM_INF), 0.0);
            }
        }
        EXPECT_GE(visible, 15) << viewName(view);
    }
}

TEST(SyntheticRender, EncodesPlayableH264) {
    const SyntheticMatch match(request(41, View::Side));
    const std::string path = (std::filesystem::temp_directory_path() / "rallinox_synth_test.mp4").string();
    {
        VideoWriter writer(path, match.size(), match.fps(), 800);
        cv::Mat frame;
        for (int i = 0; i < 25; ++i) {
            match.render(i, frame);
            writer.write(frame);
        }
        writer.finish();
    }
    EXPECT_GT(std::filesystem::file_size(path), 5000u);
    const std::string probe = "ffprobe -v error -select_streams v:0 -count_frames -show_entries stream=codec_name,nb_read_frames -of csv=p=0 " + path;
    FILE* pipe = popen(probe.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char line[128] = {};
    ASSERT_NE(std::fgets(line, sizeof line, pipe), nullptr);
    pclose(pipe);
    EXPECT_EQ(std::string(line), "h264,25\n");
    std::filesystem::remove(path);
}

TEST(SyntheticRender, SameFramesEncodeToTheSameFile) {
    // Training reproduces its models only when the videos come out the same.
    const SyntheticMatch match(request(43, View::Baseline));
    auto encode = [&](const std::string& name) {
        const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
        {
            VideoWriter writer(path.string(), match.size(), match.fps(), 600);
            cv::Mat frame;
            for (int i = 0; i < 40; ++i) {
                match.render(i, frame);
                writer.write(frame);
            }
            writer.finish();
        }
        std::ifstream in(path, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::filesystem::remove(path);
        return bytes;
    };
    const std::string first = encode("rallinox_synth_same_1.mp4");
    ASSERT_FALSE(first.empty());
    EXPECT_TRUE(first == encode("rallinox_synth_same_2.mp4"));
}
