#include "export/stream_copy_export.h"

#include <memory>
#include <optional>

#include "export/mp4_export.h"
#include "export/mp4_muxer.h"
#include "export/output_file.h"
#include "export/packet_copier.h"
#include "export/sound_reencoder.h"
#include "export/track_packets.h"

namespace rallinox {
namespace {

bool copyableCodec(const AVStream& stream) {
    const AVCodecID codec = stream.codecpar->codec_id;
    return codec == AV_CODEC_ID_H264 || codec == AV_CODEC_ID_HEVC;
}

struct Tracks {
    TrackPackets picture;
    std::optional<TrackPackets> sound;           // AAC, copied
    std::unique_ptr<SoundReencoder> reencoder;  // other sound, re-encoded
};

// Opens the picture and, when it is wanted, the sound: AAC to be copied,
// other formats to be re-encoded.
std::string openTracks(const std::string& path, bool keepSound, Tracks& tracks, ExportResult& result) {
    if (!tracks.picture.open(path, AVMEDIA_TYPE_VIDEO)) return kCannotOpenMessage;
    if (!copyableCodec(tracks.picture.stream())) return kPictureNotCopyableMessage;
    if (!keepSound) return {};
    TrackPackets& sound = tracks.sound.emplace();
    if (!sound.open(path, AVMEDIA_TYPE_AUDIO)) {
        tracks.sound.reset();  // a silent video: nothing to note
        return {};
    }
    if (sound.stream().codecpar->codec_id == AV_CODEC_ID_AAC && sound.stream().codecpar->sample_rate > 0) return {};
    tracks.sound.reset();
    tracks.reencoder = std::make_unique<SoundReencoder>();
    if (!tracks.reencoder->open(path)) {
        result.noSound = true;
        tracks.reencoder.reset();
    }
    return {};
}

// Adds the copied streams and starts the file.
std::string openOutput(const std::string& path, Tracks& tracks, Mp4Muxer& muxer, PacketCopier::Output& output) {
    if (std::string error = muxer.create(path); !error.empty()) return error;
    output.pictureStream = muxer.addCopiedStream(tracks.picture.stream(), tracks.picture.timeBase());
    if (tracks.sound) {
        const AVStream& sound = tracks.sound->stream();
        output.soundStream = muxer.addCopiedStream(sound, {1, sound.codecpar->sample_rate});
    }
    if (tracks.reencoder) {
        if (std::string error = tracks.reencoder->addTo(muxer); !error.empty()) return error;
    }
    if (output.pictureStream < 0 || (tracks.sound && output.soundStream < 0)) return kCannotFinishMessage;
    return muxer.begin();
}

// Empty when every cut was copied or the export was cancelled, else the
// message for the user.
std::string copyCuts(Tracks& tracks, const PacketCopier::Output& output, const std::vector<Cut>& cuts,
                     ExportProgress& progress, double& outputSec) {
    PacketCopier copier(tracks.picture, tracks.sound ? &*tracks.sound : nullptr, tracks.reencoder.get(), output,
                        progress, totalLengthSec(cuts));
    double writtenSec = 0;
    for (size_t index = 0; index < cuts.size(); ++index) {
        progress.currentCut.store(int32_t(index));
        if (cuts[index].lengthSec() <= 0) continue;
        switch (copier.copy(cuts[index], writtenSec)) {
        case PacketCopier::Outcome::Cancelled: return {};
        case PacketCopier::Outcome::ReadFailed: return kStoppedMessage;
        case PacketCopier::Outcome::WriteFailed: return writeFailedMessage(output.muxer.writeError());
        case PacketCopier::Outcome::Copied: break;
        }
        writtenSec += cuts[index].lengthSec();
    }
    outputSec = copier.outputSec();
    return {};
}

// Completes the file and gives it the chosen name. Empty on success, else
// the message for the user.
std::string finishAs(Tracks& tracks, Mp4Muxer& muxer, const std::string& partialPath, const std::string& outputPath) {
    const bool sound = !tracks.reencoder || tracks.reencoder->finish();
    return finishOutput(muxer, sound, partialPath, outputPath);
}

}  // namespace

bool pictureCanBeCopied(const std::string& sourcePath) {
    TrackPackets picture;
    return picture.open(sourcePath, AVMEDIA_TYPE_VIDEO) && copyableCodec(picture.stream());
}

ExportResult exportStreamCopy(const std::string& sourcePath, const std::string& outputPath,
                              const std::vector<Cut>& cuts, bool keepSound, ExportProgress& progress) {
    ExportResult result;
    if (cuts.empty() || !(totalLengthSec(cuts) > 0)) {
        result.message = kNoRalliesMessage;
        return result;
    }
    Tracks tracks;
    if (std::string error = openTracks(sourcePath, keepSound, tracks, result); !error.empty()) {
        result.message = error;
        return result;
    }
    if (sameFile(outputPath, sourcePath)) {
        result.message = kSameFileMessage;
        return result;
    }

    // Written under another name, so that a failed or cancelled export
    // leaves nothing half-written behind and an older file untouched.
    const std::string partialPath = partialPathFor(outputPath);
    auto muxer = std::make_unique<Mp4Muxer>();
    PacketCopier::Output output{*muxer, -1, -1};
    double outputSec = 0;
    result.message = openOutput(partialPath, tracks, *muxer, output);
    if (result.message.empty()) result.message = copyCuts(tracks, output, cuts, progress, outputSec);
    result.cancelled = progress.cancel.load();
    if (!result.cancelled && result.message.empty()) result.message = finishAs(tracks, *muxer, partialPath, outputPath);
    if (result.cancelled || !result.message.empty()) {
        muxer.reset();  // closes the file before it goes
        removeFile(partialPath);
        return result;
    }
    progress.fraction.store(1.0f);
    result.ok = true;
    result.outputSec = outputSec;
    return result;
}

}  // namespace rallinox

