// Copies one cut of the source into the export: seeks, reads the decoded
// samples of the cut's stretch, stamps them with their place in the output,
// lets the overlay draw into each picture and hands them to the encoders.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "export/export_request.h"
#include "export/audio_encoder.h"
#include "export/cut_list.h"
#include "export/frame_overlay.h"
#include "export/video_encoder.h"
#include "video/source_reader.h"

struct SwsContext;

namespace rallinox {

class CutCopier {
public:
    struct Output {
        VideoEncoder& video;
        AudioEncoder* audio;  // nullptr: no sound is written
        int audioRate;
        int audioChannels;
        FrameOverlay* overlay;  // nullptr: pictures are copied as they are
    };

    enum class Outcome { Copied, Cancelled, Failed };

    // Where the source's time 0 lies in the reader's times of each stream
    // (100-ns units): MP4 tracks start where their edit lists say.
    struct TrackStarts {
        std::int64_t video = 0;
        std::int64_t audio = 0;
    };

    // `totalSec` is the summed length of all cuts.
    CutCopier(mf::SourceReader& reader, const mf::VideoFormat& format, Output output, ExportProgress& progress,
              TrackStarts starts, double totalSec);
    ~CutCopier();
    CutCopier(const CutCopier&) = delete;
    CutCopier& operator=(const CutCopier&) = delete;

    // Copies cut number `index`, which starts `writtenSec` into the output.
    Outcome copy(const Cut& cut, std::size_t index, double writtenSec);

private:
    // Times in 100-ns units.
    struct Span {
        std::size_t index;
        std::int64_t start;        // source time of the cut's start
        std::int64_t end;          // source time of the cut's end
        std::int64_t outputStart;  // output time of the cut's start
        double writtenSec;
    };

    // From the reader sent to source time `from`; nothing when it landed
    // after the cut's start and `mayGoBack`.
    std::optional<Outcome> copyFrom(const Span& span, std::int64_t from, bool mayGoBack);
    // The sample's time in the source: the reader's time less its track's start.
    std::int64_t sourceTime(const mf::MediaSample& sample) const;
    bool writeVideo(const mf::MediaSample& sample, std::int64_t time, const Span& span);
    bool writeAudio(const mf::MediaSample& sample, std::int64_t time, const Span& span);
    bool copyPicture(const mf::MediaSample& sample, AVFrame& picture);

    mf::SourceReader& reader_;
    const mf::VideoFormat format_;
    const Output output_;
    ExportProgress& progress_;
    const TrackStarts starts_;
    const double totalSec_;
    std::int64_t lastPictureTime_ = -1;  // in kPictureTimeBase units
    SwsContext* shrink_ = nullptr;     // for frames larger than the output
};

}  // namespace rallinox
