#include "app/core/project.h"

#include <algorithm>
#include <limits>

#include "app/core/json.h"

namespace rallinox {

namespace {

// Hand-edited files may hold numbers beyond 32 bits; they saturate rather than wrap.
int32_t asInt32(const JsonValue& value, int32_t fallback) {
    constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::clamp(value.asInt(fallback), kMin, kMax));
}

int32_t clampedInt32(const JsonValue& value, int32_t fallback, int32_t low, int32_t high) {
    return std::clamp(asInt32(value, fallback), low, high);
}

const char* winnerName(Winner winner) {
    switch (winner) {
        case Winner::Home: return "home";
        case Winner::Away: return "away";
        case Winner::None: break;
    }
    return "";
}

Winner winnerFromName(const std::string& name) {
    if (name == "home") return Winner::Home;
    if (name == "away") return Winner::Away;
    return Winner::None;
}

JsonValue rallyToJson(const Rally& rally) {
    JsonValue out;
    out.set("id") = rally.id;
    out.set("startSec") = rally.startSec;
    out.set("endSec") = rally.endSec;
    out.set("name") = rally.name;
    out.set("source") = rally.source;
    out.set("selected") = rally.selected;
    if (rally.winner != Winner::None) out.set("winner") = winnerName(rally.winner);
    if (rally.setStart) out.set("setStart") = true;
    return out;
}

Rally rallyFromJson(const JsonValue& in, size_t position) {
    Rally rally;
    rally.id = in.get("id").asInt(static_cast<int64_t>(position) + 1);
    rally.startSec = in.get("startSec").asNumber(0);
    rally.endSec = in.get("endSec").asNumber(0);
    rally.name = in.get("name").asString("");
    rally.source = in.get("source").asString("");
    rally.selected = in.get("selected").asBool(true);
    rally.winner = winnerFromName(in.get("winner").asString(""));
    rally.setStart = in.get("setStart").asBool(false);
    return rally;
}

JsonValue hintToJson(const ReviewHint& hint) {
    JsonValue out;
    out.set("kind") = hintKindName(hint.kind);
    out.set("startSec") = hint.startSec;
    out.set("endSec") = hint.endSec;
    out.set("pauseSec") = hint.pauseSec;
    out.set("done") = hint.done;
    return out;
}

ReviewHint hintFromJson(const JsonValue& in) {
    ReviewHint hint;
    hint.kind = hintKindFromName(in.get("kind").asString(""));
    hint.startSec = in.get("startSec").asNumber(0);
    hint.endSec = in.get("endSec").asNumber(0);
    hint.pauseSec = in.get("pauseSec").asNumber(0);
    hint.done = in.get("done").asBool(false);
    return hint;
}

JsonValue matchToJson(const MatchSetup& match) {
    JsonValue out;
    out.set("homeName") = match.homeName;
    out.set("awayName") = match.awayName;
    out.set("bestOf") = match.bestOf;
    out.set("setPoints") = match.setPoints;
    out.set("decidingSetPoints") = match.decidingSetPoints;
    out.set("winBy") = match.winBy;
    out.set("homeOnLeft") = match.homeOnLeft;
    return out;
}

MatchSetup matchFromJson(const JsonValue& in) {
    MatchSetup match;
    match.homeName = in.get("homeName").asString(match.homeName);
    match.awayName = in.get("awayName").asString(match.awayName);
    match.homeOnLeft = in.get("homeOnLeft").asBool(match.homeOnLeft);
    const int32_t bestOf = asInt32(in.get("bestOf"), match.bestOf);
    if (bestOf == 1 || bestOf == 3 || bestOf == 5) match.bestOf = bestOf;
    match.setPoints = clampedInt32(in.get("setPoints"), match.setPoints, 5, 50);
    match.decidingSetPoints = clampedInt32(in.get("decidingSetPoints"), match.decidingSetPoints, 5, 50);
    match.winBy = clampedInt32(in.get("winBy"), match.winBy, 1, 2);
    return match;
}

JsonValue statsToJson(const AnalysisStats& stats) {
    JsonValue out;
    out.set("totalSec") = stats.totalSec;
    out.set("stage1Sec") = stats.stage1Sec;
    out.set("frames") = stats.frames;
    out.set("stage1Fps") = stats.stage1Fps;
    out.set("realtimeX") = stats.realtimeX;
    out.set("decoder") = stats.decoder;
    return out;
}

AnalysisStats statsFromJson(const JsonValue& in) {
    AnalysisStats stats;
    stats.totalSec = in.get("totalSec").asNumber(0);
    stats.stage1Sec = in.get("stage1Sec").asNumber(0);
    stats.frames = asInt32(in.get("frames"), 0);
    stats.stage1Fps = in.get("stage1Fps").asNumber(0);
    stats.realtimeX = in.get("realtimeX").asNumber(0);
    stats.decoder = in.get("decoder").asString("");
    return stats;
}

JsonValue settingsToJson(const ProjectSettings& settings) {
    JsonValue out;
    out.set("startPaddingSec") = settings.startPaddingSec;
    out.set("endPaddingSec") = settings.endPaddingSec;
    out.set("minRallySec") = settings.minRallySec;
    return out;
}

ProjectSettings settingsFromJson(const JsonValue& in) {
    ProjectSettings settings;
    settings.startPaddingSec = in.get("startPaddingSec").asNumber(settings.startPaddingSec);
    settings.endPaddingSec = in.get("endPaddingSec").asNumber(settings.endPaddingSec);
    settings.minRallySec = in.get("minRallySec").asNumber(settings.minRallySec);
    return settings;
}

}  // namespace

JsonValue projectToJson(const Project& project) {
    JsonValue doc;
    doc.set("version") = 1;
    doc.set("id") = project.id;
    doc.set("name") = project.name;
    doc.set("videoPath") = project.videoPath;
    doc.set("videoDurationSec") = project.videoDurationSec;
    doc.set("videoFps") = project.videoFps;
    doc.set("videoWidth") = project.videoWidth;
    doc.set("videoHeight") = project.videoHeight;
    doc.set("createdUnix") = project.createdUnix;
    doc.set("state") = stateName(project.state);
    doc.set("nextRallyId") = project.nextRallyId;
    doc.set("settings") = settingsToJson(project.settings);
    JsonValue& rallies = doc.set("rallies") = JsonValue::emptyArray();
    for (const Rally& rally : project.rallies) rallies.push(rallyToJson(rally));
    JsonValue& hints = doc.set("hints") = JsonValue::emptyArray();
    for (const ReviewHint& hint : project.hints) hints.push(hintToJson(hint));
    doc.set("match") = matchToJson(project.match);
    if (project.stats.totalSec > 0) doc.set("stats") = statsToJson(project.stats);
    return doc;
}

Project projectFromJson(const JsonValue& doc) {
    Project project;
    project.id = doc.get("id").asString("");
    project.name = doc.get("name").asString("");
    project.videoPath = doc.get("videoPath").asString("");
    project.videoDurationSec = doc.get("videoDurationSec").asNumber(0);
    project.videoFps = doc.get("videoFps").asNumber(0);
    project.videoWidth = asInt32(doc.get("videoWidth"), 0);
    project.videoHeight = asInt32(doc.get("videoHeight"), 0);
    project.createdUnix = doc.get("createdUnix").asInt(0);
    // An analysis cannot have survived the program's end, so "analysing" reads as new.
    project.state = stateFromName(doc.get("state").asString(""));
    if (project.state == ProjectState::Analysing) project.state = ProjectState::New;
    project.settings = settingsFromJson(doc.get("settings"));

    const JsonValue& rallies = doc.get("rallies");
    for (size_t i = 0; i < rallies.size(); ++i) project.rallies.push_back(rallyFromJson(rallies.at(i), i));
    project.nextRallyId = doc.get("nextRallyId").asInt(1);

    project.stats = statsFromJson(doc.get("stats"));
    project.match = matchFromJson(doc.get("match"));
    const JsonValue& hints = doc.get("hints");
    for (size_t i = 0; i < hints.size(); ++i) project.hints.push_back(hintFromJson(hints.at(i)));
    return project;
}

const char* hintKindName(HintKind kind) {
    switch (kind) {
        case HintKind::Doubtful: return "doubtful";
        case HintKind::Joined: return "joined";
        case HintKind::Missed: break;
    }
    return "missed";
}

HintKind hintKindFromName(const std::string& name) {
    if (name == "doubtful") return HintKind::Doubtful;
    if (name == "joined") return HintKind::Joined;
    return HintKind::Missed;
}

const char* stateName(ProjectState state) {
    switch (state) {
        case ProjectState::Analysing: return "analysing";
        case ProjectState::Ready: return "ready";
        case ProjectState::Failed: return "failed";
        case ProjectState::New: break;
    }
    return "new";
}

ProjectState stateFromName(const std::string& name) {
    if (name == "analysing") return ProjectState::Analysing;
    if (name == "ready") return ProjectState::Ready;
    if (name == "failed") return ProjectState::Failed;
    return ProjectState::New;
}

std::string rallyDisplayName(const Rally& rally, size_t position) {
    if (!rally.name.empty()) return rally.name;
    return "Rally " + std::to_string(position + 1);
}

double rallyLengthSec(const Rally& rally) { return std::max(rally.endSec - rally.startSec, 0.0); }

bool anyRallyScored(const std::vector<Rally>& rallies) {
    return std::any_of(rallies.begin(), rallies.end(), [](const Rally& rally) { return rally.winner != Winner::None; });
}

}  // namespace rallinox
