#include "engine/analysis_models.h"

#include "engine/embedded_models.h"

#include <openssl/crypto.h>

#include <cstdint>
#include <vector>

namespace rallinox {
namespace {

// A decrypted model that is wiped however the loading ends.
struct PlainModel {
    std::vector<std::uint8_t> bytes;
    ~PlainModel() { OPENSSL_cleanse(bytes.data(), bytes.size()); }
};

}  // namespace

bool loadModels(AnalysisModels& models, std::string& error) {
    PlainModel track;
    PlainModel action;
    if (!decryptModel("MODEL_TRACK", track.bytes, error) || !decryptModel("MODEL_ACTION", action.bytes, error))
        return false;
    models.trackModelsLoaded = models.stage7Predictor.loadMemory(track.bytes.data(), track.bytes.size()) &&
                               models.trackClassifier.loadMemory(track.bytes.data(), track.bytes.size());
    if (!models.trackModelsLoaded || !models.actionModel.loadMemory(action.bytes.data(), action.bytes.size())) {
        error = "The analysis models could not be started. Please reinstall Rallinox.";
        return false;
    }
    return true;
}

}  // namespace rallinox
