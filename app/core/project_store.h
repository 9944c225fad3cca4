// Projects on disk: one folder per project under the projects folder, each
// holding "project.json" and, once made, the card picture "thumb.jpg".
// The store keeps no cache; the GUI thread is the only writer.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/core/project.h"

namespace rallinox {

struct ProjectList {
    std::vector<Project> projects;    // newest first
    std::vector<std::string> errors;  // "Could not read project <id>" per unreadable folder
};

struct SaveResult {
    bool ok = true;
    std::string message;  // for the user when !ok

    explicit operator bool() const { return ok; }
};

// Ids name folders, so only plain folder names are accepted: not empty, no
// "/", "\\" or ".".
bool isSafeProjectId(const std::string& id);

class ProjectStore {
public:
    // Milliseconds since 1970-01-01 UTC.
    using Clock = std::function<int64_t()>;

    explicit ProjectStore(std::filesystem::path projectsDir);
    // The clock is replaceable so that ids made within one millisecond can be tested.
    ProjectStore(std::filesystem::path projectsDir, Clock clock);

    const std::filesystem::path& projectsDir() const { return projectsDir_; }
    std::filesystem::path projectDir(const std::string& id) const;
    std::filesystem::path projectFile(const std::string& id) const;
    std::filesystem::path thumbnailFile(const std::string& id) const;

    // A new, unsaved project for the video with a fresh id and the file's stem as name.
    Project create(const std::string& videoPath) const;
    ProjectList list() const;
    // Nothing when the file cannot be read or parsed. The id is always the folder's name.
    std::optional<Project> load(const std::string& id) const;
    // Replaces project.json atomically; on failure the previous file is untouched.
    SaveResult save(const Project& project) const;
    // Deletes the project folder; true when nothing of it is left.
    bool remove(const std::string& id) const;

private:
    std::filesystem::path projectsDir_;
    Clock clock_;
};

}  // namespace rallinox
