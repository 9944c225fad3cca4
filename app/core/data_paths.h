// Where the program keeps what it writes: one per-user data folder holding
// the projects, the settings and the log, plus the default export folder.
#pragma once

#include <filesystem>

namespace rallinox {

struct DataPaths {
    std::filesystem::path appDir;            // folder of the running executable
    std::filesystem::path dataDir;           // <XDG data home>/Rallinox
    std::filesystem::path projectsDir;       // dataDir/projects
    std::filesystem::path logFile;           // dataDir/rallinox.log
    std::filesystem::path settingsFile;      // dataDir/settings.json
    std::filesystem::path defaultExportDir;  // <XDG videos folder>/Rallinox

    // Reads the environment and creates projectsDir (a failure surfaces later,
    // when the store cannot write).
    static DataPaths compute();
};

}  // namespace rallinox
