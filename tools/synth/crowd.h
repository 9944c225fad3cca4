#pragma once
// Life around the court that is not the game: spectators who sway, stand
// up and cheer, and an LED advertising board whose pictures scroll and
// change.
#include <opencv2/core.hpp>

#include <vector>

#include "camera.h"
#include "random.h"

namespace rallinox::synth {

class Crowd {
public:
    // `detail` picks builds and clothes apart from the seats and colours.
    Crowd(const Camera& camera, Random& random, Random& detail);
    // Everyone sitting still, once, into the still background.
    void drawSeated(cv::Mat& background, const Camera& camera) const;
    // Those who fidget in their seat, stand up or cheer at `t`, and the LED
    // board.
    void draw(cv::Mat& frame, const Camera& camera, double t) const;

private:
    enum class Hair { Short, Long, Cap, Bald };
    struct Spectator {
        Vec3 seat;
        Vec3 ahead, across;  // towards the court, and along the row
        cv::Scalar shirt, skin, hair;
        cv::Scalar trousers, sleeves;
        double size = 1, build = 1;  // height and girth against an adult's
        Hair hairStyle = Hair::Short;
        double phase = 0, swayRate = 0.3;
        bool fidgets = false;  // moves in the seat; kept out of the still background
        uint64_t id = 0;
    };
    void drawSpectator(cv::Mat& frame, const Camera& camera, const Spectator& s, bool standing, bool cheering, double t,
                       bool still) const;
    void drawBoard(cv::Mat& frame, const Camera& camera, double t) const;

    std::vector<Spectator> people_;  // farthest first
    std::vector<cv::Scalar> boardColours_;
    double boardSpeed_ = 0, boardPeriod_ = 10;
};

}  // namespace rallinox::synth
