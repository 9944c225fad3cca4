// The texts of a project card and the filter over the project names.
#pragma once

#include <string>

#include "app/core/project.h"

namespace rallinox::ui {

// "12 Mar 2026, 18:40   |   1:32:10 video   |   1080p" (local time; no
// resolution when the height is unknown).
std::string cardMetaLine(const Project& project);

// "42 rallies   -   31:20 of play (34%)": the share of the video covered
// by rallies, clamped to 0..100 %.
std::string cardRallyLine(const Project& project);

// The delete question, naming the project: two projects can hold the same video.
std::string deleteProjectQuestion(const std::string& name);

// Whether the name contains the filter, ASCII letters compared without
// regard to case; an empty filter matches every name.
bool nameMatchesFilter(const std::string& name, const std::string& filter);

}  // namespace rallinox::ui
