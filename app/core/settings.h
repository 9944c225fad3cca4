// The user's choices that outlive a project, stored in "settings.json".
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace rallinox {

struct Settings {
    double startPaddingSec = 1.5;
    double endPaddingSec = 3.0;
    double minRallySec = 1.5;
    std::string exportDir;  // empty: the default export folder
    bool writeEdl = false;
    bool includeAudio = true;
    bool boardEnabled = true;
    int32_t boardStyle = 0;     // 0 "Two rows (TV)", 1 "One bar"
    int32_t boardPosition = 0;  // 0 "Top left", 1 "Top right", 2 "Bottom left"
    int32_t boardTiming = 0;    // 0 "Whole rally", 1 "Start and end"
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
