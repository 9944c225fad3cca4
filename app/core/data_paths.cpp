#include "app/core/data_paths.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace rallinox {

namespace fs = std::filesystem;

namespace {

// An environment variable holding an absolute path, else an empty path
// (relative values are invalid for the XDG variables and HOME alike).
fs::path absoluteFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (!value || value[0] != '/') return {};
    return fs::path(value);
}

fs::path executableFolder() {
    std::error_code error;
    fs::path exe = fs::read_symlink("/proc/self/exe", error);
    if (!error) return exe.parent_path();
    return fs::current_path(error);
}

// The user's data home (created if missing), or the temporary folder when
// there is none or it cannot be created.
fs::path dataHome() {
    fs::path base = absoluteFromEnvironment("XDG_DATA_HOME");
    const fs::path home = absoluteFromEnvironment("HOME");
    if (base.empty() && !home.empty()) base = home / ".local" / "share";
    std::error_code error;
    if (!base.empty()) {
        fs::create_directories(base, error);
        if (!error && fs::is_directory(base, error)) return base;
    }
    error.clear();
    fs::path temp = fs::temp_directory_path(error);
    return error ? fs::path("/tmp") : temp;
}

// The desktop's videos folder as `xdg-user-dir VIDEOS` reports it. That tool
// answers with the home folder itself when no videos folder is configured;
// ~/Videos is the usual default then. Empty when nothing can be found.
fs::path videosFolder() {
    const fs::path home = absoluteFromEnvironment("HOME");
    std::string answer;
    if (std::FILE* pipe = popen("xdg-user-dir VIDEOS 2>/dev/null", "re")) {
        char buffer[4096];
        while (std::fgets(buffer, sizeof buffer, pipe)) answer += buffer;
        pclose(pipe);
    }
    while (!answer.empty() && (answer.back() == '\n' || answer.back() == '/')) answer.pop_back();
    if (!answer.empty() && answer[0] == '/' && fs::path(answer) != home) return fs::path(answer);
    return home.empty() ? fs::path() : home / "Videos";
}

}  // namespace

DataPaths DataPaths::compute() {
    DataPaths paths;
    paths.appDir = executableFolder();
    paths.dataDir = dataHome() / "Rallinox";
    paths.projectsDir = paths.dataDir / "projects";
    paths.logFile = paths.dataDir / "rallinox.log";
    paths.settingsFile = paths.dataDir / "settings.json";
    const fs::path videos = videosFolder();
    paths.defaultExportDir = (videos.empty() ? paths.dataDir : videos) / "Rallinox";
    std::error_code ignored;
    fs::create_directories(paths.projectsDir, ignored);
    return paths;
}

}  // namespace rallinox
