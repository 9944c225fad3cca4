// One ONNX Runtime session on the CPU that classifies one feature vector at
// a time. Used on one thread only.
#pragma once

#include <onnxruntime_cxx_api.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace rallinox {

class RPE_ONNX_Predictor {
public:
    RPE_ONNX_Predictor();

    RPE_ONNX_Predictor(const RPE_ONNX_Predictor&) = delete;
    RPE_ONNX_Predictor& operator=(const RPE_ONNX_Predictor&) = delete;

    // Replaces any loaded model by the ONNX model in `bytes`. On failure the
    // reason goes to standard error and no model is loaded.
    bool loadMemory(const void* bytes, std::size_t length);

    // Runs the model on [1, N] float32 features. `label` is output 0;
    // `probability` is element 1 of output 1 when the model has it, else
    // 1.0 or 0.0 from the label. False (outputs untouched) without a model
    // or when the run fails (reason on standard error).
    bool predict(std::span<const double> features, std::int32_t& label, double& probability);

    bool loaded() const { return loaded_; }

private:
    // Declared in construction order: destroyed session first, environment last.
    Ort::Env env_;
    Ort::SessionOptions options_;
    std::unique_ptr<Ort::Session> session_;
    std::vector<std::string> inputNames_;
    std::vector<std::string> outputNames_;
    std::vector<const char*> outputNamePtrs_;
    bool loaded_ = false;
};

// The positive-class probability of one feature vector; 0 when the
// prediction fails, so one bad item does not stop the others.
double positiveProbability(RPE_ONNX_Predictor& predictor, std::span<const double> features);

}  // namespace rallinox
