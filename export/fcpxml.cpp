#include "export/fcpxml.h"

namespace rallinox {
namespace {

std::string attribute(const char* name, const std::string& value) {
    return std::string(" ") + name + "=\"" + xmlEscaped(value) + "\"";
}

}  // namespace

std::string fcpxmlText(const Timeline& timeline) {
    const FrameRate rate = timeline.rate;
    int64_t totalFrames = 0;
    for (const TimelineClip& clip : timeline.clips) totalFrames += clip.frames;

    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE fcpxml>\n<fcpxml version=\"1.9\">\n";
    text += "  <resources>\n    <format id=\"r1\"" + attribute("frameDuration", fcpxmlTime(1, rate));
    // A size of 0 (never measured) is left for the editor to read from the video.
    if (timeline.width > 0 && timeline.height > 0)
        text += attribute("width", std::to_string(timeline.width)) + attribute("height", std::to_string(timeline.height));
    text += "/>\n";
    text += "    <asset id=\"r2\"" + attribute("name", timeline.videoName) + " start=\"0s\"" +
            attribute("duration", fcpxmlTime(timeline.videoFrames, rate)) +
            " hasVideo=\"1\" hasAudio=\"1\" audioSources=\"1\" format=\"r1\">\n";
    text += "      <media-rep kind=\"original-media\"" + attribute("src", fileUrl(timeline.videoPath)) + "/>\n";
    text += "    </asset>\n  </resources>\n";
    text += "  <library>\n    <event" + attribute("name", timeline.title) + ">\n      <project" +
            attribute("name", timeline.title) + ">\n";
    text += "        <sequence format=\"r1\"" + attribute("duration", fcpxmlTime(totalFrames, rate)) +
            " tcStart=\"0s\" tcFormat=\"NDF\">\n          <spine>\n";
    int64_t offset = 0;
    for (const TimelineClip& clip : timeline.clips) {
        text += "            <asset-clip ref=\"r2\"" + attribute("name", clip.name) +
                attribute("offset", fcpxmlTime(offset, rate)) + attribute("start", fcpxmlTime(clip.startFrame, rate)) +
                attribute("duration", fcpxmlTime(clip.frames, rate)) + " format=\"r1\" tcFormat=\"NDF\"";
        if (clip.score.empty()) {
            text += "/>\n";
        } else {
            text += ">\n              <marker" +
                    attribute("start", fcpxmlTime(clip.startFrame + clip.frames - 1, rate)) +
                    attribute("duration", fcpxmlTime(1, rate)) + attribute("value", clip.score) +
                    "/>\n            </asset-clip>\n";
        }
        offset += clip.frames;
    }
    text += "          </spine>\n        </sequence>\n      </project>\n    </event>\n  </library>\n</fcpxml>\n";
    return text;
}

}  // namespace rallinox
