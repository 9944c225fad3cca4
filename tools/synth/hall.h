#pragma once
// The still part of the picture: floor, court lines, walls, advertising
// boards, stands, benches, and the net with its posts as a see-through
// layer that goes between the far and the near half of the court.
#include <opencv2/core.hpp>

#include "camera.h"
#include "random.h"

namespace rallinox::synth {

struct Hall {
    int margin = 0;          // extra border so that camera shake can shift the picture
    cv::Mat background;      // BGR, picture size plus the margin all round
    cv::Mat net;             // BGR of the net layer inside netBox
    cv::Mat netWeight;       // float 0..1 coverage of the net layer
    cv::Mat backgroundWeight;  // 1 - netWeight
    cv::Rect netBox;         // in background coordinates
    cv::Scalar floorColour;
};

Camera withMargin(const Camera& camera, int margin);
// `detail` picks the floor's and walls' finer pattern apart from their colours.
Hall buildHall(const Camera& camera, Random& random, Random& detail);

// The background and net for a picture shifted by `offset` pixels.
void copyBackground(const Hall& hall, cv::Point offset, cv::Mat& frame);
void overlayNet(const Hall& hall, cv::Point offset, cv::Mat& frame);

}  // namespace rallinox::synth
