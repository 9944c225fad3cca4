#include "engine/onnx_predictor.h"

#include "test_files.h"

#include <gtest/gtest.h>

namespace rallinox {
namespace {

// stump.onnx: feature 0 above 0.5 -> label 1, probability 0.75; else label 0, 0.
// label_only.onnx: the same model without its probability output.
void load(RPE_ONNX_Predictor& predictor, const char* name) {
    const std::vector<std::uint8_t> bytes = test::readSourceFile(std::string("tests/engine/models/data/") + name);
    ASSERT_FALSE(bytes.empty()) << name;
    ASSERT_TRUE(predictor.loadMemory(bytes.data(), bytes.size())) << name;
    EXPECT_TRUE(predictor.loaded());
}

void expectAnswer(RPE_ONNX_Predictor& predictor, std::vector<double> features, std::int32_t wantLabel,
                  double wantProbability) {
    std::int32_t label = -1;
    double probability = -1;
    ASSERT_TRUE(predictor.predict(features, label, probability));
    EXPECT_EQ(label, wantLabel);
    EXPECT_FLOAT_EQ(probability, wantProbability);
}

TEST(OnnxPredictor, ReadsLabelAndPositiveProbability) {
    RPE_ONNX_Predictor predictor;
    load(predictor, "stump.onnx");
    expectAnswer(predictor, {1.0, 0.0, 1.0}, 1, 0.75);
    expectAnswer(predictor, {0.2, 1.0, 1.0}, 0, 0.0);
}

TEST(OnnxPredictor, LabelOnlyModelGivesZeroOrOne) {
    RPE_ONNX_Predictor predictor;
    load(predictor, "label_only.onnx");
    expectAnswer(predictor, {1.0, 1.0, 0.0}, 1, 1.0);
    expectAnswer(predictor, {0.0, 1.0, 0.0}, 0, 0.0);
}

TEST(OnnxPredictor, WithoutModelNothingIsPredicted) {
    RPE_ONNX_Predictor predictor;
    EXPECT_FALSE(predictor.loaded());
    std::int32_t label = 5;
    double probability = 0.5;
    EXPECT_FALSE(predictor.predict(std::vector<double>{1.0, 0.0, 0.0}, label, probability));
    EXPECT_EQ(label, 5);
    EXPECT_EQ(probability, 0.5);
}

TEST(OnnxPredictor, RefusedModelLeavesNoSessionBehind) {
    RPE_ONNX_Predictor predictor;
    load(predictor, "stump.onnx");
    const std::string garbage = "this is not an ONNX model";

    testing::internal::CaptureStderr();
    EXPECT_FALSE(predictor.loadMemory(garbage.data(), garbage.size()));
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(errors.rfind("[ERROR] Failed to load ONNX model from memory: ", 0), 0u) << errors;

    EXPECT_FALSE(predictor.loaded());
    std::int32_t label = 0;
    double probability = 0;
    EXPECT_FALSE(predictor.predict(std::vector<double>{1.0, 0.0, 0.0}, label, probability));
}

TEST(OnnxPredictor, LoadingAgainReplacesTheModel) {
    RPE_ONNX_Predictor predictor;
    load(predictor, "stump.onnx");
    load(predictor, "label_only.onnx");
    expectAnswer(predictor, {1.0, 0.0, 0.0}, 1, 1.0);
}

TEST(OnnxPredictor, WrongFeatureCountFailsWithoutAnswer) {
    RPE_ONNX_Predictor predictor;
    load(predictor, "stump.onnx");
    std::int32_t label = 7;
    double probability = 0.25;

    testing::internal::CaptureStderr();
    EXPECT_FALSE(predictor.predict(std::vector<double>{1.0, 0.0}, label, probability));
    EXPECT_DOUBLE_EQ(positiveProbability(predictor, std::vector<double>{1.0, 0.0}), 0.0);
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(errors.rfind("[ERROR] Prediction failed: ", 0), 0u) << errors;
    EXPECT_NE(errors.find("\n[ERROR] Prediction failed: "), std::string::npos) << errors;
    EXPECT_EQ(label, 7);
    EXPECT_EQ(probability, 0.25);

    EXPECT_DOUBLE_EQ(positiveProbability(predictor, std::vector<double>{1.0, 0.0, 0.0}), 0.75);
}

}  // namespace
}  // namespace rallinox
