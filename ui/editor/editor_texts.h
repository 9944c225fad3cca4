// The editor's texts that are built from the project: tested without a window.
#pragma once

#include <string>
#include <vector>

#include "app/core/project.h"

namespace rallinox::ui {

// The name in the rally list: the shown name, with "  (added)" for a rally
// the user added.
std::string rallyRowName(const Rally& rally, size_t position);

// Under the rally list: "3 of 12 ticked  -  1:05 will be exported  -
// breaks 40:10 of 45:00", or how to add one when there are none.
std::string rallyListSummary(const Project& project);

// The Score tab's progress: "0 of 4 rallies scored", "1 of 1 rally scored".
std::string scoredProgressText(const std::vector<Rally>& rallies);

// The Sound box, which says so when no device can play the sound.
std::string soundBoxLabel(bool deviceMissing);

// The question before the rallies are found again: the edits and scores go.
std::string analyseAgainQuestion(double startPaddingSec, double endPaddingSec);

}  // namespace rallinox::ui
