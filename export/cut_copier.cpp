#include "export/cut_copier.h"

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/mathematics.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>
#include <utility>

#include "video/media_time.h"

namespace rallinox {
namespace {

// Seeks per cut before the reader's position is taken as it is.
constexpr int kMostSeeks = 8;

// Sample frames of audio at `rate` in `duration` (100-ns units), rounded.
std::int64_t audioFrames(std::int64_t duration, int rate) {
    return av_rescale_rnd(duration, rate, std::int64_t(kTicksPerSecond), AV_ROUND_NEAR_INF);
}

}  // namespace

CutCopier::CutCopier(mf::SourceReader& reader, const mf::VideoFormat& format, Output output,
                     ExportProgress& progress, TrackStarts starts, double totalSec)
    : reader_(reader),
      format_(format),
      output_(output),
      progress_(progress),
      starts_(starts),
      totalSec_(totalSec) {}

CutCopier::~CutCopier() { sws_freeContext(shrink_); }

CutCopier::Outcome CutCopier::copy(const Cut& cut, std::size_t index, double writtenSec) {
    const Span span{index, ticksFromSeconds(cut.startSec), ticksFromSeconds(cut.endSec), ticksFromSeconds(writtenSec),
                    writtenSec};
    // Some containers (MPEG transport streams) land on the key frame after
    // the asked time: the reader is then sent further back, each time twice
    // as far. Sound already written is not written twice.
    std::int64_t lead = 0;
    for (int seeks = 1;; ++seeks) {
        if (std::optional<Outcome> outcome = copyFrom(span, span.start - lead, seeks < kMostSeeks)) return *outcome;
        lead = lead == 0 ? std::int64_t(kTicksPerSecond) : 2 * lead;
    }
}

std::optional<CutCopier::Outcome> CutCopier::copyFrom(const Span& span, std::int64_t from, bool mayGoBack) {
    // Early enough for both streams: the sound may start before the picture.
    const std::int64_t earliestStart = output_.audio ? std::min(starts_.video, starts_.audio) : starts_.video;
    if (!reader_.seek(earliestStart + from)) return Outcome::Failed;
    bool videoDone = false;
    bool audioDone = output_.audio == nullptr;
    bool firstPicture = true;
    mf::MediaSample sample;
    while (!videoDone || !audioDone) {
        if (progress_.cancel.load()) return Outcome::Cancelled;
        const mf::ReadStatus status = reader_.read(sample);
        if (status == mf::ReadStatus::Failed) return Outcome::Failed;
        if (status == mf::ReadStatus::Finished) break;
        bool& done = sample.stream == mf::StreamKind::Video ? videoDone : audioDone;
        if (status == mf::ReadStatus::StreamEnded) {
            done = true;
            continue;
        }
        if (done || sample.time == mf::kNoTime) continue;
        const std::int64_t time = sourceTime(sample);
        const bool isVideo = sample.stream == mf::StreamKind::Video;
        if (isVideo && std::exchange(firstPicture, false) && time > span.start && from > 0 && mayGoBack)
            return std::nullopt;
        if (time >= span.end) {
            done = true;
            continue;
        }
        if (isVideo) {
            if (time >= span.start && !writeVideo(sample, time, span)) return Outcome::Failed;
        } else if (!writeAudio(sample, time, span)) {
            return Outcome::Failed;
        }
    }
    return Outcome::Copied;
}

std::int64_t CutCopier::sourceTime(const mf::MediaSample& sample) const {
    return sample.time - (sample.stream == mf::StreamKind::Video ? starts_.video : starts_.audio);
}

bool CutCopier::writeVideo(const mf::MediaSample& sample, std::int64_t time, const Span& span) {
    AVFrame* picture = output_.video.nextPicture();
    if (!picture || !copyPicture(sample, *picture)) return false;
    const double secondsIntoCut = double(time - span.start) / kTicksPerSecond;
    if (output_.overlay) {
        Nv12Picture view{picture->data[0], picture->linesize[0], picture->data[1], picture->linesize[1],
                         picture->width, picture->height};
        output_.overlay->draw(view, span.index, secondsIntoCut);
    }
    // Each cut begins where the previous one's nominal length ended; every
    // frame keeps its own distance to the cut's start, also where the source
    // changes its frame rate, and never takes the place of the one before it.
    const std::int64_t outputTime = time - span.start + span.outputStart;
    const std::int64_t pictureTime =
        av_rescale_q_rnd(outputTime, AVRational{1, int(kTicksPerSecond)}, kPictureTimeBase, AV_ROUND_NEAR_INF);
    lastPictureTime_ = std::max(lastPictureTime_ + 1, pictureTime);
    if (!output_.video.encode(lastPictureTime_)) return false;
    progress_.fraction.store(float(std::min(1.0, (secondsIntoCut + span.writtenSec) / totalSec_)));
    return true;
}

bool CutCopier::copyPicture(const mf::MediaSample& sample, AVFrame& picture) {
    const int width = picture.width;
    const int height = picture.height;
    if (sample.width == format_.width && sample.height == format_.height) {
        // The picture is the frame's visible area: its even-sized top-left part.
        av_image_copy_plane(picture.data[0], picture.linesize[0], sample.luma, sample.lumaPitch, width, height);
        av_image_copy_plane(picture.data[1], picture.linesize[1], sample.chroma, sample.chromaPitch, width,
                            height / 2);
        return true;
    }
    // The source changed its frame size mid-stream: larger frames are scaled
    // down to the output's size, smaller ones cannot fill it.
    if (int(sample.width) < width || int(sample.height) < height) return false;
    shrink_ = sws_getCachedContext(shrink_, int(sample.width), int(sample.height), AV_PIX_FMT_NV12, width, height,
                                   AV_PIX_FMT_NV12, SWS_AREA, nullptr, nullptr, nullptr);
    if (!shrink_) return false;
    const std::uint8_t* planes[] = {sample.luma, sample.chroma};
    const int pitches[] = {sample.lumaPitch, sample.chromaPitch};
    sws_scale(shrink_, planes, pitches, 0, int(sample.height), picture.data, picture.linesize);
    return true;
}

bool CutCopier::writeAudio(const mf::MediaSample& sample, std::int64_t time, const Span& span) {
    const int rate = output_.audioRate;
    // The sound of a cut keeps its distance to the cut's first picture: the
    // part of the sample before the cut's start or after its end is left out.
    const std::int64_t offset = audioFrames(time - span.start, rate);
    const std::int64_t first = std::max<std::int64_t>(0, -offset);
    const std::int64_t last = std::min<std::int64_t>(sample.frames, audioFrames(span.end - time, rate));
    if (last <= first) return true;
    const std::int64_t position = audioFrames(span.outputStart, rate) + offset + first;
    return output_.audio->write(sample.pcm + first * output_.audioChannels, int(last - first), position);
}

}  // namespace rallinox
