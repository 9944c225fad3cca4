#include "export/xmeml.h"

namespace rallinox {
namespace {

std::string element(const char* name, const std::string& content) {
    return std::string("<") + name + ">" + content + "</" + name + ">";
}

std::string number(int64_t value) { return std::to_string(value); }

// The timebase counts whole frames; NTSC marks the 1000/1001 rates.
std::string rateElement(FrameRate rate) {
    return element("rate", element("timebase", number(timecodeBase(rate))) +
                               element("ntsc", rate.den == 1001 ? "TRUE" : "FALSE"));
}

std::string fileElement(const Timeline& timeline, bool firstUse) {
    if (!firstUse) return "<file id=\"file-1\"/>";
    return "<file id=\"file-1\">" + element("name", xmlEscaped(timeline.videoName)) +
           element("pathurl", xmlEscaped(fileUrl(timeline.videoPath))) + rateElement(timeline.rate) +
           element("duration", number(timeline.videoFrames)) +
           element("timecode", rateElement(timeline.rate) + element("string", "00:00:00:00") +
                                   element("frame", "0") + element("displayformat", "NDF")) +
           element("media", element("video", "") + element("audio", element("channelcount", "2"))) + "</file>";
}

std::string clipItems(const Timeline& timeline, const char* idPrefix, bool video) {
    std::string items;
    int64_t recordFrame = 0;
    for (size_t i = 0; i < timeline.clips.size(); ++i) {
        const TimelineClip& clip = timeline.clips[i];
        items += "        <clipitem id=\"" + std::string(idPrefix) + number(int64_t(i + 1)) + "\">" +
                 element("name", xmlEscaped(clip.name)) + element("duration", number(timeline.videoFrames)) +
                 rateElement(timeline.rate) + element("start", number(recordFrame)) +
                 element("end", number(recordFrame + clip.frames)) + element("in", number(clip.startFrame)) +
                 element("out", number(clip.startFrame + clip.frames)) + fileElement(timeline, video && i == 0);
        if (!video) items += element("sourcetrack", element("mediatype", "audio") + element("trackindex", "1"));
        if (video && !clip.score.empty())
            items += element("marker", element("name", xmlEscaped(clip.score)) + element("comment", "") +
                                           element("in", number(clip.startFrame + clip.frames - 1)) +
                                           element("out", "-1"));
        items += "</clipitem>\n";
        recordFrame += clip.frames;
    }
    return items;
}

}  // namespace

std::string xmemlText(const Timeline& timeline) {
    int64_t totalFrames = 0;
    for (const TimelineClip& clip : timeline.clips) totalFrames += clip.frames;
    // A size of 0 (never measured) is left for the editor to read from the video.
    const std::string size = timeline.width > 0 && timeline.height > 0
                                 ? element("width", number(timeline.width)) + element("height", number(timeline.height))
                                 : "";
    const std::string format = element("format", element("samplecharacteristics", rateElement(timeline.rate) + size));
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE xmeml>\n<xmeml version=\"4\">\n"
           "<sequence id=\"sequence-1\">" +
           element("name", xmlEscaped(timeline.title)) + element("duration", number(totalFrames)) +
           rateElement(timeline.rate) +
           element("timecode", rateElement(timeline.rate) + element("string", "00:00:00:00") + element("frame", "0") +
                                   element("displayformat", "NDF")) +
           "\n<media>\n  <video>" + format + "\n    <track>\n" + clipItems(timeline, "clipitem-v", true) +
           "    </track>\n  </video>\n  <audio>\n    <track>\n" + clipItems(timeline, "clipitem-a", false) +
           "    </track>\n  </audio>\n</media>\n</sequence>\n</xmeml>\n";
}

}  // namespace rallinox
