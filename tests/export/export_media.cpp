#include "tests/export/export_media.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "tests/support/test_videos.h"
#include "video/media_file.h"
#include "video/mp4_boxes.h"
#include "video/source_reader.h"

namespace rallinox::test {
namespace {

constexpr int kPerLumaStep = 50;

int numberShown(const mf::MediaSample& sample) {
    double luma = 0;
    double v = 0;
    for (unsigned y = 0; y < sample.height; ++y)
        for (unsigned x = 0; x < sample.width; ++x) luma += sample.luma[y * sample.lumaPitch + x];
    for (unsigned y = 0; y < sample.height / 2; ++y)
        for (unsigned x = 0; x < sample.width / 2; ++x) v += sample.chroma[y * sample.chromaPitch + 2 * x + 1];
    luma /= double(sample.width) * sample.height;
    v /= double(sample.width / 2) * (sample.height / 2);
    return int(std::lround((luma - 16) / 4)) + kPerLumaStep * int(std::lround((v - 32) / 16));
}

double streamSec(const AVStream& stream) {
    return stream.duration == AV_NOPTS_VALUE ? 0 : double(stream.duration) * av_q2d(stream.time_base);
}

void readStreams(const std::string& path, ReadBack& file) {
    MediaFile media;
    if (!media.open(path)) return;
    const int video = media.firstStream(AVMEDIA_TYPE_VIDEO);
    const int audio = media.firstStream(AVMEDIA_TYPE_AUDIO);
    if (video >= 0) {
        const AVStream& stream = *media.format()->streams[video];
        file.fps = av_q2d(stream.avg_frame_rate);
        file.videoSec = streamSec(stream);
        file.videoCodec = avcodec_get_name(stream.codecpar->codec_id);
    }
    if (audio >= 0) {
        const AVStream& stream = *media.format()->streams[audio];
        file.hasAudio = true;
        file.audioSec = streamSec(stream);
        file.audioRate = stream.codecpar->sample_rate;
        file.audioCodec = avcodec_get_name(stream.codecpar->codec_id);
    }
}

}  // namespace

namespace {

std::string numberedPicture(int fps) {
    std::ostringstream input;
    input << "-f lavfi -i \"nullsrc=s=160x120:r=" << fps << ",format=yuv420p,geq=lum='16+4*mod(N," << kPerLumaStep
          << ")':cb=128:cr='32+16*trunc(N/" << kPerLumaStep << ")'\" ";
    return input.str();
}

std::string encodedFor(int seconds, const std::string& path) {
    return "-t " + std::to_string(seconds) + " -c:v libx264 -qp 1 -bf 2 -g 50 \"" + path + '"';
}

}  // namespace

bool writeNumberedSource(const std::string& path, int fps, int seconds, int audioRate) {
    std::string sound;
    if (audioRate > 0) sound = "-f lavfi -i \"sine=f=440:r=" + std::to_string(audioRate) + "\" -ac 2 -c:a aac ";
    return runFfmpeg(numberedPicture(fps) + sound + encodedFor(seconds, path));
}

bool writeBeepingSource(const std::string& path, int fps, int seconds, double beepSec) {
    std::ostringstream sound;
    sound << "-f lavfi -i \"aevalsrc='if(between(t," << beepSec << "," << beepSec + 0.5
          << "),0.5*sin(2*PI*440*t),0)':s=48000:c=stereo\" -c:a aac ";
    return runFfmpeg(numberedPicture(fps) + sound.str() + encodedFor(seconds, path));
}

double firstSoundSec(const std::string& path) {
    mf::SourceReader reader;
    mf::VideoFormat format;
    mf::AudioFormat audio;
    bool hasAudio = false;
    std::string error;
    if (!reader.open(path) || !mf::configureReader(reader, format, audio, hasAudio, error) || !hasAudio) return -1;
    mf::MediaSample sample;
    for (mf::ReadStatus status = reader.read(sample);
         status == mf::ReadStatus::Sample || status == mf::ReadStatus::StreamEnded; status = reader.read(sample)) {
        if (status != mf::ReadStatus::Sample || sample.stream != mf::StreamKind::Audio) continue;
        for (int i = 0; i < sample.frames; ++i)
            if (std::abs(sample.pcm[i * int(audio.channels)]) > 4000)
                return double(sample.time) / 1e7 + double(i) / audio.sampleRate;
    }
    return -1;
}

ReadBack readBack(const std::string& path) {
    ReadBack file;
    readStreams(path, file);
    mf::SourceReader reader;
    mf::VideoFormat format;
    mf::AudioFormat audio;
    bool hasAudio = false;
    std::string error;
    if (!reader.open(path) || !mf::configureReader(reader, format, audio, hasAudio, error)) return file;
    reader.deselectAudio();
    file.opened = true;
    file.width = int(format.width);
    file.height = int(format.height);
    file.rotation = format.rotation;
    // Times as a player shows them: from the start the edit list gives.
    const double startSec = mp4VideoStartOffset(path);
    mf::MediaSample sample;
    for (;;) {
        const mf::ReadStatus status = reader.read(sample);
        if (status != mf::ReadStatus::Sample) break;
        if (sample.stream == mf::StreamKind::Video)
            file.frames.push_back(
                {double(sample.time) / 1e7 - startSec, numberShown(sample), sample.luma[8 * sample.lumaPitch + 8]});
    }
    return file;
}

const DecodedFrame* frameAt(const ReadBack& file, double timeSec) {
    const DecodedFrame* best = nullptr;
    for (const DecodedFrame& frame : file.frames)
        if (frame.timeSec >= timeSec - 1e-4 && (!best || frame.timeSec < best->timeSec)) best = &frame;
    return best;
}

}  // namespace rallinox::test
