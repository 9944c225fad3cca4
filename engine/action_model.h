// Stage 9: the action model's probability of play for every 5-frame window.
#pragma once

#include "engine/onnx_predictor.h"

#include <array>
#include <vector>

namespace rallinox {

struct WindowFeatures;

inline constexpr std::size_t kWindowFeatureCount = 22;

// Model input names, in the order of the model's input vector.
const std::array<const char*, kWindowFeatureCount>& windowFeatureNames();

// The 22 model inputs of one window, in the order of windowFeatureNames().
std::vector<double> windowFeatureVector(const WindowFeatures& window);

class ActionModel {
public:
    bool loadMemory(const void* bytes, std::size_t length) { return predictor_.loadMemory(bytes, length); }
    bool loaded() const { return predictor_.loaded(); }

    // One play probability per window, in window order; a failed prediction
    // gives 0. Empty (with an error line) when no model is loaded.
    std::vector<double> predictPlay(const std::vector<WindowFeatures>& windows);

private:
    RPE_ONNX_Predictor predictor_;
};

}  // namespace rallinox
