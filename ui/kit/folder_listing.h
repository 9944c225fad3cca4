// What the in-app file browser shows of one folder.
#pragma once

#include <string>
#include <vector>

namespace rallinox::ui {

struct FolderEntry {
    std::string name;
    bool isFolder = false;

    bool operator==(const FolderEntry&) const = default;
};

struct FolderListing {
    std::vector<FolderEntry> entries;  // folders first, each group sorted by name ignoring case
    std::string error;                 // for the user when the folder cannot be read
};

// The visible folders and the files matching one of the patterns (no files
// when foldersOnly). Hidden entries (leading '.') are left out.
FolderListing listFolder(const std::string& folder, const std::vector<std::string>& patterns, bool foldersOnly);

}  // namespace rallinox::ui
