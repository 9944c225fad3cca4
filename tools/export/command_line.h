// The options of rallinox-export.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "export/export_plan.h"

namespace rallinox {

extern const char* const kExportUsage;

struct CommandLine {
    std::string project;  // a project folder or its project.json
    bool all = false;
    std::vector<int64_t> rallyIds;  // empty: the ticked rallies (or all)
    ExportOptions options;
    bool help = false;
};

// Nothing, with `error` set, when the arguments make no sense.
std::optional<CommandLine> parseCommandLine(int argc, char** argv, std::string& error);

}  // namespace rallinox
