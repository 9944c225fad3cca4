#include "ui/projects/project_card_text.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "app/core/time_format.h"
#include "edit/rally_queries.h"

namespace rallinox::ui {

namespace {

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string cardMetaLine(const Project& project) {
    const std::time_t created = static_cast<std::time_t>(project.createdUnix);
    std::tm local{};
    localtime_r(&created, &local);
    char date[64];
    std::strftime(date, sizeof date, "%d %b %Y, %H:%M", &local);
    std::string line = std::string(date) + "   |   " + formatClock(project.videoDurationSec) + " video";
    if (project.videoHeight > 0) line += "   |   " + std::to_string(project.videoHeight) + "p";
    return line;
}

std::string cardRallyLine(const Project& project) {
    double play = 0;
    for (const Rally& rally : project.rallies) play += rallyLengthSec(rally);
    const double share = project.videoDurationSec > 0 ? play / project.videoDurationSec * 100 : 0;
    const int percent = static_cast<int>(std::lround(std::clamp(share, 0.0, 100.0)));
    return rallyCount(project.rallies.size()) + "   -   " + formatClock(play) + " of play (" +
           std::to_string(percent) + "%)";
}

std::string deleteProjectQuestion(const std::string& name) {
    return "The project \"" + name +
           "\" is deleted: its rally list and your edits are removed. Your video file and exported videos stay.";
}

bool nameMatchesFilter(const std::string& name, const std::string& filter) {
    const auto found = std::search(name.begin(), name.end(), filter.begin(), filter.end(),
                                   [](char a, char b) { return asciiLower(a) == asciiLower(b); });
    return found != name.end() || filter.empty();
}

}  // namespace rallinox::ui
