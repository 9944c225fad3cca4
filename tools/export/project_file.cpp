#include "tools/export/project_file.h"

#include <exception>
#include <filesystem>

#include "app/core/file_io.h"
#include "app/core/json.h"
#include "app/core/project_repair.h"

namespace rallinox {

namespace fs = std::filesystem;

LoadedProject loadProjectFile(const std::string& folderOrFile) {
    std::error_code ignored;
    const fs::path file = fs::is_directory(folderOrFile, ignored) ? fs::path(folderOrFile) / "project.json"
                                                                  : fs::path(folderOrFile);
    if (!fs::exists(file, ignored)) return {std::nullopt, "No project found at " + file.string()};
    const std::optional<std::string> text = readWholeFile(file);
    if (!text) return {std::nullopt, "Cannot read the project file " + file.string()};
    const std::string damaged = "The project file " + file.string() + " is damaged or not a Rallinox project.";
    Project project;
    try {
        project = projectFromJson(JsonValue::parse(*text));
    } catch (const std::exception&) {
        return {std::nullopt, damaged};
    }
    if (project.videoPath.empty()) return {std::nullopt, damaged};
    // As the window reads it: sorted, without overlaps, every time inside the video.
    repairProject(project);
    return {std::move(project), ""};
}

}  // namespace rallinox
