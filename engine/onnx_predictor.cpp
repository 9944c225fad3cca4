#include "engine/onnx_predictor.h"

#include <array>
#include <iostream>
#include <stdexcept>

namespace rallinox {
namespace {

// Output 0 holds the predicted class; exporters use 64- or 32-bit integers.
std::int32_t readLabel(const Ort::Value& output) {
    if (!output.IsTensor())
        throw std::runtime_error("output 0 is not a tensor");
    const Ort::TensorTypeAndShapeInfo info = output.GetTensorTypeAndShapeInfo();
    if (info.GetElementCount() == 0)
        throw std::runtime_error("output 0 is empty");
    switch (info.GetElementType()) {
    case ONNX_TENSOR_ELEMENT_DATA_TYPE_INT64:
        return static_cast<std::int32_t>(output.GetTensorData<std::int64_t>()[0]);
    case ONNX_TENSOR_ELEMENT_DATA_TYPE_INT32:
        return output.GetTensorData<std::int32_t>()[0];
    default:
        throw std::runtime_error("output 0 is not an integer tensor");
    }
}

}  // namespace

RPE_ONNX_Predictor::RPE_ONNX_Predictor() : env_(ORT_LOGGING_LEVEL_WARNING, "RPE_ONNX_Predictor") {
    // The models are small and run once per item: a thread pool only adds overhead.
    options_.SetIntraOpNumThreads(1);
    options_.SetGraphOptimizationLevel(GraphOptimizationLevel::ORT_ENABLE_ALL);
}

bool RPE_ONNX_Predictor::loadMemory(const void* bytes, std::size_t length) {
    loaded_ = false;
    session_.reset();
    inputNames_.clear();
    outputNames_.clear();
    outputNamePtrs_.clear();
    try {
        session_ = std::make_unique<Ort::Session>(env_, bytes, length, options_);
        Ort::AllocatorWithDefaultOptions allocator;
        for (std::size_t i = 0; i < session_->GetInputCount(); ++i)
            inputNames_.emplace_back(session_->GetInputNameAllocated(i, allocator).get());
        for (std::size_t i = 0; i < session_->GetOutputCount(); ++i)
            outputNames_.emplace_back(session_->GetOutputNameAllocated(i, allocator).get());
        // predict() feeds the first input and reads output 0.
        if (inputNames_.empty() || outputNames_.empty())
            throw std::runtime_error("the model has no input or no output");
    } catch (const std::exception& e) {
        std::cerr << "[ERROR] Failed to load ONNX model from memory: " << e.what() << '\n';
        session_.reset();
        inputNames_.clear();
        outputNames_.clear();
        return false;
    }
    for (const std::string& name : outputNames_)
        outputNamePtrs_.push_back(name.c_str());
    loaded_ = true;
    return true;
}

bool RPE_ONNX_Predictor::predict(std::span<const double> features, std::int32_t& label,
                                 double& probability) {
    if (!session_)
        return false;
    try {
        std::vector<float> values(features.begin(), features.end());
        const std::array<std::int64_t, 2> shape = {1, static_cast<std::int64_t>(values.size())};
        const Ort::MemoryInfo memory = Ort::MemoryInfo::CreateCpu(OrtArenaAllocator, OrtMemTypeDefault);
        const Ort::Value input = Ort::Value::CreateTensor<float>(memory, values.data(), values.size(),
                                                                 shape.data(), shape.size());
        const char* inputName = inputNames_.front().c_str();
        const std::vector<Ort::Value> outputs =
            session_->Run(Ort::RunOptions{nullptr}, &inputName, &input, 1, outputNamePtrs_.data(),
                          outputNamePtrs_.size());
        if (outputs.empty())
            return false;
        const std::int32_t predicted = readLabel(outputs[0]);
        double positive = predicted == 1 ? 1.0 : 0.0;
        if (outputs.size() >= 2 && outputs[1].IsTensor()) {
            const Ort::TensorTypeAndShapeInfo info = outputs[1].GetTensorTypeAndShapeInfo();
            if (info.GetElementType() != ONNX_TENSOR_ELEMENT_DATA_TYPE_FLOAT || info.GetElementCount() < 2)
                throw std::runtime_error("output 1 is not a float tensor of two class probabilities");
            positive = outputs[1].GetTensorData<float>()[1];
        }
        label = predicted;
        probability = positive;
        return true;
    } catch (const std::exception& e) {
        std::cerr << "[ERROR] Prediction failed: " << e.what() << '\n';
        return false;
    }
}

double positiveProbability(RPE_ONNX_Predictor& predictor, std::span<const double> features) {
    std::int32_t label = 0;
    double probability = 0.0;
    predictor.predict(features, label, probability);
    return probability;
}

}  // namespace rallinox
