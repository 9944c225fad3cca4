#include "app/core/project_store.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

#include "app/core/file_io.h"
#include "app/core/json.h"
#include "app/core/log.h"
#include "app/core/project_repair.h"

namespace rallinox {

namespace fs = std::filesystem;

namespace {

int64_t systemMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

bool existsAtAll(const fs::path& path) {
    std::error_code ignored;
    return fs::exists(fs::symlink_status(path, ignored));
}

// Errors after which removing the folder again may succeed: something was
// added to it meanwhile, or a file was briefly held by another program.
bool worthRetrying(const std::error_code& error) {
    return error == std::errc::directory_not_empty || error == std::errc::permission_denied ||
           error == std::errc::device_or_resource_busy;
}

}  // namespace

bool isSafeProjectId(const std::string& id) {
    return !id.empty() && id.find_first_of("/\\.") == std::string::npos;
}

ProjectStore::ProjectStore(fs::path projectsDir) : ProjectStore(std::move(projectsDir), systemMilliseconds) {}

ProjectStore::ProjectStore(fs::path projectsDir, Clock clock)
    : projectsDir_(std::move(projectsDir)), clock_(std::move(clock)) {}

fs::path ProjectStore::projectDir(const std::string& id) const { return projectsDir_ / id; }

fs::path ProjectStore::projectFile(const std::string& id) const { return projectDir(id) / "project.json"; }

fs::path ProjectStore::thumbnailFile(const std::string& id) const { return projectDir(id) / "thumb.jpg"; }

Project ProjectStore::create(const std::string& videoPath) const {
    Project project;
    // One clock reading for both, so the id and the creation time agree.
    const int64_t nowMs = clock_();
    project.createdUnix = nowMs / 1000;
    const std::string base = "p" + std::to_string(nowMs);
    project.id = base;
    for (int suffix = 2; existsAtAll(projectDir(project.id)); ++suffix) {
        project.id = base + "_" + std::to_string(suffix);
    }
    project.videoPath = videoPath;
    project.name = fs::path(videoPath).stem().string();
    return project;
}

ProjectList ProjectStore::list() const {
    ProjectList result;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(projectsDir_, error)) {
        std::error_code typeError;
        if (!entry.is_directory(typeError)) continue;
        const std::string id = entry.path().filename().string();
        if (std::optional<Project> project = load(id)) {
            result.projects.push_back(std::move(*project));
        } else {
            result.errors.push_back("Could not read project " + id);
        }
    }
    std::stable_sort(result.projects.begin(), result.projects.end(),
                     [](const Project& a, const Project& b) { return a.createdUnix > b.createdUnix; });
    return result;
}

std::optional<Project> ProjectStore::load(const std::string& id) const {
    if (!isSafeProjectId(id)) return std::nullopt;
    const std::optional<std::string> text = readWholeFile(projectFile(id));
    if (!text) return std::nullopt;
    Project project;
    try {
        project = projectFromJson(JsonValue::parse(*text));
    } catch (const std::exception&) {
        return std::nullopt;
    }
    project.id = id;
    // The file stays as it is until the user's next change saves the repair.
    const std::vector<std::string> repairs = repairProject(project);
    if (!repairs.empty()) {
        std::string line = "project " + id + " repaired on load:";
        for (const std::string& repair : repairs) line += " " + repair + ";";
        line.pop_back();
        logError(line);
    }
    return project;
}

SaveResult ProjectStore::save(const Project& project) const {
    const fs::path file = projectFile(project.id);
    const fs::path temp = temporaryFileFor(file);
    if (!isSafeProjectId(project.id)) return {false, "Cannot write " + temp.string()};
    std::error_code ignored;
    fs::create_directories(projectDir(project.id), ignored);
    std::string why;
    switch (replaceWholeFile(file, projectToJson(project).dump(2), &why)) {
        case WriteStatus::CannotOpen: return {false, "Cannot write " + temp.string()};
        case WriteStatus::WriteFailed: return {false, "Disk full or write error while saving the project"};
        case WriteStatus::RenameFailed: return {false, "Cannot replace project file: " + why};
        case WriteStatus::Ok: break;
    }
    return {};
}

bool ProjectStore::remove(const std::string& id) const {
    if (!isSafeProjectId(id)) return false;
    const fs::path folder = projectDir(id);
    constexpr int kAttempts = 10;
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        std::error_code error;
        fs::remove_all(folder, error);
        if (!error || !worthRetrying(error)) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return !existsAtAll(folder);
}

}  // namespace rallinox
