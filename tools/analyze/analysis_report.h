// How rallinox-analyze shows a finished analysis.
#pragma once

#include "app/core/json.h"
#include "engine/analysis.h"

#include <string>

namespace rallinox {

// Everything that follows from the video alone, so two runs on the same file
// give the same document; wall-clock timings are left out.
JsonValue analysisToJson(const AnalysisResult& result, const AnalysisRequest& request, const std::string& fileName);

// A readable list of the rallies and hints, one per line.
std::string analysisToText(const AnalysisResult& result);

}  // namespace rallinox
