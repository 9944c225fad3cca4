#include "ui/projects/analysis_progress.h"

#include <imgui.h>

#include <cstdio>

#include "app/shell/app.h"
#include "ui/projects/analysis_progress_text.h"
#include "ui/kit/theme.h"
#include "ui/kit/widgets.h"
#include "video/frame_source.h"

namespace rallinox::ui {

void drawAnalysisProgress(App& app, const AnalysisJob& job) {
    const AnalysisProgress& progress = job.progress;
    const float fraction = progress.fraction.load();
    const int stage = progress.stage.load();
    const double elapsed = job.elapsedSec();
    const double videoSecDone = progress.videoSecDone.load();

    char overlay[96];
    std::snprintf(overlay, sizeof overlay, "%s  %d%%", analysisStageName(stage), static_cast<int>(fraction * 100));
    ImGui::ProgressBar(fraction, ImVec2(ImGui::GetContentRegionAvail().x - scaled(150), 0), overlay);
    ImGui::SameLine();
    if (ImGui::Button("Cancel", ImVec2(-1, 0))) {
        app.cancelAnalysis();
        return;
    }
    mutedText("%s", analysisStatusLine(fraction, elapsed, videoSecDone).c_str());
    const double framesPerSec = progress.framesPerSec.load();
    if (stage == 1 && framesPerSec > 0) {
        mutedText("%s", analysisSpeedLine(framesPerSec, videoSecDone, elapsed, decoderName(progress.decoder.load())).c_str());
    }
}

}  // namespace rallinox::ui
