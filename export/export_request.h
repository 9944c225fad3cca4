// What an export is asked to do, the progress it publishes while it runs and
// the result it ends with: plain data shared by the export bodies and the
// job that runs one on its own thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/core/project.h"
#include "export/board_clips.h"

namespace rallinox {

struct ExportTextFile {
    std::string path;
    std::string text;
};

struct ExportRequest {
    std::string sourcePath;  // the project's video
    std::string outputPath;  // the MP4 to write
    std::string edlPath;     // empty: no EDL
    std::string title;       // the project's name, for the EDL
    double fps = 0;          // the project's frame rate, for the EDL
    std::vector<Rally> rallies;  // the chosen ones, in list order
    bool keepSound = true;
    bool fast = false;  // the picture copied, not re-encoded, when nothing is drawn over it
    // Not empty: one file per rally at these paths, in rally order (outputPath may then be empty).
    std::vector<std::string> eachPaths;
    // Written once the video is done: the rally list and timelines for video editors.
    std::vector<ExportTextFile> textFiles;
    // The scoreboard drawn over each rally, one per rally in order; empty: none.
    std::vector<BoardClip> boards;
};

// Written by the export thread, read by the GUI thread without a lock.
struct ExportProgress {
    std::atomic<float> fraction{0.0f};
    std::atomic<int32_t> currentCut{0};
    std::atomic<int32_t> currentFile{0};  // with one file per rally; fraction is that file's
    std::atomic<bool> cancel{false};
};

struct ExportResult {
    bool ok = false;
    bool cancelled = false;
    bool noSound = false;  // the sound's format could not be kept
    std::string message;   // the error, or the EDL's error after a good video
    double outputSec = 0;
};

// Runs one export; never throws and returns soon after the cancel flag is set.
using ExportBody = std::function<ExportResult(const ExportRequest&, ExportProgress&)>;

}  // namespace rallinox
