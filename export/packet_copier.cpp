#include "export/packet_copier.h"

#include <algorithm>

#include "video/ffmpeg_ptr.h"

namespace rallinox {

// Where one cut goes in the output.
struct PacketCopier::Placement {
    std::int64_t pictureShift = 0;  // added to the picture's track times
    std::int64_t soundEnd = 0;      // output sample frame where the cut's sound stops
};

namespace {

int sampleRateOf(TrackPackets* sound, SoundReencoder* reencoder) {
    if (sound) return sound->stream().codecpar->sample_rate;
    return reencoder ? reencoder->sampleRate() : 1;
}

}  // namespace

PacketCopier::PacketCopier(TrackPackets& picture, TrackPackets* sound, SoundReencoder* reencoder, Output output,
                           ExportProgress& progress, double totalSec)
    : picture_(picture),
      sound_(sound),
      reencoder_(reencoder),
      output_(output),
      progress_(progress),
      totalSec_(totalSec),
      soundTimeBase_{1, sampleRateOf(sound, reencoder)} {}

PacketCopier::Outcome PacketCopier::copy(const Cut& cut, double writtenSec) {
    PictureCutPackets picture(picture_);
    const std::int64_t end = picture_.trackTime(cut.endSec);
    if (!picture.begin(picture_.trackTime(cut.startSec), end)) return Outcome::ReadFailed;
    if (!picture.found()) return Outcome::Copied;  // nothing of it is left in the file

    // The key frame is shown where the previous cut stopped; its decoding
    // time must still come after the previous cut's last one.
    Placement place;
    place.pictureShift = pictureEnd_ - picture.keyTime();
    if (picture.keyDecodeTime() + place.pictureShift <= lastPictureDecodeTime_)
        place.pictureShift = lastPictureDecodeTime_ + 1 - picture.keyDecodeTime();
    const AVRational pictureBase = picture_.timeBase();
    const std::int64_t soundStart = av_rescale_q(picture.keyTime() + place.pictureShift, pictureBase, soundTimeBase_);
    place.soundEnd = soundStart + av_rescale_q(end - picture.keyTime(), pictureBase, soundTimeBase_);
    if (reencoder_ && !reencoder_->begin(picture_.playerSec(picture.keyTime()), picture_.playerSec(end), soundStart))
        return Outcome::ReadFailed;
    if (!sound_) return copyPackets(picture, nullptr, place, cut, writtenSec);

    // The sound goes on from where the last cut's stopped, taken from the
    // source at the same distance to the key frame, so that it stays with
    // the picture within half a packet.
    const double fromSec =
        picture_.playerSec(picture.keyTime()) + double(soundEnd_ - soundStart) * av_q2d(soundTimeBase_);
    SoundCutPackets sound(*sound_);
    if (!sound.begin(sound_->trackTime(fromSec))) return Outcome::ReadFailed;
    return copyPackets(picture, &sound, place, cut, writtenSec);
}

PacketCopier::Outcome PacketCopier::copyPackets(PictureCutPackets& picture, SoundCutPackets* sound,
                                                const Placement& place, const Cut& cut, double writtenSec) {
    AvPacketPtr picturePacket = makePacket();
    AvPacketPtr soundPacket = makePacket();
    if (!picturePacket || !soundPacket) return Outcome::WriteFailed;
    bool havePicture = false;
    bool haveSound = false;
    bool pictureDone = false;
    bool soundDone = sound == nullptr;
    for (;;) {
        if (progress_.cancel.load()) return Outcome::Cancelled;
        if (!havePicture && !pictureDone) {
            const TrackPackets::Read read = picture.next(*picturePacket);
            if (read == TrackPackets::Read::Failed) return Outcome::ReadFailed;
            pictureDone = read == TrackPackets::Read::End;
            havePicture = !pictureDone;
            if (havePicture) {
                showProgress(picturePacket->pts, cut, writtenSec);
                picturePacket->pts += place.pictureShift;
                picturePacket->dts += place.pictureShift;
            }
        }
        if (!haveSound && !soundDone) {
            const TrackPackets::Read read = sound->next(*soundPacket);
            if (read == TrackPackets::Read::Failed) return Outcome::ReadFailed;
            const std::int64_t length = av_rescale_q(soundPacket->duration, sound_->timeBase(), soundTimeBase_);
            // Whole packets, as long as most of the next one lies in the cut.
            soundDone = read == TrackPackets::Read::End || soundEnd_ + length / 2 > place.soundEnd;
            haveSound = !soundDone;
            if (haveSound) {
                soundPacket->pts = soundPacket->dts = soundEnd_;
                soundPacket->duration = length;
                soundEnd_ += length;
            }
        }
        if (!havePicture && !haveSound) break;
        const bool soundFirst = haveSound && (!havePicture || av_compare_ts(soundPacket->dts, soundTimeBase_,
                                                                            picturePacket->dts,
                                                                            picture_.timeBase()) < 0);
        if (soundFirst) {
            if (!output_.muxer.write(*soundPacket, soundTimeBase_, output_.soundStream)) return Outcome::WriteFailed;
            haveSound = false;
        } else {
            // Re-encoded sound is written along, up to the picture's time.
            if (!reencodeSoundUntil(picture_.playerSec(picturePacket->dts - place.pictureShift)))
                return Outcome::ReadFailed;
            lastPictureDecodeTime_ = picturePacket->dts;
            if (!output_.muxer.write(*picturePacket, picture_.timeBase(), output_.pictureStream))
                return Outcome::WriteFailed;
            havePicture = false;
        }
    }
    if (!reencodeSoundUntil(std::numeric_limits<double>::infinity())) return Outcome::ReadFailed;
    pictureEnd_ = std::max(pictureEnd_, picture.shownEnd() + place.pictureShift);
    return Outcome::Copied;
}

bool PacketCopier::reencodeSoundUntil(double sourceSec) { return !reencoder_ || reencoder_->writeUntil(sourceSec); }

void PacketCopier::showProgress(std::int64_t pictureTime, const Cut& cut, double writtenSec) {
    const double intoCut = std::clamp(picture_.playerSec(pictureTime) - cut.startSec, 0.0, cut.lengthSec());
    progress_.fraction.store(float(std::min(1.0, (writtenSec + intoCut) / totalSec_)));
}

double PacketCopier::outputSec() const { return double(pictureEnd_) * av_q2d(picture_.timeBase()); }

}  // namespace rallinox
