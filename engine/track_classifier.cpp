#include "engine/track_classifier.h"

#include "engine/track_features.h"

#include <iostream>

namespace rallinox {
namespace {

struct TrackFeatureColumn {
    const char* name;
    double (*read)(const TrackFeatures&);
};

// The field name is the model's input name, so each entry names it once.
#define RALLINOX_TRACK_FEATURE(field) \
    TrackFeatureColumn { #field, [](const TrackFeatures& t) { return static_cast<double>(t.field); } }

// The order is the model's input order: a model trained on another order
// gives meaningless answers without any error.
const std::array<TrackFeatureColumn, kTrackFeatureCount> kTrackFeatureTable = {
    RALLINOX_TRACK_FEATURE(Duration),
    RALLINOX_TRACK_FEATURE(Mean_W),
    RALLINOX_TRACK_FEATURE(Mean_H),
    RALLINOX_TRACK_FEATURE(Mean_Aspect_Ratio),
    RALLINOX_TRACK_FEATURE(Std_W),
    RALLINOX_TRACK_FEATURE(Std_H),
    RALLINOX_TRACK_FEATURE(Std_Aspect_Ratio),
    RALLINOX_TRACK_FEATURE(Distance_Traveled_X),
    RALLINOX_TRACK_FEATURE(Distance_Traveled_Y),
    RALLINOX_TRACK_FEATURE(Mean_Speed),
    RALLINOX_TRACK_FEATURE(Max_Speed),
    RALLINOX_TRACK_FEATURE(Std_Speed),
    RALLINOX_TRACK_FEATURE(Mean_Accel),
    RALLINOX_TRACK_FEATURE(Max_Accel),
    RALLINOX_TRACK_FEATURE(Std_Accel),
    RALLINOX_TRACK_FEATURE(Aspect_Ratio_Stability),
    RALLINOX_TRACK_FEATURE(Cumulative_Angular_Change),
    RALLINOX_TRACK_FEATURE(Mean_Angular_Change),
    RALLINOX_TRACK_FEATURE(Angular_Variance),
    RALLINOX_TRACK_FEATURE(Mean_Displacement_X),
    RALLINOX_TRACK_FEATURE(Mean_Displacement_Y),
    RALLINOX_TRACK_FEATURE(Std_Displacement_X),
    RALLINOX_TRACK_FEATURE(Std_Displacement_Y),
    RALLINOX_TRACK_FEATURE(Grid_Y_Percentile),
    RALLINOX_TRACK_FEATURE(Mean_Dist_To_1st),
    RALLINOX_TRACK_FEATURE(Mean_Dist_To_2nd),
    RALLINOX_TRACK_FEATURE(Mean_Dist_To_3rd),
    RALLINOX_TRACK_FEATURE(Mean_Neighbors_In_Radius_Small),
    RALLINOX_TRACK_FEATURE(Mean_Neighbors_In_Radius_Large),
    RALLINOX_TRACK_FEATURE(Vx_Reversals),
    RALLINOX_TRACK_FEATURE(Vy_Reversals),
    RALLINOX_TRACK_FEATURE(Max_X_Displacement),
    RALLINOX_TRACK_FEATURE(Max_Y_Displacement),
    RALLINOX_TRACK_FEATURE(Peak_Relative_Time),
    RALLINOX_TRACK_FEATURE(Circular_Frames_Ratio),
    RALLINOX_TRACK_FEATURE(Start_X),
    RALLINOX_TRACK_FEATURE(Start_Y),
    RALLINOX_TRACK_FEATURE(End_X),
    RALLINOX_TRACK_FEATURE(End_Y),
    RALLINOX_TRACK_FEATURE(Mean_X),
    RALLINOX_TRACK_FEATURE(Mean_Y),
    RALLINOX_TRACK_FEATURE(Std_Vx),
    RALLINOX_TRACK_FEATURE(Std_Vy),
    RALLINOX_TRACK_FEATURE(Std_Ax),
    RALLINOX_TRACK_FEATURE(Std_Ay),
    RALLINOX_TRACK_FEATURE(Std_Area),
    RALLINOX_TRACK_FEATURE(Min_X),
    RALLINOX_TRACK_FEATURE(Max_X),
    RALLINOX_TRACK_FEATURE(Min_Y),
    RALLINOX_TRACK_FEATURE(Max_Y),
    RALLINOX_TRACK_FEATURE(Mean_Relative_Y),
    RALLINOX_TRACK_FEATURE(Max_Relative_Y),
    RALLINOX_TRACK_FEATURE(Mean_Relative_X),
    RALLINOX_TRACK_FEATURE(Max_Relative_X),
    RALLINOX_TRACK_FEATURE(Mean_Relative_Area),
    RALLINOX_TRACK_FEATURE(Max_Relative_Area),
    RALLINOX_TRACK_FEATURE(Mean_Relative_Speed),
    RALLINOX_TRACK_FEATURE(Max_Relative_Speed),
    RALLINOX_TRACK_FEATURE(Heading_Spikes),
    RALLINOX_TRACK_FEATURE(Rms_Angular_Change),
    RALLINOX_TRACK_FEATURE(Mean_Path_Efficiency_10),
    RALLINOX_TRACK_FEATURE(Std_Path_Efficiency_10),
    RALLINOX_TRACK_FEATURE(Mean_Step_Distance),
    RALLINOX_TRACK_FEATURE(Std_Step_Distance),
    RALLINOX_TRACK_FEATURE(Interpolation_Ratio),
};

#undef RALLINOX_TRACK_FEATURE

}  // namespace

const std::array<const char*, kTrackFeatureCount>& trackFeatureNames() {
    static const std::array<const char*, kTrackFeatureCount> names = [] {
        std::array<const char*, kTrackFeatureCount> result{};
        for (std::size_t i = 0; i < kTrackFeatureCount; ++i)
            result[i] = kTrackFeatureTable[i].name;
        return result;
    }();
    return names;
}

std::vector<double> trackFeatureVector(const TrackFeatures& record) {
    std::vector<double> values;
    values.reserve(kTrackFeatureCount);
    for (const TrackFeatureColumn& column : kTrackFeatureTable)
        values.push_back(column.read(record));
    return values;
}

std::vector<double> TrackClassifier::predictInMemory(const std::vector<TrackFeatures>& records) {
    if (!predictor_.loaded()) {
        std::cerr << "[ERROR] TrackClassifier: Model not loaded, cannot run predictInMemory.\n";
        return {};
    }
    std::vector<double> probabilities;
    probabilities.reserve(records.size());
    for (const TrackFeatures& record : records)
        probabilities.push_back(positiveProbability(predictor_, trackFeatureVector(record)));
    return probabilities;
}

}  // namespace rallinox
