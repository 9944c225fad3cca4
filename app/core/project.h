// In-memory records of one match project and their conversion to project.json.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rallinox {

class JsonValue;

enum class ProjectState : int { New = 0, Analysing = 1, Ready = 2, Failed = 3 };
// The places the analysis asks the user to check; the engine proposes them.
enum class HintKind : int { Missed = 0, Doubtful = 1, Joined = 2 };
enum class Winner : int { None = 0, Home = 1, Away = 2 };

struct Rally {
    int64_t id = 0;
    double startSec = 0;
    double endSec = 0;
    std::string name;
    std::string source;  // "" analysis, "manual" added by the user, "split" second half of a split
    bool selected = true;
    Winner winner = Winner::None;
    bool setStart = false;

    bool operator==(const Rally&) const = default;
};

struct ReviewHint {
    HintKind kind = HintKind::Missed;
    double startSec = 0;
    double endSec = 0;
    double pauseSec = 0;
    bool done = false;

    bool operator==(const ReviewHint&) const = default;
};

struct MatchSetup {
    std::string homeName = "Home";
    std::string awayName = "Away";
    int32_t bestOf = 5;
    int32_t setPoints = 25;
    int32_t decidingSetPoints = 15;
    int32_t winBy = 2;
    bool homeOnLeft = true;

    bool operator==(const MatchSetup&) const = default;
};

struct AnalysisStats {
    double totalSec = 0;
    double stage1Sec = 0;
    int32_t frames = 0;
    double stage1Fps = 0;
    double realtimeX = 0;
    std::string decoder;

    bool operator==(const AnalysisStats&) const = default;
};

struct ProjectSettings {
    double startPaddingSec = 1.5;
    double endPaddingSec = 3.0;
    double minRallySec = 1.5;

    bool operator==(const ProjectSettings&) const = default;
};

struct Project {
    std::string id;
    std::string name;
    std::string videoPath;
    double videoDurationSec = 0;
    double videoFps = 0;
    int32_t videoWidth = 0;
    int32_t videoHeight = 0;
    int64_t createdUnix = 0;
    ProjectState state = ProjectState::New;
    ProjectSettings settings;
    std::vector<Rally> rallies;  // sorted by startSec
    std::vector<ReviewHint> hints;
    AnalysisStats stats;
    MatchSetup match;
    int64_t nextRallyId = 1;

    bool operator==(const Project&) const = default;
};

JsonValue projectToJson(const Project& project);
// Reads the document as it is, missing and mistyped keys taking their
// defaults; repairProject makes its times and ids safe to use.
Project projectFromJson(const JsonValue& doc);

const char* stateName(ProjectState state);
// "missed", "doubtful", "joined": the kind as the project file and the
// command-line report spell it; unknown names read as missed.
const char* hintKindName(HintKind kind);
HintKind hintKindFromName(const std::string& name);
ProjectState stateFromName(const std::string& name);

// "Rally N" (1-based position) when the user gave no name.
std::string rallyDisplayName(const Rally& rally, size_t position);
// End minus start; 0 for a rally whose end lies before its start.
double rallyLengthSec(const Rally& rally);
// Whether the user has recorded the winner of at least one rally.
bool anyRallyScored(const std::vector<Rally>& rallies);

}  // namespace rallinox
