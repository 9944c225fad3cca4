// Copies the stored packets of one cut after another into the export
// without re-encoding: each cut's picture is shown where the previous cut's
// last picture stopped, its sound follows on without a gap, and the packets
// of both are written in time order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

#include "export/export_request.h"
#include "export/cut_list.h"
#include "export/cut_packets.h"
#include "export/mp4_muxer.h"
#include "export/sound_reencoder.h"
#include "export/track_packets.h"

namespace rallinox {

class PacketCopier {
public:
    struct Output {
        Mp4Muxer& muxer;
        int pictureStream;
        int soundStream;  // -1: no sound is written
    };

    enum class Outcome { Copied, Cancelled, ReadFailed, WriteFailed };

    // The sound is copied from `sound` or re-encoded by `reencoder`; both
    // are nullptr when no sound is written. `totalSec` is the summed length
    // of all cuts.
    PacketCopier(TrackPackets& picture, TrackPackets* sound, SoundReencoder* reencoder, Output output,
                 ExportProgress& progress, double totalSec);

    // Copies `cut`, which starts `writtenSec` into the output as the cuts
    // are asked for.
    Outcome copy(const Cut& cut, double writtenSec);
    // Length of what was written, with each cut from its key frame on.
    double outputSec() const;

private:
    struct Placement;

    Outcome copyPackets(PictureCutPackets& picture, SoundCutPackets* sound, const Placement& place, const Cut& cut,
                        double writtenSec);
    bool reencodeSoundUntil(double sourceSec);
    void showProgress(std::int64_t pictureTime, const Cut& cut, double writtenSec);

    TrackPackets& picture_;
    TrackPackets* sound_;
    SoundReencoder* reencoder_;
    const Output output_;
    ExportProgress& progress_;
    const double totalSec_;
    const AVRational soundTimeBase_;  // one sample frame
    // Output times: the picture's in its track's time base.
    std::int64_t pictureEnd_ = 0;
    std::int64_t lastPictureDecodeTime_ = std::numeric_limits<std::int64_t>::min();
    std::int64_t soundEnd_ = 0;  // in sample frames
};

}  // namespace rallinox
