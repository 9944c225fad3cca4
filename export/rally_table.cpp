#include "export/rally_table.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "edit/match_score.h"

namespace rallinox {
namespace {

std::string quoted(const std::string& field) {
    // A leading formula sign would make a spreadsheet run the name as a formula.
    const bool formula = !field.empty() && std::string("=+-@").find(field[0]) != std::string::npos;
    const std::string text = formula ? "'" + field : field;
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string result = "\"";
    for (const char c : text) {
        if (c == '"') result += '"';
        result += c;
    }
    return result + "\"";
}

std::string clock(double seconds) {
    const long long hundredths = std::llround(std::max(0.0, seconds) * 100.0);
    char text[48];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld.%02lld", hundredths / 360000, hundredths / 6000 % 60,
                  hundredths / 100 % 60, hundredths % 100);
    return text;
}

std::string secondsText(double seconds) {
    char text[48];
    std::snprintf(text, sizeof text, "%.2f", seconds);
    return text;
}

std::string winnerName(Winner winner, const MatchSetup& match) {
    if (winner == Winner::Home) return match.homeName;
    if (winner == Winner::Away) return match.awayName;
    return {};
}

}  // namespace

std::string rallyTableCsv(const Project& project, const std::vector<Rally>& chosen) {
    std::string table = "\xEF\xBB\xBFNumber,Name,Start,End,Length,Break before,Winner,Set,Score after\r\n";
    // The score runs over every rally of the match, chosen or not.
    const std::vector<RallyScore> scores = rallyScores(project.rallies);
    const bool scored = anyRallyScored(project.rallies);
    for (size_t row = 0; row < chosen.size(); ++row) {
        const Rally& rally = chosen[row];
        const auto at = std::find_if(project.rallies.begin(), project.rallies.end(),
                                     [&](const Rally& r) { return r.id == rally.id; });
        const size_t position = size_t(at - project.rallies.begin());
        std::string breakBefore;
        if (position > 0 && position < project.rallies.size())
            breakBefore = secondsText(std::max(0.0, rally.startSec - project.rallies[position - 1].endSec));
        std::string set;
        std::string score;
        if (scored && position < scores.size()) {
            set = std::to_string(scores[position].setAfter);
            score = std::to_string(scores[position].homeAfter) + " - " + std::to_string(scores[position].awayAfter);
        }
        table += std::to_string(row + 1) + "," + quoted(rallyDisplayName(rally, position)) + "," +
                 clock(rally.startSec) + "," + clock(rally.endSec) + "," + secondsText(rallyLengthSec(rally)) + "," +
                 breakBefore + "," + quoted(winnerName(rally.winner, project.match)) + "," + set + "," + score +
                 "\r\n";
    }
    return table;
}

}  // namespace rallinox
