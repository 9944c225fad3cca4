#include <gtest/gtest.h>

#include "truth.h"

using namespace rallinox::synth;

TEST(TruthJson, HoldsSetupRalliesAndOneBallEntryPerFrame) {
    GroundTruth truth;
    truth.width = 1280;
    truth.height = 720;
    truth.fps = 30;
    truth.view = "side";
    truth.reach = "close";
    truth.seed = 9;
    truth.rallies = {{10.25, 15.5}, {50.0, 53.125}};
    truth.retrievals = {{15.5, 19.0}};
    truth.ball = {BallTruth{12.5, 40.0, 3.25}, std::nullopt, BallTruth{13.0, 41.04, 3.3}};
    const std::string json = toJson(truth);
    EXPECT_NE(json.find("\"width\": 1280"), std::string::npos);
    EXPECT_NE(json.find("\"fps\": 30.000"), std::string::npos);
    EXPECT_NE(json.find("\"frameCount\": 3"), std::string::npos);
    EXPECT_NE(json.find("\"view\": \"side\""), std::string::npos);
    EXPECT_NE(json.find("{\"startSec\": 10.250, \"endSec\": 15.500}"), std::string::npos);
    EXPECT_NE(json.find("{\"startSec\": 50.000, \"endSec\": 53.125}"), std::string::npos);
    EXPECT_NE(json.find("\"reach\": \"close\""), std::string::npos);
    EXPECT_NE(json.find("\"warmups\": []"), std::string::npos);
    EXPECT_NE(json.find("\"retrievals\": [\n    {\"startSec\": 15.500, \"endSec\": 19.000}"), std::string::npos);
    EXPECT_NE(json.find("\"serveBounces\": []"), std::string::npos);
    EXPECT_NE(json.find("[12.5,40.0,3.25],null,[13.0,41.0,3.30]"), std::string::npos);
}
