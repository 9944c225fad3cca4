"""Reads an EDL with OpenTimelineIO's CMX 3600 reader and checks it against
the rallies it was written for.

usage: read_edl.py EDL FPS RALLIES
RALLIES holds one line "start end" (seconds) per expected event, in order.
Exits with 0 when every event is found where it belongs, 1 otherwise.
"""
import math
import re
import sys

import opentimelineio as otio

TIMECODE = r"\d\d:\d\d:\d\d:\d\d"
EVENT = re.compile(rf"^\d{{3,}} +AX +AA/V +C +({TIMECODE}) ({TIMECODE}) ({TIMECODE}) ({TIMECODE})$")


def frame_at(seconds, fps):
    return max(0, math.floor(seconds * fps + 0.5))


def main(edl_path, fps_text, rallies_path):
    fps = float(fps_text)
    with open(rallies_path, encoding="utf-8") as f:
        rallies = [tuple(map(float, line.split())) for line in f if line.strip()]
    with open(edl_path, encoding="utf-8") as f:
        written = [m.groups() for m in map(EVENT.match, f.read().splitlines()) if m]

    timeline = otio.adapters.read_from_file(edl_path, adapter_name="cmx_3600", rate=fps)
    video = [t for t in timeline.tracks if t.kind == otio.schema.TrackKind.Video]
    if len(video) != 1:
        return f"expected one video track, found {len(video)}"
    clips = list(video[0].find_clips())
    if not (len(clips) == len(written) == len(rallies)):
        return f"{len(rallies)} rallies, {len(written)} event lines, {len(clips)} clips read"

    def timecode(time):
        return otio.opentime.to_timecode(time, fps, drop_frame=False)

    record_frame = 0
    for number, (clip, line, (start, end)) in enumerate(zip(clips, written, rallies), 1):
        source = clip.source_range
        record = video[0].range_of_child(clip)
        read = (timecode(source.start_time), timecode(source.end_time_exclusive()),
                timecode(record.start_time), timecode(record.end_time_exclusive()))
        if read != line:
            return f"event {number}: written {line}, read {read}"
        source_in = frame_at(start, fps)
        length = max(0, frame_at(end, fps) - source_in)
        expected = (source_in, length, record_frame)
        found = (round(source.start_time.to_frames(fps)), round(source.duration.to_frames(fps)),
                 round(record.start_time.to_frames(fps)))
        if found != expected:
            return f"event {number}: expected in/length/record {expected}, read {found}"
        record_frame += length
    return None


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    problem = main(*sys.argv[1:])
    if problem:
        sys.exit("EDL check failed: " + problem)
