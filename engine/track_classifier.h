// Stage 6: the track model's probability that a track is the ball.
#pragma once

#include "engine/onnx_predictor.h"

#include <array>
#include <vector>

namespace rallinox {

struct TrackFeatures;

inline constexpr std::size_t kTrackFeatureCount = 65;

// Model input names, in the order of the model's input vector.
const std::array<const char*, kTrackFeatureCount>& trackFeatureNames();

// The 65 model inputs of one record, in the order of trackFeatureNames().
std::vector<double> trackFeatureVector(const TrackFeatures& record);

class TrackClassifier {
public:
    bool loadMemory(const void* bytes, std::size_t length) { return predictor_.loadMemory(bytes, length); }
    bool loaded() const { return predictor_.loaded(); }

    // One ball probability per record, in record order; a failed prediction
    // gives 0. Empty (with an error line) when no model is loaded.
    std::vector<double> predictInMemory(const std::vector<TrackFeatures>& records);

private:
    RPE_ONNX_Predictor predictor_;
};

}  // namespace rallinox
