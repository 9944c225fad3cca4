// How a running analysis shows itself: the progress block inside its
// project card and the small pill in the corner on the other screens.
#pragma once

namespace rallinox {
class App;
class AnalysisJob;
}  // namespace rallinox

namespace rallinox::ui {

// Bar with the stage and percentage, "Cancel", the time left and, while the
// ball is searched, the speed.
void drawAnalysisProgress(App& app, const AnalysisJob& job);

}  // namespace rallinox::ui
