#include "tools/export/command_line.h"

#include <charconv>

namespace rallinox {

const char* const kExportUsage =
    "usage: rallinox-export PROJECT [OUT.mp4] [options]\n"
    "Exports the rallies of a project made by Rallinox or by rallinox-analyze --project.\n"
    "PROJECT is the project's folder or its project.json; OUT.mp4 the video of all the\n"
    "chosen rallies (it may be left out with --each).\n"
    "  --all            every rally, ticked or not (default: the ticked rallies)\n"
    "  --rally ID       this rally (its \"id\" in project.json); repeat for more\n"
    "  --scoreboard     show the score on the video (its look as last chosen in the window)\n"
    "  --no-sound       leave the sound out\n"
    "  --edl            also save an EDL next to OUT.mp4\n"
    "  --each DIR       also write one file per rally into DIR: \"01 Rally 1.mp4\", ...\n"
    "  --fast           copy the picture instead of re-encoding it: much faster and\n"
    "                   lossless, but each rally starts at the key frame at or before\n"
    "                   its start (up to one key-frame interval early); not with\n"
    "                   --scoreboard, which needs the picture re-encoded\n"
    "  --fcpxml FILE    timeline for Final Cut Pro and DaVinci Resolve (FCPXML 1.9)\n"
    "  --xmeml FILE     timeline for Premiere Pro and DaVinci Resolve (Final Cut Pro 7 XML)\n"
    "  --otio FILE      timeline for OpenTimelineIO (.otio)\n"
    "  --csv FILE       the rally list as a table: times, breaks, winners and scores\n"
    "  --help           show this text\n"
    "Timelines use the original match video, not the export. Progress goes to standard\n"
    "error; the exit status is 0 only when everything was written. Nothing is left\n"
    "half-written: a failed or interrupted (Ctrl+C) export removes what it began.\n";

namespace {

bool parseId(const std::string& text, int64_t& id) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
    return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::optional<CommandLine> parseCommandLine(int argc, char** argv, std::string& error) {
    CommandLine line;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        auto value = [&] { return std::string(argv[++i]); };
        if (arg == "--help" || arg == "-h") {
            line.help = true;
        } else if (arg == "--all") {
            line.all = true;
        } else if (arg == "--scoreboard") {
            line.options.scoreboard = true;
        } else if (arg == "--no-sound") {
            line.options.keepSound = false;
        } else if (arg == "--edl") {
            line.options.edl = true;
        } else if (arg == "--fast") {
            line.options.fast = true;
        } else if (arg == "--rally" && hasValue) {
            int64_t id = 0;
            const std::string text = value();
            if (!parseId(text, id)) {
                error = "Not a rally id: " + text;
                return std::nullopt;
            }
            line.rallyIds.push_back(id);
        } else if (arg == "--each" && hasValue) {
            line.options.eachDir = value();
        } else if (arg == "--csv" && hasValue) {
            line.options.csvPath = value();
        } else if (arg == "--fcpxml" && hasValue) {
            line.options.timelines.emplace_back(TimelineFormat::Fcpxml, value());
        } else if (arg == "--xmeml" && hasValue) {
            line.options.timelines.emplace_back(TimelineFormat::Xmeml, value());
        } else if (arg == "--otio" && hasValue) {
            line.options.timelines.emplace_back(TimelineFormat::Otio, value());
        } else if (!arg.empty() && arg[0] != '-') {
            positional.push_back(arg);
        } else {
            error = "Unknown option or missing value: " + arg;
            return std::nullopt;
        }
    }
    if (line.help) return line;
    if (positional.empty() || positional.size() > 2) {
        error = "Give a project and the video to write.";
        return std::nullopt;
    }
    line.project = positional[0];
    if (positional.size() == 2) line.options.outputPath = positional[1];
    if (line.options.outputPath.empty() && line.options.eachDir.empty()) {
        error = "Give the video to write (OUT.mp4) or a folder for one file per rally (--each DIR).";
        return std::nullopt;
    }
    if (line.options.edl && line.options.outputPath.empty()) {
        error = "--edl describes OUT.mp4: give OUT.mp4 too.";
        return std::nullopt;
    }
    if (line.all && !line.rallyIds.empty()) {
        error = "Choose either --all or --rally.";
        return std::nullopt;
    }
    return line;
}

}  // namespace rallinox
