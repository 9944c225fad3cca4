"""Reads a timeline for video editors with OpenTimelineIO and checks it
against the rallies it was written for.

usage: read_timeline.py FORMAT FILE FPS_NUM FPS_DEN RALLIES
FORMAT is fcpxml, xmeml or otio. RALLIES holds one line "start<TAB>end<TAB>name"
(seconds) per expected clip, in order. Exits with 0 when every clip is found
with its name and source range, 1 otherwise.
"""
import math
import sys
import xml.etree.ElementTree as ElementTree
from fractions import Fraction

import opentimelineio as otio

ADAPTERS = {"fcpxml": "fcpx_xml", "xmeml": "fcp_xml", "otio": "otio_json"}


def frame_at(seconds, rate):
    return max(0, math.floor(seconds * rate + Fraction(1, 2)))


def timeline_of(read):
    # The FCPXML reader gives the events of the library, each holding its projects.
    if isinstance(read, otio.schema.SerializableCollection):
        timelines = list(read.find_children(descended_from_type=otio.schema.Timeline))
        return timelines[0] if len(timelines) == 1 else None
    return read


def exact_fcpxml_ranges(path):
    """The asset-clips' start, duration and offset as the rational seconds written."""
    spine = ElementTree.parse(path).getroot().find("./library/event/project/sequence/spine")
    return [tuple(Fraction(clip.get(name).rstrip("s")) for name in ("start", "duration", "offset"))
            for clip in spine.findall("asset-clip")]


def main(kind, path, num, den, rallies_path):
    rate = Fraction(int(num), int(den))
    with open(rallies_path, encoding="utf-8") as f:
        rallies = [(float(s), float(e), name) for s, e, name in (line.rstrip("\n").split("\t") for line in f)]
    expected = [(frame_at(s, rate), frame_at(e, rate) - frame_at(s, rate), name) for s, e, name in rallies]

    timeline = timeline_of(otio.adapters.read_from_file(path, adapter_name=ADAPTERS[kind]))
    if timeline is None:
        return "no single timeline"
    video = [t for t in timeline.tracks if t.kind == otio.schema.TrackKind.Video]
    if len(video) != 1:
        return f"expected one video track, found {len(video)}"
    clips = list(video[0].find_clips())
    if len(clips) != len(expected):
        return f"{len(expected)} rallies, {len(clips)} clips read"
    record = Fraction(0)
    for number, (clip, (start, length, name)) in enumerate(zip(clips, expected), 1):
        if clip.name != name:
            return f"clip {number}: name {clip.name!r}, expected {name!r}"
        source = clip.source_range
        placed = video[0].range_of_child(clip)
        read = (source.start_time.to_seconds(), source.duration.to_seconds(), placed.start_time.to_seconds())
        wanted = (start / rate, length / rate, record)
        # The FCPXML reader counts whole frames per second (29 for 29.97) and
        # drops fractions of a frame, which also shifts its placing; the
        # written times are checked exactly below. The other readers are exact.
        tolerance = 1.0 / math.floor(rate) if kind == "fcpxml" else 1e-6
        compared = 2 if kind == "fcpxml" else 3
        if any(abs(float(a) - float(b)) > tolerance for a, b in list(zip(read, wanted))[:compared]):
            return f"clip {number}: start/length/place {read}, expected {tuple(map(float, wanted))}"
        record += length / rate
    if kind == "fcpxml":
        exact, place = [], Fraction(0)
        for start, length, _ in expected:
            exact.append((start / rate, length / rate, place))
            place += length / rate
        if exact_fcpxml_ranges(path) != exact:
            return f"rational times {exact_fcpxml_ranges(path)}, expected {exact}"
    return None


if __name__ == "__main__":
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    problem = main(*sys.argv[1:])
    if problem:
        sys.exit("timeline check failed: " + problem)
