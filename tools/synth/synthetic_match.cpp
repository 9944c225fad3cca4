#include "synthetic_match.h"

#include <cmath>

namespace rallinox::synth {

SyntheticMatch::SyntheticMatch(const MatchRequest& request) : seed_(request.seed) {
    Random master(request.seed);
    // Separate streams, so that fixing one choice on the command line does
    // not change the rest of the match.
    Random setup = master.fork();
    Random cameraRandom = master.fork();
    Random planRandom = master.fork();
    Random lookRandom = master.fork();
    // Finer detail (numbers, textures, spectators' build) draws from its own
    // stream so that the match, hall colours and ball stay as they were.
    Random detailRandom = master.fork();

    const View drawnView = setup.chance(0.6) ? View::Baseline : View::Side;
    const cv::Size drawnSize = setup.chance(0.5) ? cv::Size(1280, 720) : cv::Size(1920, 1080);
    static const double kRates[4] = {25, 30, 50, 60};
    const double drawnFps = kRates[setup.index(4)];
    view_ = request.view.value_or(drawnView);
    const cv::Size size = request.size.value_or(drawnSize);
    fps_ = request.fps.value_or(drawnFps);
    const double pixelsPerSecond = double(size.area()) * fps_;
    // Consumer cameras: roughly 3-10 Mbit/s at 1080p30, scaled by pixel rate.
    const int drawnKbps = static_cast<int>(setup.uniform(0.05, 0.16) * pixelsPerSecond / 1000.0);
    kbps_ = request.kbps.value_or(drawnKbps);
    frameCount_ = static_cast<int>(std::lround(request.seconds * fps_));
    // Most footage comes from close to the court; some clubs film from afar.
    const Reach drawnReach = setup.chance(0.7) ? Reach::Close : Reach::Far;
    reach_ = request.reach.value_or(drawnReach);

    camera_ = chooseCamera(view_, reach_, size, cameraRandom);
    plan_ = planMatch(frameCount_ / fps_, camera_, planRandom);
    renderer_ = std::make_unique<MatchRenderer>(plan_, camera_, fps_, lookRandom, detailRandom);
}

GroundTruth SyntheticMatch::truthHeader() const {
    GroundTruth truth;
    truth.width = camera_.size.width;
    truth.height = camera_.size.height;
    truth.fps = fps_;
    truth.view = viewName(view_);
    truth.reach = reachName(reach_);
    truth.seed = seed_;
    truth.cameraHeight = camera_.position.z;
    truth.cameraDistance = (camera_.position - Vec3{4.5, 9.0, 0}).flat().length();
    truth.rallies = plan_.rallies;
    truth.warmups = plan_.warmups;
    truth.retrievals = plan_.retrievals;
    truth.serveBounces = plan_.serveBounces;
    return truth;
}

}  // namespace rallinox::synth
