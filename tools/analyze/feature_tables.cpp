#include "tools/analyze/feature_tables.h"

#include "engine/action_model.h"
#include "engine/track_classifier.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <span>

namespace rallinox {

namespace {

// Round-trips every double exactly.
std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

void writeLeading(std::ostream& out, std::initializer_list<std::string> leading) {
    bool first = true;
    for (const std::string& cell : leading) {
        out << (first ? "" : ",") << cell;
        first = false;
    }
}

void writeRow(std::ostream& out, std::initializer_list<std::string> leading, std::span<const double> values) {
    writeLeading(out, leading);
    for (double value : values) out << ',' << number(value);
    out << '\n';
}

template <size_t N>
void writeHeader(std::ostream& out, std::initializer_list<std::string> leading, const std::array<const char*, N>& names) {
    writeLeading(out, leading);
    for (const char* name : names) out << ',' << name;
    out << '\n';
}

bool finish(std::ofstream& out, const std::filesystem::path& file, std::string& error) {
    out.close();
    if (out) return true;
    error = "Could not write " + file.string();
    return false;
}

bool writeBoxes(const std::filesystem::path& file, const std::vector<BallDetection>& boxes, std::string& error) {
    std::ofstream out(file);
    out << "frame,trackId,x,y,width,height,interpolated\n";
    for (const BallDetection& box : boxes)
        out << box.frame << ',' << box.trackId << ',' << box.x << ',' << box.y << ',' << box.width << ','
            << box.height << ',' << (box.interpolated ? 1 : 0) << '\n';
    return finish(out, file, error);
}

bool writeCandidates(const std::filesystem::path& file, const std::vector<FrameCandidates>& frames,
                     std::string& error) {
    std::ofstream out(file);
    out << "frame,x,y,width,height,area\n";
    for (const FrameCandidates& frame : frames)
        for (const BallCandidate& blob : frame.candidates)
            out << frame.frameIndex << ',' << blob.x << ',' << blob.y << ',' << blob.w << ',' << blob.h << ','
                << number(blob.area) << '\n';
    return finish(out, file, error);
}

}  // namespace

bool writeFeatureTables(const std::filesystem::path& folder, const AnalysisFeatures& features,
                        const VideoInfo& video, std::string& error) {
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);

    const std::filesystem::path tracksFile = folder / "tracks.csv";
    std::ofstream tracks(tracksFile);
    writeHeader(tracks, {"trackId", "firstFrame", "lastFrame"}, trackFeatureNames());
    for (const TrackFeatures& track : features.tracks)
        writeRow(tracks, {std::to_string(track.trackId), std::to_string(track.startFrame), std::to_string(track.endFrame)},
                 trackFeatureVector(track));
    if (!finish(tracks, tracksFile, error)) return false;

    const std::filesystem::path windowsFile = folder / "windows.csv";
    std::ofstream windows(windowsFile);
    writeHeader(windows, {"startFrame", "endFrame"}, windowFeatureNames());
    for (const WindowFeatures& window : features.windows) {
        const int end = std::min(window.frame + features.windowLength, features.frames) - 1;
        writeRow(windows, {std::to_string(window.frame), std::to_string(end)}, windowFeatureVector(window));
    }
    if (!finish(windows, windowsFile, error)) return false;
    if (!writeCandidates(folder / "candidates.csv", features.candidates, error)) return false;
    if (!writeBoxes(folder / "detections.csv", features.trackedDetections, error)) return false;
    if (!writeBoxes(folder / "balls.csv", features.ballDetections, error)) return false;

    const std::filesystem::path analysisFile = folder / "analysis.csv";
    std::ofstream analysis(analysisFile);
    analysis << "frameStep,analysisWidth,analysisHeight,analysisFps,videoFps,videoWidth,videoHeight,frames\n"
             << features.frameStep << ',' << features.analysisWidth << ',' << features.analysisHeight << ','
             << number(features.analysisFps) << ',' << number(video.fps) << ',' << video.width << ','
             << video.height << ',' << features.frames << '\n';
    return finish(analysis, analysisFile, error);
}

}  // namespace rallinox
