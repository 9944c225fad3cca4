// Copies one cut of the source into the export: seeks, reads the decoded
// samples of the cut's stretch, stamps them with their place in the output,
// lets the overlay draw into each picture and hands them to the encoders.
#pragma once

#include <cstddef>
#include <cstdint>

#include "app/export_job.h"
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

    enum class Outcome { copied, cancelled, failed };

    // `baseOffset` (100-ns units) is where the source's time 0 lies in the
    // reader's times; `totalSec` is the summed length of all cuts.
    CutCopier(mf::SourceReader& reader, const mf::VideoFormat& format, Output output, ExportProgress& progress,
              std::int64_t baseOffset, double totalSec);
    ~CutCopier();
    CutCopier(const CutCopier&) = delete;
    CutCopier& operator=(const CutCopier&) = delete;

    // Copies cut number `index`, which starts `writtenSec` into the output.
    Outcome copy(const Cut& cut, std::size_t index, double writtenSec);

private:
    struct Span {
        std::size_t index;
        std::int64_t start;       // source time of the cut's start, 100-ns units
        std::int64_t end;         // source time of the cut's end
        std::int64_t outputStart;  // output time of the cut's start
        double writtenSec;
    };

    bool writeVideo(const mf::MediaSample& sample, const Span& span);
    bool writeAudio(const mf::MediaSample& sample, const Span& span);
    bool copyPicture(const mf::MediaSample& sample, AVFrame& picture);

    mf::SourceReader& reader_;
    const mf::VideoFormat format_;
    const Output output_;
    ExportProgress& progress_;
    const std::int64_t baseOffset_;
    const double totalSec_;
    std::int64_t lastFrameTime_ = -1;  // in frames
    SwsContext* shrink_ = nullptr;     // for frames larger than the output
};

}  // namespace rallinox
