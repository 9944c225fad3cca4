#include "engine/action_model.h"

#include "engine/window_features.h"

#include <iostream>

namespace rallinox {
namespace {

struct WindowFeatureColumn {
    const char* name;
    double WindowFeatures::*field;
};

// The field name is the model's input name, so each entry names it once.
#define RALLINOX_WINDOW_FEATURE(field) WindowFeatureColumn{#field, &WindowFeatures::field}

// The order is the model's input order.
const std::array<WindowFeatureColumn, kWindowFeatureCount> kWindowFeatureTable = {
    RALLINOX_WINDOW_FEATURE(Is_Ball_Active),
    RALLINOX_WINDOW_FEATURE(Inside_Run),
    RALLINOX_WINDOW_FEATURE(Current_Run_Duration),
    RALLINOX_WINDOW_FEATURE(Frames_Since_Run_Start),
    RALLINOX_WINDOW_FEATURE(Frames_To_Run_End),
    RALLINOX_WINDOW_FEATURE(Time_Since_Prev_Run),
    RALLINOX_WINDOW_FEATURE(Time_To_Next_Run),
    RALLINOX_WINDOW_FEATURE(Gap_Duration),
    RALLINOX_WINDOW_FEATURE(Gap_Distance),
    RALLINOX_WINDOW_FEATURE(Run_Start_X),
    RALLINOX_WINDOW_FEATURE(Run_Start_Y),
    RALLINOX_WINDOW_FEATURE(Run_Start_Vx),
    RALLINOX_WINDOW_FEATURE(Run_Start_Vy),
    RALLINOX_WINDOW_FEATURE(Run_Start_Upward),
    RALLINOX_WINDOW_FEATURE(Window2s_Ball_Ratio),
    RALLINOX_WINDOW_FEATURE(Window2s_Mean_Speed),
    RALLINOX_WINDOW_FEATURE(Window2s_Max_Speed),
    RALLINOX_WINDOW_FEATURE(Window2s_Std_Speed),
    RALLINOX_WINDOW_FEATURE(Window2s_Std_X),
    RALLINOX_WINDOW_FEATURE(Window2s_Std_Y),
    RALLINOX_WINDOW_FEATURE(Window2s_Mean_Y),
    RALLINOX_WINDOW_FEATURE(Window2s_Max_Y_Disp),
};

#undef RALLINOX_WINDOW_FEATURE

}  // namespace

const std::array<const char*, kWindowFeatureCount>& windowFeatureNames() {
    static const std::array<const char*, kWindowFeatureCount> names = [] {
        std::array<const char*, kWindowFeatureCount> result{};
        for (std::size_t i = 0; i < kWindowFeatureCount; ++i)
            result[i] = kWindowFeatureTable[i].name;
        return result;
    }();
    return names;
}

std::vector<double> windowFeatureVector(const WindowFeatures& window) {
    std::vector<double> values;
    values.reserve(kWindowFeatureCount);
    for (const WindowFeatureColumn& column : kWindowFeatureTable)
        values.push_back(window.*column.field);
    return values;
}

std::vector<double> ActionModel::predictPlay(const std::vector<WindowFeatures>& windows) {
    if (!predictor_.loaded()) {
        std::cerr << "[ERROR] RPE_CORE: CoreEngine: Action model not loaded, cannot run Stage 9 Prediction InMemory.\n";
        return {};
    }
    std::vector<double> probabilities;
    probabilities.reserve(windows.size());
    for (const WindowFeatures& window : windows)
        probabilities.push_back(positiveProbability(predictor_, windowFeatureVector(window)));
    return probabilities;
}

}  // namespace rallinox
