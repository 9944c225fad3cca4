// What a file or folder dialog asks for, and how it ended. Each desktop
// back end turns the same request into its own dialog.
#pragma once

#include <string>
#include <vector>

namespace rallinox {

enum class FileDialogMode { OpenFile, SaveFile, PickFolder };

struct FileFilter {
    std::string name;                   // "Videos"
    std::vector<std::string> patterns;  // "*.mp4", "*.mov"; "*" for all files
};

struct FileDialogRequest {
    FileDialogMode mode = FileDialogMode::OpenFile;
    std::string title;
    std::vector<FileFilter> filters;  // the first is selected first
    std::string startFolder;          // used when it exists
    std::string fileName;             // proposed name (SaveFile)
    std::string defaultExtension;     // without the dot, added when the user types none (SaveFile)
};

enum class DialogOutcome { Chosen, Cancelled, Unavailable };

struct DialogAnswer {
    DialogOutcome outcome = DialogOutcome::Unavailable;
    std::string path;  // UTF-8, when Chosen
};

}  // namespace rallinox
