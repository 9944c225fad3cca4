// How a running analysis shows itself: the progress block inside its
// project card and the small pill in the corner on the other screens.
#pragma once

namespace rallinox::ui {

class AppActions;
struct AnalysisView;

// Bar with the stage and percentage, "Cancel", the time left and, while the
// ball is searched, the speed.
void drawAnalysisProgress(const AnalysisView& analysis, AppActions& actions);

}  // namespace rallinox::ui
