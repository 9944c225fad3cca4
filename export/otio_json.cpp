#include "export/otio_json.h"

#include "app/core/json.h"

namespace rallinox {
namespace {

JsonValue schemaObject(const char* schema) {
    JsonValue object = JsonValue::emptyObject();
    object.set("OTIO_SCHEMA") = schema;
    return object;
}

JsonValue time(int64_t frames, FrameRate rate) {
    JsonValue value = schemaObject("RationalTime.1");
    value.set("rate") = double(rate.num) / double(rate.den);
    value.set("value") = double(frames);
    return value;
}

JsonValue range(int64_t startFrame, int64_t frames, FrameRate rate) {
    JsonValue value = schemaObject("TimeRange.1");
    value.set("start_time") = time(startFrame, rate);
    value.set("duration") = time(frames, rate);
    return value;
}

// The members every OpenTimelineIO item carries.
JsonValue item(const char* schema, const std::string& name) {
    JsonValue value = schemaObject(schema);
    value.set("name") = name;
    value.set("metadata") = JsonValue::emptyObject();
    value.set("effects") = JsonValue::emptyArray();
    value.set("markers") = JsonValue::emptyArray();
    value.set("enabled") = true;
    value.set("source_range") = JsonValue();
    return value;
}

JsonValue mediaReference(const Timeline& timeline) {
    JsonValue reference = schemaObject("ExternalReference.1");
    reference.set("name") = timeline.videoName;
    reference.set("metadata") = JsonValue::emptyObject();
    reference.set("target_url") = fileUrl(timeline.videoPath);
    reference.set("available_range") = range(0, timeline.videoFrames, timeline.rate);
    reference.set("available_image_bounds") = JsonValue();
    return reference;
}

JsonValue clipOf(const TimelineClip& clip, const Timeline& timeline) {
    JsonValue value = item("Clip.2", clip.name);
    value.set("source_range") = range(clip.startFrame, clip.frames, timeline.rate);
    value.set("media_references").set("DEFAULT_MEDIA") = mediaReference(timeline);
    value.set("active_media_reference_key") = "DEFAULT_MEDIA";
    if (!clip.score.empty()) {
        JsonValue marker = schemaObject("Marker.2");
        marker.set("name") = clip.score;
        marker.set("metadata") = JsonValue::emptyObject();
        marker.set("color") = "RED";
        marker.set("comment") = "";
        marker.set("marked_range") = range(clip.startFrame + clip.frames - 1, 0, timeline.rate);
        value.set("markers").push(std::move(marker));
    }
    return value;
}

}  // namespace

std::string otioText(const Timeline& timeline) {
    JsonValue track = item("Track.1", "Rallies");
    track.set("kind") = "Video";
    track.set("children") = JsonValue::emptyArray();
    for (const TimelineClip& clip : timeline.clips) track.set("children").push(clipOf(clip, timeline));
    JsonValue stack = item("Stack.1", "tracks");
    stack.set("children").push(std::move(track));
    JsonValue document = schemaObject("Timeline.1");
    document.set("name") = timeline.title;
    document.set("metadata") = JsonValue::emptyObject();
    document.set("global_start_time") = JsonValue();
    document.set("tracks") = std::move(stack);
    return document.dump(4) + "\n";
}

}  // namespace rallinox
