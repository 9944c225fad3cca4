// Stage 8: what the action model reads about the ball around every window of
// analysed frames.
#pragma once

#include "engine/ball_detection.h"
#include "engine/engine_params.h"

#include <set>
#include <vector>

namespace rallinox {

// One record per window. Positions are divided by the video size, speeds
// (pixels per second) and distances by the video diagonal.
struct WindowFeatures {
    int frame = 0;  // analysed frame of the window's first frame
    double Is_Ball_Active = 0;
    double Inside_Run = 0;
    double Current_Run_Duration = 0;
    double Frames_Since_Run_Start = 0;
    double Frames_To_Run_End = 0;
    double Time_Since_Prev_Run = -1;
    double Time_To_Next_Run = -1;
    double Gap_Duration = -1;
    double Gap_Distance = -1;
    double Run_Start_X = -1;
    double Run_Start_Y = -1;
    double Run_Start_Vx = 0;
    double Run_Start_Vy = 0;
    double Run_Start_Upward = -1;
    double Window2s_Ball_Ratio = 0;
    double Window2s_Mean_Speed = 0;
    double Window2s_Max_Speed = 0;
    double Window2s_Std_Speed = 0;
    double Window2s_Std_X = 0;
    double Window2s_Std_Y = 0;
    double Window2s_Mean_Y = 0;
    double Window2s_Max_Y_Disp = 0;
};

// One record for every window start 0, windowLength, 2 x windowLength, ...
// below `count` analysed frames; empty when `count` <= 0.
std::vector<WindowFeatures> computeWindowFeatures(const std::vector<BallDetection>& detections,
                                                  const std::set<int>& ballTrackIds, int count,
                                                  int windowLength, const EngineParams& params);

}  // namespace rallinox
