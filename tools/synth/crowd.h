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
    Crowd(const Camera& camera, Random& random);
    // Everyone seated, once, into the still background.
    void drawSeated(cv::Mat& background, const Camera& camera) const;
    // Those standing up or cheering at `t`, and the LED board.
    void draw(cv::Mat& frame, const Camera& camera, double t) const;

private:
    struct Spectator {
        Vec3 seat;
        cv::Scalar shirt, skin, hair;
        double phase = 0;
        uint64_t id = 0;
    };
    void drawSpectator(cv::Mat& frame, const Camera& camera, const Spectator& s, bool standing, bool cheering, double t) const;
    void drawBoard(cv::Mat& frame, const Camera& camera, double t) const;

    std::vector<Spectator> people_;  // farthest first
    std::vector<cv::Scalar> boardColours_;
    double boardSpeed_ = 0, boardPeriod_ = 10;
};

}  // namespace rallinox::synth
