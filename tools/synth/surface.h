#pragma once
// Patterns too fine to draw as shapes: wooden floor boards and the blocks
// of a wall. Each pixel's ray is met with the surface, so the pattern lies
// in true perspective, and fades where one pixel spans many boards instead
// of aliasing into moire.
#include <opencv2/core.hpp>

#include "camera.h"
#include "random.h"

namespace rallinox::synth {

// A flat surface: a point on it and two unit directions along it.
struct Surface {
    Vec3 origin, u, v;
};

struct BoardPattern {
    double width = 0.1;   // metres across a board, along `u`
    double length = 3.0;  // metres of a plank, along `v`
    double seam = 0.08;   // how much darker the gaps between boards are
    double grain = 0.04;  // strength of the streaks along the wood
    double tone = 0.05;   // spread of brightness from plank to plank
    double gap = 0.003;   // metres of gap or mortar between boards
    bool halfBond = false;  // each row starts half a plank on, as bricks are laid
    uint64_t seed = 0;

    static BoardPattern floorBoards(Random& random);
    static BoardPattern wallBlocks(Random& random);
};

// Multiplies the pixels of `image` where `mask` is set by the pattern's shade.
void shadeSurface(cv::Mat& image, const cv::Mat& mask, const Camera& camera, const Surface& surface,
                  const BoardPattern& pattern);

}  // namespace rallinox::synth
