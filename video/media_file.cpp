#include "video/media_file.h"

extern "C" {
#include <libavutil/display.h>
}

#include <cmath>

namespace rallinox {

MediaFile::~MediaFile() {
    avformat_close_input(&format_);
    avio_closep(&io_);
}

bool MediaFile::open(const std::string& path) {
    // Our own I/O context on the literal file keeps FFmpeg from reading the
    // name as "concat:", "http:" or "%03d.png".
    const std::string url = "file:" + path;
    if (avio_open(&io_, url.c_str(), AVIO_FLAG_READ) < 0) return false;
    format_ = avformat_alloc_context();
    if (!format_) return false;
    format_->pb = io_;
    format_->flags |= AVFMT_FLAG_CUSTOM_IO;

    AVDictionary* options = nullptr;
    av_dict_set(&options, "ignore_editlist", "1", 0);
    const int opened = avformat_open_input(&format_, nullptr, nullptr, &options);
    av_dict_free(&options);
    if (opened < 0) return false;  // frees format_ and sets it to null
    return avformat_find_stream_info(format_, nullptr) >= 0;
}

int MediaFile::firstStream(AVMediaType type) const {
    if (!format_) return -1;
    for (unsigned i = 0; i < format_->nb_streams; ++i) {
        const AVStream* stream = format_->streams[i];
        if (stream->codecpar->codec_type == type && !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC))
            return int(i);
    }
    return -1;
}

std::uint32_t clockwiseRotation(const AVStream& stream) {
    const auto* matrix =
        reinterpret_cast<const std::int32_t*>(av_stream_get_side_data(&stream, AV_PKT_DATA_DISPLAYMATRIX, nullptr));
    if (!matrix) return 0;
    const double counterClockwise = av_display_rotation_get(matrix);
    if (std::isnan(counterClockwise)) return 0;
    const long quarterTurns = std::lround(-counterClockwise / 90.0);
    return std::uint32_t(((quarterTurns % 4) + 4) % 4) * 90;
}

bool holdsOnlySound(const std::string& path) {
    MediaFile file;
    return file.open(path) && file.firstStream(AVMEDIA_TYPE_VIDEO) < 0 && file.firstStream(AVMEDIA_TYPE_AUDIO) >= 0;
}

}  // namespace rallinox
