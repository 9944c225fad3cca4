#include "ui/kit/folder_listing.h"

#include <algorithm>
#include <filesystem>
#include <strings.h>

#include "ui/kit/file_patterns.h"

namespace rallinox::ui {

namespace fs = std::filesystem;

FolderListing listFolder(const std::string& folder, const std::vector<std::string>& patterns, bool foldersOnly) {
    FolderListing listing;
    std::error_code error;
    fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
    if (error) {
        listing.error = "This folder cannot be read: " + error.message();
        return listing;
    }
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error) break;
        const std::string name = it->path().filename().string();
        if (name.empty() || name[0] == '.') continue;
        std::error_code typeError;
        const bool isFolder = it->is_directory(typeError);
        if (isFolder || (!foldersOnly && std::any_of(patterns.begin(), patterns.end(), [&](const std::string& p) {
                             return matchesPattern(name, p);
                         }))) {
            listing.entries.push_back({name, isFolder});
        }
    }
    std::sort(listing.entries.begin(), listing.entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
        if (a.isFolder != b.isFolder) return a.isFolder;
        return strcasecmp(a.name.c_str(), b.name.c_str()) < 0;
    });
    return listing;
}

}  // namespace rallinox::ui
