// What an analysis job's thread runs: the analysis, with every failure turned
// into a message for the user and the outcome written to the log.
#pragma once

#include "engine/analysis.h"

namespace rallinox {

// Never throws. The caller hands the result to the GUI thread under its job
// lock and keeps the system awake meanwhile. A cancelled analysis logs nothing.
AnalysisResult analysisJobBody(const AnalysisRequest& request, AnalysisProgress& progress);

}  // namespace rallinox
