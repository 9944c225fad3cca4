// The user's choices that outlive a project, stored in "settings.json".
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace rallinox {

// The scoreboard's look, corner and time on screen; settings.json keeps
// their numbers.
enum class BoardStyle : int32_t { TwoRows = 0, OneBar = 1 };
enum class BoardPosition : int32_t { TopLeft = 0, TopRight = 1, BottomLeft = 2 };
enum class BoardTiming : int32_t { WholeRally = 0, StartAndEnd = 1 };

struct Settings {
    double startPaddingSec = 1.5;
    double endPaddingSec = 3.0;
    double minRallySec = 1.5;
    std::string exportDir;  // empty: the default export folder
    bool writeEdl = false;
    bool includeAudio = true;
    bool boardEnabled = true;
    BoardStyle boardStyle = BoardStyle::TwoRows;
    BoardPosition boardPosition = BoardPosition::TopLeft;
    BoardTiming boardTiming = BoardTiming::WholeRally;
    bool decideByNextServe = false;

    // A missing file keeps the defaults silently; an unparseable one keeps
    // them and logs why.
    void load(const std::filesystem::path& settingsFile);
    // Replaces the file atomically, so that a crash leaves the old or the new
    // settings, never a cut file; returns false when it could not be written
    // (the values stay in memory and the old file is kept).
    bool save(const std::filesystem::path& settingsFile) const;

    bool operator==(const Settings&) const = default;
};

}  // namespace rallinox
