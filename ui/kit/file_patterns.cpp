#include "ui/kit/file_patterns.h"

#include <algorithm>
#include <filesystem>
#include <strings.h>

namespace rallinox::ui {

bool matchesPattern(const std::string& name, const std::string& pattern) {
    if (pattern == "*" || pattern == "*.*") return true;
    if (pattern.size() < 2 || pattern[0] != '*') return strcasecmp(name.c_str(), pattern.c_str()) == 0;
    const std::string suffix = pattern.substr(1);
    return name.size() > suffix.size() &&
           strcasecmp(name.c_str() + name.size() - suffix.size(), suffix.c_str()) == 0;
}

std::vector<std::string> splitPatterns(const std::string& patterns) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= patterns.size()) {
        const size_t end = std::min(patterns.find(';', start), patterns.size());
        if (end > start) parts.push_back(patterns.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string withDefaultExtension(const std::string& path, const std::string& extension) {
    if (extension.empty() || std::filesystem::path(path).has_extension()) return path;
    return path + "." + extension;
}

}  // namespace rallinox::ui
