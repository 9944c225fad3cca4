// The small window in the bottom-right corner that shows a running analysis
// while another screen than the projects is shown.
#pragma once

#include <vector>

namespace rallinox {
struct Project;
}

namespace rallinox::ui {

struct AnalysisView;

// The projects give the analysed project's name.
void drawAnalysisPill(const AnalysisView& analysis, const std::vector<Project>& projects);

}  // namespace rallinox::ui
