#include "export/export_plan.h"

#include <algorithm>
#include <filesystem>

#include "export/edl.h"
#include "export/fcpxml.h"
#include "export/otio_json.h"
#include "export/rally_table.h"
#include "export/timeline.h"
#include "export/xmeml.h"

namespace rallinox {
namespace {

// Well below the 255 bytes most file systems allow, with room for the number.
constexpr size_t kMaxNameBytes = 120;

size_t positionOf(const Project& project, int64_t id) {
    const auto found = std::find_if(project.rallies.begin(), project.rallies.end(),
                                    [id](const Rally& rally) { return rally.id == id; });
    return size_t(found - project.rallies.begin());
}

std::string safeFileName(const std::string& name) {
    std::string safe;
    for (const char c : name) {
        const bool refused = static_cast<unsigned char>(c) < 0x20 || std::string("/\\:*?\"<>|").find(c) != std::string::npos;
        safe += refused ? '-' : c;
    }
    if (safe.size() > kMaxNameBytes) {
        size_t cut = kMaxNameBytes;
        while (cut > 0 && (static_cast<unsigned char>(safe[cut]) & 0xC0) == 0x80) --cut;  // not inside a character
        safe.resize(cut);
    }
    // Trailing dots and blanks vanish on some file systems; leading dots hide the file.
    const size_t last = safe.find_last_not_of(". ");
    safe.resize(last == std::string::npos ? 0 : last + 1);
    const size_t first = safe.find_first_not_of(". ");
    return first == std::string::npos ? std::string() : safe.substr(first);
}

std::string timelineText(TimelineFormat format, const Timeline& timeline) {
    switch (format) {
    case TimelineFormat::Fcpxml: return fcpxmlText(timeline);
    case TimelineFormat::Xmeml: return xmemlText(timeline);
    case TimelineFormat::Otio: break;
    }
    return otioText(timeline);
}

std::vector<BoardClip> chosenBoards(const Project& project, const std::vector<Rally>& chosen, bool shown,
                                    const Settings& settings) {
    Settings look = settings;
    look.boardEnabled = shown;
    const std::vector<BoardClip> all = boardClips(project.rallies, project.match, look, project.settings);
    std::vector<BoardClip> boards;
    if (all.empty()) return boards;
    for (const Rally& rally : chosen) {
        const size_t position = positionOf(project, rally.id);
        boards.push_back(position < all.size() ? all[position] : BoardClip{});
    }
    return boards;
}

}  // namespace

const char* timelineExtension(TimelineFormat format) {
    switch (format) {
    case TimelineFormat::Fcpxml: return ".fcpxml";
    case TimelineFormat::Xmeml: return ".xml";
    case TimelineFormat::Otio: break;
    }
    return ".otio";
}

std::string eachRallyFileName(const std::string& rallyName, size_t index, size_t count) {
    const size_t digits = std::max<size_t>(2, std::to_string(count).size());
    std::string number = std::to_string(index + 1);
    number.insert(0, digits - std::min(digits, number.size()), '0');
    const std::string name = safeFileName(rallyName);
    return number + (name.empty() ? "" : " " + name) + ".mp4";
}

ExportRequest planExport(const Project& project, const std::vector<Rally>& chosen, const ExportOptions& options,
                         const Settings& settings) {
    ExportRequest request;
    request.sourcePath = project.videoPath;
    request.outputPath = options.outputPath;
    request.title = project.name;
    request.fps = project.videoFps;
    request.rallies = chosen;
    request.keepSound = options.keepSound;
    request.fast = options.fast;
    // The EDL describes the one MP4; single rally files need none.
    if (options.edl && !options.outputPath.empty()) request.edlPath = edlPathFor(options.outputPath);
    if (!options.eachDir.empty()) {
        for (size_t index = 0; index < chosen.size(); ++index) {
            const std::string name = rallyDisplayName(chosen[index], positionOf(project, chosen[index].id));
            request.eachPaths.push_back(
                (std::filesystem::path(options.eachDir) / eachRallyFileName(name, index, chosen.size())).string());
        }
    }
    if (!options.csvPath.empty()) request.textFiles.push_back({options.csvPath, rallyTableCsv(project, chosen)});
    if (!options.timelines.empty()) {
        const Timeline timeline = timelineOf(project, chosen);
        for (const auto& [format, path] : options.timelines)
            request.textFiles.push_back({path, timelineText(format, timeline)});
    }
    request.boards = chosenBoards(project, chosen, options.scoreboard, settings);
    return request;
}

}  // namespace rallinox
