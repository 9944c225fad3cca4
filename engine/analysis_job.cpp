#include "engine/analysis_job.h"

#include "app/core/log.h"

#include <cstdio>
#include <exception>

namespace rallinox {

namespace {

std::string doneLine(const AnalysisResult& result) {
    char seconds[64];
    std::snprintf(seconds, sizeof seconds, "%f", result.totalSec);
    return "analysis done: " + std::to_string(result.rallies.size()) + " rallies in " + seconds + " s";
}

}  // namespace

AnalysisResult analysisJobBody(const AnalysisRequest& request, AnalysisProgress& progress) {
    AnalysisResult result;
    try {
        result = runAnalysis(request, progress);
        if (result.ok) logInfo(doneLine(result));
    } catch (const std::exception& failure) {
        result = AnalysisResult();
        result.error = std::string("The analysis stopped unexpectedly: ") + failure.what();
    } catch (...) {
        result = AnalysisResult();
        result.error = "The analysis stopped unexpectedly.";
    }
    if (!result.ok && !result.cancelled) logError("analysis failed: " + result.error);
    return result;
}

}  // namespace rallinox
