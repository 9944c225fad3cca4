// The model sessions of one analysis, loaded from the embedded containers.
#pragma once

#include "engine/action_model.h"
#include "engine/onnx_predictor.h"
#include "engine/track_classifier.h"

#include <string>

namespace rallinox {

struct AnalysisModels {
    TrackClassifier trackClassifier;
    RPE_ONNX_Predictor stage7Predictor;  // the track model again, for ball track improvement
    ActionModel actionModel;
    bool trackModelsLoaded = false;
};

// Decrypts MODEL_TRACK and MODEL_ACTION and starts their sessions; the
// decrypted bytes are wiped before returning. On failure `error` holds the
// message for the user.
bool loadModels(AnalysisModels& models, std::string& error);

}  // namespace rallinox
