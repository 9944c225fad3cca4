// The per-track and per-window feature tables of one analysis, as CSV files
// for training the models.
#pragma once

#include "engine/analysis.h"

#include <filesystem>
#include <string>

namespace rallinox {

// Writes tracks.csv, windows.csv, candidates.csv (stage-1 blobs),
// detections.csv (boxes of the described tracks), balls.csv (boxes of the
// ball tracks) and analysis.csv (frame step, analysis size and rates, so that
// analysed frames map back to video time) into `folder`,
// creating it when needed. False with `error` set when a file cannot be written.
bool writeFeatureTables(const std::filesystem::path& folder, const AnalysisFeatures& features,
                        const VideoInfo& video, std::string& error);

}  // namespace rallinox
