// The export dialog: what to export, where, and the options of the exported video.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace rallinox {
struct Project;
struct Settings;
struct ExportResult;
class ExportJob;
}  // namespace rallinox

namespace rallinox::ui {

class AppActions;
class FileDialogs;

// What the dialog works on, for one frame.
struct ExportDialogContext {
    const Project& project;
    int64_t& selectedRallyId;
    Settings& settings;
    const std::filesystem::path& defaultExportDir;
    FileDialogs& fileDialogs;
    // The running export, if any, and the result of the last one until the dialog is closed.
    ExportJob* running;
    std::optional<ExportResult>& lastExport;
    AppActions& actions;
};

// onlyRallyId 0: the ticked rallies; otherwise that rally alone, which becomes the highlighted one.
void openExportDialog(int64_t& selectedRallyId, int64_t onlyRallyId = 0);
void drawExportDialog(ExportDialogContext& dialog);

}  // namespace rallinox::ui
