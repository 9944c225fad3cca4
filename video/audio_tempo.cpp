#include "video/audio_tempo.h"

#include "video/ffmpeg_ptr.h"

extern "C" {
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/channel_layout.h>
}

#include <cstdio>
#include <cstring>

namespace rallinox {

AudioTempo::~AudioTempo() { release(); }

void AudioTempo::release() {
    avfilter_graph_free(&graph_);
    source_ = nullptr;
    sink_ = nullptr;
}

bool AudioTempo::reset(double tempo, int sampleRate, int channels) {
    release();
    sampleRate_ = sampleRate;
    channels_ = channels;
    nextPts_ = 0;
    if (tempo == 1.0) return true;

    AVChannelLayout layout{};
    av_channel_layout_default(&layout, channels);
    char layoutName[64] = {};
    av_channel_layout_describe(&layout, layoutName, sizeof layoutName);
    av_channel_layout_uninit(&layout);
    char sourceArgs[160];
    std::snprintf(sourceArgs, sizeof sourceArgs, "time_base=1/%d:sample_rate=%d:sample_fmt=flt:channel_layout=%s",
                  sampleRate, sampleRate, layoutName);
    char tempoArgs[32];
    std::snprintf(tempoArgs, sizeof tempoArgs, "tempo=%g", tempo);

    graph_ = avfilter_graph_alloc();
    AVFilterContext* tempoFilter = nullptr;
    const bool built =
        graph_ &&
        avfilter_graph_create_filter(&source_, avfilter_get_by_name("abuffer"), "in", sourceArgs, nullptr, graph_) >=
            0 &&
        avfilter_graph_create_filter(&tempoFilter, avfilter_get_by_name("atempo"), "tempo", tempoArgs, nullptr,
                                     graph_) >= 0 &&
        avfilter_graph_create_filter(&sink_, avfilter_get_by_name("abuffersink"), "out", nullptr, nullptr, graph_) >=
            0 &&
        avfilter_link(source_, 0, tempoFilter, 0) >= 0 && avfilter_link(tempoFilter, 0, sink_, 0) >= 0 &&
        avfilter_graph_config(graph_, nullptr) >= 0;
    if (!built) release();
    return built;
}

void AudioTempo::process(const float* samples, int frames, std::vector<float>& out) {
    if (!graph_ || frames <= 0) return;
    AvFramePtr frame = makeFrame();
    if (!frame) return;
    frame->format = AV_SAMPLE_FMT_FLT;
    frame->sample_rate = sampleRate_;
    frame->nb_samples = frames;
    frame->pts = nextPts_;
    av_channel_layout_default(&frame->ch_layout, channels_);
    if (av_frame_get_buffer(frame.get(), 0) < 0) return;
    std::memcpy(frame->data[0], samples, size_t(frames) * size_t(channels_) * sizeof(float));
    nextPts_ += frames;
    if (av_buffersrc_add_frame(source_, frame.get()) < 0) return;
    pull(out);
}

void AudioTempo::finish(std::vector<float>& out) {
    if (!graph_) return;
    if (av_buffersrc_add_frame(source_, nullptr) >= 0) pull(out);
}

void AudioTempo::pull(std::vector<float>& out) {
    AvFramePtr frame = makeFrame();
    if (!frame) return;
    while (av_buffersink_get_frame(sink_, frame.get()) >= 0) {
        const auto* data = reinterpret_cast<const float*>(frame->data[0]);
        out.insert(out.end(), data, data + size_t(frame->nb_samples) * size_t(channels_));
        av_frame_unref(frame.get());
    }
}

}  // namespace rallinox
