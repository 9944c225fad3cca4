// Tuning record of the analysis engine. Every threshold of every stage lives
// here with its fixed default; pixel limits are scaled by the analysis size
// where the stage says so.
#pragma once

namespace rallinox {

struct EngineParams {
    // --- driver ---

    // --- stage 1: motion detection ---

    // --- ball tracking, retracking and splitting ---

    // --- track features and culling ---

    // --- track classifier ---

    // --- ball track improvement ---

    // --- window features ---

    // --- action model ---

    // --- rally segmentation, post-processing and review hints ---
};

}  // namespace rallinox
