#include "export/mp4_export.h"

#include <memory>
#include <optional>

#include "export/audio_encoder.h"
#include "export/av_error.h"
#include "export/cut_copier.h"
#include "export/mp4_muxer.h"
#include "export/output_file.h"
#include "export/video_encoder.h"
#include "video/media_time.h"
#include "video/mp4_boxes.h"
#include "video/source_reader.h"

namespace rallinox {
namespace {

struct Source {
    mf::SourceReader reader;
    mf::VideoFormat video;
    mf::AudioFormat audio;
    bool hasAudio = false;
};

// Opens the source for NV12 pictures and, when `keepSound`, 16-bit PCM.
std::string openSource(const std::string& path, bool keepSound, Source& source, ExportResult& result) {
    if (!source.reader.open(path)) return kCannotOpenMessage;
    std::string error;
    if (!mf::configureReader(source.reader, source.video, source.audio, source.hasAudio, error)) return error;
    if (source.hasAudio && keepSound &&
        !soundFormatSupported(int(source.audio.sampleRate), int(source.audio.channels)))
        result.noSound = true;
    if (!keepSound || result.noSound) {
        source.hasAudio = false;
        source.reader.deselectAudio();
    }
    return {};
}

// Encoders and file of one export; the audio encoder only when sound is written.
struct Destination {
    Mp4Muxer muxer;
    VideoEncoder video;
    std::optional<AudioEncoder> audio;
};

std::string openDestination(const std::string& path, const Source& source, Destination& destination) {
    if (std::string error = destination.muxer.create(path); !error.empty()) return error;
    const AVRational rate{int(source.video.fpsNum), int(source.video.fpsDen)};
    if (std::string error = destination.video.open(int(source.video.visibleWidth), int(source.video.visibleHeight),
                                                    rate, source.video.rotation, destination.muxer);
        !error.empty())
        return error;
    if (source.hasAudio) {
        destination.audio.emplace();
        if (std::string error =
                destination.audio->open(int(source.audio.sampleRate), int(source.audio.channels), destination.muxer);
            !error.empty())
            return error;
    }
    return destination.muxer.begin();
}

// Completes the file and gives it the chosen name. Empty on success, else
// the message for the user.
std::string finishAs(Destination& destination, const std::string& partialPath, const std::string& outputPath) {
    const bool video = destination.video.finish();
    const bool audio = !destination.audio || destination.audio->finish();
    return finishOutput(destination.muxer, video && audio, partialPath, outputPath);
}

// Empty when every cut was copied or the export was cancelled, else the
// message for the user.
std::string copyCuts(const std::string& sourcePath, Source& source, Destination& destination,
                     const std::vector<Cut>& cuts, FrameOverlay* overlay, ExportProgress& progress) {
    const CutCopier::TrackStarts starts{ticksFromSeconds(mp4VideoStartOffset(sourcePath)),
                                        ticksFromSeconds(mp4AudioStartOffset(sourcePath))};
    CutCopier copier(source.reader, source.video,
                     {destination.video, destination.audio ? &*destination.audio : nullptr,
                      int(source.audio.sampleRate), int(source.audio.channels), overlay},
                     progress, starts, totalLengthSec(cuts));
    double writtenSec = 0;
    for (size_t index = 0; index < cuts.size(); ++index) {
        progress.currentCut.store(int32_t(index));
        switch (copier.copy(cuts[index], index, writtenSec)) {
        case CutCopier::Outcome::Cancelled: return {};
        case CutCopier::Outcome::Failed:
            // The disk, not the source, is the usual cause when the file refused a write.
            if (const int error = destination.muxer.writeError(); error < 0) return writeFailedMessage(error);
            return kStoppedMessage;
        case CutCopier::Outcome::Copied: break;
        }
        writtenSec += cuts[index].lengthSec();
    }
    return {};
}

}  // namespace

bool soundFormatSupported(int sampleRate, int channels) {
    return (sampleRate == 44100 || sampleRate == 48000) && (channels == 1 || channels == 2);
}

ExportResult exportMp4(const std::string& sourcePath, const std::string& outputPath, const std::vector<Cut>& cuts,
                       bool keepSound, FrameOverlay* overlay, ExportProgress& progress) {
    ExportResult result;
    const double totalSec = totalLengthSec(cuts);
    if (cuts.empty() || !(totalSec > 0)) {
        result.message = kNoRalliesMessage;
        return result;
    }
    Source source;
    if (std::string error = openSource(sourcePath, keepSound, source, result); !error.empty()) {
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
    auto destination = std::make_unique<Destination>();
    result.message = openDestination(partialPath, source, *destination);
    if (result.message.empty())
        result.message = copyCuts(sourcePath, source, *destination, cuts, overlay, progress);
    result.cancelled = progress.cancel.load();
    if (!result.cancelled && result.message.empty()) result.message = finishAs(*destination, partialPath, outputPath);
    if (result.cancelled || !result.message.empty()) {
        destination.reset();  // closes the file before it goes
        removeFile(partialPath);
        return result;
    }
    progress.fraction.store(1.0f);
    result.ok = true;
    result.outputSec = totalSec;
    return result;
}

}  // namespace rallinox
