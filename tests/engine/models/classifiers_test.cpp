#include "engine/analysis_models.h"
#include "engine/track_features.h"
#include "engine/window_features.h"

#include "test_files.h"

#include <gtest/gtest.h>

#include <set>

namespace rallinox {
namespace {

// The names, in order, of one list in the training tool's contract.py.
std::vector<std::string> trainerNames(const std::string& list) {
    const std::vector<std::uint8_t> bytes = test::readSourceFile("tools/train/contract.py");
    const std::string text(bytes.begin(), bytes.end());
    const std::size_t begin = text.find(list + " = [");
    const std::size_t end = text.find(']', begin);
    EXPECT_NE(begin, std::string::npos) << list;
    const std::string body = text.substr(begin, end - begin);
    std::vector<std::string> names;
    for (std::size_t open = body.find('"'); open != std::string::npos; open = body.find('"', open)) {
        const std::size_t close = body.find('"', open + 1);
        names.push_back(body.substr(open + 1, close - open - 1));
        open = close + 1;
    }
    return names;
}

template <std::size_t N>
std::vector<std::string> asStrings(const std::array<const char*, N>& names) {
    return {names.begin(), names.end()};
}

TEST(FeatureContract, TrainerUsesTheEnginesOrder) {
    EXPECT_EQ(trainerNames("TRACK_FEATURES"), asStrings(trackFeatureNames()));
    EXPECT_EQ(trainerNames("WINDOW_FEATURES"), asStrings(windowFeatureNames()));
}

TEST(FeatureContract, NamesAreUniqueAndFollowTheModelOrder) {
    const auto& track = trackFeatureNames();
    EXPECT_EQ(std::set<std::string>(track.begin(), track.end()).size(), 65u);
    EXPECT_STREQ(track.front(), "Duration");
    EXPECT_STREQ(track[58], "Heading_Spikes");  // before Rms_Angular_Change, unlike the record
    EXPECT_STREQ(track[59], "Rms_Angular_Change");
    EXPECT_STREQ(track.back(), "Interpolation_Ratio");

    const auto& window = windowFeatureNames();
    EXPECT_EQ(std::set<std::string>(window.begin(), window.end()).size(), 22u);
    EXPECT_STREQ(window.front(), "Is_Ball_Active");
    EXPECT_STREQ(window.back(), "Window2s_Max_Y_Disp");
}

TEST(FeatureContract, VectorsReadTheNamedFields) {
    TrackFeatures track;
    track.trackId = 99;
    track.startFrame = 10;
    track.meanAboveRatio = 0.4;  // not a model input
    track.Duration = 12;
    track.Heading_Spikes = 3;
    track.Rms_Angular_Change = 0.25;
    track.Interpolation_Ratio = 0.5;
    const std::vector<double> trackValues = trackFeatureVector(track);
    ASSERT_EQ(trackValues.size(), 65u);
    EXPECT_EQ(trackValues[0], 12.0);
    EXPECT_EQ(trackValues[58], 3.0);
    EXPECT_EQ(trackValues[59], 0.25);
    EXPECT_EQ(trackValues[64], 0.5);
    EXPECT_EQ(std::count(trackValues.begin(), trackValues.end(), 0.0), 61);

    WindowFeatures window;  // no ball: the run values default to -1
    window.frame = 35;
    window.Window2s_Max_Y_Disp = 0.125;
    const std::vector<double> windowValues = windowFeatureVector(window);
    ASSERT_EQ(windowValues.size(), 22u);
    EXPECT_EQ(windowValues[5], -1.0);   // Time_Since_Prev_Run
    EXPECT_EQ(windowValues[13], -1.0);  // Run_Start_Upward
    EXPECT_EQ(windowValues[21], 0.125);
}

class ShippedModels : public testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(loadModels(models, error)) << error;
        EXPECT_TRUE(models.trackModelsLoaded);
        EXPECT_TRUE(models.stage7Predictor.loaded());
    }
    AnalysisModels models;
};

std::vector<TrackFeatures> someTracks() {
    std::vector<TrackFeatures> tracks(3);
    tracks[1].Duration = 40;
    tracks[1].Mean_W = 1.0;
    tracks[1].Mean_Speed = 1.8;
    tracks[2].Duration = 300;
    tracks[2].Mean_W = 5.0;
    tracks[2].Std_Speed = -1e30;  // out of any range the model saw
    return tracks;
}

TEST_F(ShippedModels, TrackClassifierGivesOneProbabilityPerRecord) {
    const std::vector<double> probabilities = models.trackClassifier.predictInMemory(someTracks());
    ASSERT_EQ(probabilities.size(), 3u);
    for (const double p : probabilities) {
        EXPECT_GE(p, 0.0);
        EXPECT_LE(p, 1.0);
    }
    EXPECT_TRUE(models.trackClassifier.predictInMemory({}).empty());
}

TEST_F(ShippedModels, ActionModelGivesOneProbabilityPerWindow) {
    std::vector<WindowFeatures> windows(4);
    windows[1].Is_Ball_Active = 1;
    windows[1].Inside_Run = 1;
    windows[1].Window2s_Ball_Ratio = 0.9;
    windows[3].Gap_Duration = 1e9;
    const std::vector<double> probabilities = models.actionModel.predictPlay(windows);
    ASSERT_EQ(probabilities.size(), 4u);
    for (const double p : probabilities) {
        EXPECT_GE(p, 0.0);
        EXPECT_LE(p, 1.0);
    }
    EXPECT_TRUE(models.actionModel.predictPlay({}).empty());
}

TEST(UnloadedModels, AnswerNothingAndSayWhy) {
    AnalysisModels models;

    testing::internal::CaptureStderr();
    EXPECT_TRUE(models.trackClassifier.predictInMemory(someTracks()).empty());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "[ERROR] TrackClassifier: Model not loaded, cannot run predictInMemory.\n");

    testing::internal::CaptureStderr();
    EXPECT_TRUE(models.actionModel.predictPlay(std::vector<WindowFeatures>(2)).empty());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "[ERROR] RPE_CORE: CoreEngine: Action model not loaded, cannot run Stage 9 Prediction InMemory.\n");
}

}  // namespace
}  // namespace rallinox
