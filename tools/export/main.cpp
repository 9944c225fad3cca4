// rallinox-export PROJECT [OUT.mp4] [options]
// The export of the window, without the window; see kExportUsage.
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <thread>

#include "app/core/data_paths.h"
#include "app/core/settings.h"
#include "edit/rally_queries.h"
#include "export/export_body.h"
#include "export/export_plan.h"
#include "tools/export/command_line.h"
#include "tools/export/project_file.h"
#include "video/ffmpeg_log.h"

namespace rallinox {
namespace {

namespace fs = std::filesystem;

constexpr int kFailed = 1;
constexpr int kUsageError = 2;
constexpr int kInterrupted = 130;

ExportProgress* runningExport = nullptr;

void askToStop(int) {
    if (runningExport) runningExport->cancel.store(true);
}

int fail(const std::string& message) {
    std::cerr << message << '\n';
    return kFailed;
}

// The rallies the command line names, in list order; an unknown id is an error.
std::optional<std::vector<Rally>> chooseRallies(const Project& project, const CommandLine& line, std::string& error) {
    if (line.rallyIds.empty())
        return chosenRallies(project, line.all ? ExportScope::All : ExportScope::Ticked, 0);
    for (const int64_t id : line.rallyIds) {
        if (std::none_of(project.rallies.begin(), project.rallies.end(), [id](const Rally& r) { return r.id == id; })) {
            error = "This project has no rally with id " + std::to_string(id) + ".";
            return std::nullopt;
        }
    }
    std::vector<Rally> chosen;
    for (const Rally& rally : project.rallies)
        if (std::find(line.rallyIds.begin(), line.rallyIds.end(), rally.id) != line.rallyIds.end())
            chosen.push_back(rally);
    return chosen;
}

// Creates the folder when needed; the message when nothing can be written there.
std::string checkFolder(const fs::path& folder) {
    if (folder.empty()) return {};
    std::error_code error;
    fs::create_directories(folder, error);
    if (!error && !fs::is_directory(folder, error)) error = std::make_error_code(std::errc::not_a_directory);
    if (!error && access(folder.c_str(), W_OK) != 0) error = std::error_code(errno, std::generic_category());
    if (!error) return {};
    return "Cannot write into the folder " + folder.string() + ": " + error.message();
}

std::string checkOutputFolders(const ExportRequest& request) {
    std::vector<fs::path> folders{fs::path(request.outputPath).parent_path(), fs::path(request.edlPath).parent_path()};
    for (const std::string& path : request.eachPaths) folders.push_back(fs::path(path).parent_path());
    for (const ExportTextFile& file : request.textFiles) folders.push_back(fs::path(file.path).parent_path());
    for (const fs::path& folder : folders)
        if (std::string error = checkFolder(folder); !error.empty()) return error;
    return {};
}

// Shows the progress until the export ends: one line rewritten on a
// terminal, a line per tenth otherwise.
void showProgress(const ExportRequest& request, const ExportProgress& progress, const std::atomic<bool>& done) {
    const bool terminal = isatty(STDERR_FILENO) != 0;
    const size_t files = videoFileCount(request);
    int shownTenth = -1;
    while (!done) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        const double percent = overallFraction(request, progress) * 100.0;
        const int file = std::min<int>(progress.currentFile.load(), int(files) - 1) + 1;
        if (!terminal && int(percent / 10) == shownTenth) continue;
        shownTenth = int(percent / 10);
        std::fprintf(stderr, "%sExporting %5.1f %%  (file %d of %zu)%s", terminal ? "\r" : "", percent, file, files,
                     terminal ? "" : "\n");
        std::fflush(stderr);
    }
    if (terminal) std::fputs("\n", stderr);
}

int exportProject(const CommandLine& line) {
    const LoadedProject loaded = loadProjectFile(line.project);
    if (!loaded.project) return fail(loaded.error);
    const Project& project = *loaded.project;
    std::string error;
    const std::optional<std::vector<Rally>> chosen = chooseRallies(project, line, error);
    if (!chosen) return fail(error);
    if (chosen->empty()) return fail("No rallies to export: tick at least one rally, or use --all.");
    std::error_code ignored;
    if (!fs::exists(project.videoPath, ignored))
        return fail("The match video of this project is missing: " + project.videoPath);

    // The scoreboard looks as the user last set it up in the window.
    Settings settings;
    settings.load(DataPaths::compute().settingsFile);
    const ExportRequest request = planExport(project, *chosen, line.options, settings);
    if (line.options.scoreboard && request.boards.empty())
        std::cerr << "No rally is scored yet, so the video has no scoreboard.\n";
    if (std::string folderError = checkOutputFolders(request); !folderError.empty()) return fail(folderError);

    ExportProgress progress;
    runningExport = &progress;
    std::signal(SIGINT, askToStop);
    std::signal(SIGTERM, askToStop);
    ExportResult result;
    std::atomic<bool> done{false};
    {
        std::jthread worker([&] {
            result = exportBody()(request, progress);
            done.store(true);
        });
        showProgress(request, progress, done);
    }
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    runningExport = nullptr;

    if (result.cancelled) {
        std::cerr << "The export was stopped; nothing was written.\n";
        return kInterrupted;
    }
    if (!result.ok || !result.message.empty()) return fail(result.message);
    if (result.noSound) std::cerr << "The source audio format is not supported, so the video has no sound.\n";
    std::fprintf(stderr, "Exported %s (%.1f s of video).\n", rallyCount(chosen->size()).c_str(), result.outputSec);
    return 0;
}

}  // namespace
}  // namespace rallinox

int main(int argc, char** argv) {
    rallinox::keepFfmpegQuiet();
    std::string error;
    const auto line = rallinox::parseCommandLine(argc, argv, error);
    if (!line) {
        std::cerr << error << "\n\n" << rallinox::kExportUsage;
        return rallinox::kUsageError;
    }
    if (line->help) {
        std::cout << rallinox::kExportUsage;
        return 0;
    }
    return rallinox::exportProject(*line);
}
