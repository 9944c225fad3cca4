#include "ui/projects/analysis_progress.h"

#include <imgui.h>

#include <cstdio>

#include "ui/kit/app_actions.h"
#include "ui/projects/analysis_progress_text.h"
#include "ui/kit/theme.h"
#include "ui/kit/widgets.h"

namespace rallinox::ui {

void drawAnalysisProgress(const AnalysisView& analysis, AppActions& actions) {
    const float fraction = analysis.fraction;
    char overlay[96];
    std::snprintf(overlay, sizeof overlay, "%s  %d%%", analysis.stageName, static_cast<int>(fraction * 100));
    ImGui::ProgressBar(fraction, ImVec2(ImGui::GetContentRegionAvail().x - scaled(150), 0), overlay);
    ImGui::SameLine();
    if (ImGui::Button("Cancel", ImVec2(-1, 0))) {
        actions.cancelAnalysis();
        return;
    }
    mutedText("%s", analysisStatusLine(fraction, analysis.elapsedSec, analysis.videoSecDone).c_str());
    if (analysis.findingBall && analysis.framesPerSec > 0) {
        mutedText("%s", analysisSpeedLine(analysis.framesPerSec, analysis.videoSecDone, analysis.elapsedSec,
                                          analysis.decoderName)
                            .c_str());
    }
}

}  // namespace rallinox::ui
