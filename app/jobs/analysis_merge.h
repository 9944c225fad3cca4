// How a finished analysis becomes part of its project.
#pragma once

#include <cstddef>
#include <string>

#include "app/core/project.h"
#include "engine/analysis.h"

namespace rallinox {

// Takes over a successful result: rallies numbered from 1 and all chosen,
// the hints to check, the statistics, the video's length; the project
// becomes ready. The thumbnail is the caller's.
void mergeAnalysis(Project& project, const AnalysisResult& result);

// "Analysis finished: 42 rallies found, 3 to check"; the hints part only
// when there are hints, the result's warning after it when there is one.
std::string analysisFinishedText(size_t rallies, size_t hints, const std::string& warning = "");

// What the user reads when the finished result could not be saved: it is
// kept open and saved again at the next change.
std::string analysisNotSavedText(size_t rallies, const std::string& why);

}  // namespace rallinox
