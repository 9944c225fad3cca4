#include "tools/analyze/analysis_report.h"

#include <cstdio>

#include "edit/rally_queries.h"

namespace rallinox {

namespace {

std::string clock(double seconds) {
    const long long tenths = static_cast<long long>(seconds * 10 + 0.5);
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld.%lld", tenths / 600, tenths / 10 % 60, tenths % 10);
    return text;
}

}  // namespace

JsonValue analysisToJson(const AnalysisResult& result, const AnalysisRequest& request, const std::string& fileName) {
    JsonValue doc;
    JsonValue& video = doc.set("video");
    video.set("file") = fileName;
    video.set("width") = result.video.width;
    video.set("height") = result.video.height;
    video.set("fps") = result.video.fps;
    video.set("durationSec") = result.video.durationSec;
    video.set("readSec") = result.readSec;
    if (!result.warning.empty()) doc.set("warning") = result.warning;

    JsonValue& settings = doc.set("settings");
    settings.set("startPaddingSec") = request.startPaddingSec;
    settings.set("endPaddingSec") = request.endPaddingSec;
    settings.set("minRallySec") = request.minRallySec;

    JsonValue& rallies = doc.set("rallies");
    rallies = JsonValue::emptyArray();
    for (const AnalysisRally& rally : result.rallies) {
        JsonValue item;
        item.set("startSec") = rally.startSec;
        item.set("endSec") = rally.endSec;
        item.set("startPadSec") = rally.startPadSec;
        item.set("endPadSec") = rally.endPadSec;
        rallies.push(item);
    }
    JsonValue& hints = doc.set("hints");
    hints = JsonValue::emptyArray();
    for (const AnalysisHint& hint : result.hints) {
        JsonValue item;
        item.set("kind") = hintKindName(hint.kind);
        item.set("startSec") = hint.startSec;
        item.set("endSec") = hint.endSec;
        item.set("atSec") = hint.atSec;
        hints.push(item);
    }
    JsonValue& stats = doc.set("stats");
    stats.set("frames") = result.frames;
    stats.set("decoder") = result.decoder;
    stats.set("rallies") = static_cast<int64_t>(result.rallies.size());
    stats.set("hints") = static_cast<int64_t>(result.hints.size());
    return doc;
}

std::string analysisToText(const AnalysisResult& result) {
    std::string text;
    char line[160];
    for (size_t i = 0; i < result.rallies.size(); ++i) {
        const AnalysisRally& rally = result.rallies[i];
        std::snprintf(line, sizeof line, "Rally %zu  %s - %s  (%.1f s)\n", i + 1, clock(rally.startSec).c_str(),
                      clock(rally.endSec).c_str(), rally.endSec - rally.startSec);
        text += line;
    }
    for (const AnalysisHint& hint : result.hints) {
        std::snprintf(line, sizeof line, "To check: %s  %s - %s\n", hintKindName(hint.kind),
                      clock(hint.startSec).c_str(), clock(hint.endSec).c_str());
        text += line;
    }
    std::snprintf(line, sizeof line, "%s, %zu to check, %lld frames analysed\n",
                  rallyCount(result.rallies.size()).c_str(), result.hints.size(),
                  static_cast<long long>(result.frames));
    text += line;
    if (!result.warning.empty()) text += result.warning + "\n";
    return text;
}

}  // namespace rallinox
