// The lines under an analysis's progress bar on its project card.
#pragma once

#include <string>

namespace rallinox::ui {

// "Starting...  You can keep using the app; ..." up to 3 %, then
// "About 1:00 left  -  2:30 of video read".
std::string analysisStatusLine(double fraction, double elapsedSec, double videoSecDone);

// "240 frames/s  -  8.0x real time  -  software decoding".
std::string analysisSpeedLine(double framesPerSec, double videoSecDone, double elapsedSec, const char* decoder);

}  // namespace rallinox::ui
