"""Which analysis wrote a match's feature tables, so that training reads
them again instead of analysing the match once more; which generator
rendered a match, so that a changed generator renders it again.

The track tables (tracks.csv, detections.csv) follow from the analysis
program's sources alone; the window table also follows from the track model
built in, as it describes the tracks that model calls the ball. The action
model changes none of them. A stamp beside the tables names both, and the
video they describe.

Plain Python, so that its tests run without the training environment.
"""

import hashlib
import json
import pathlib

ROOT = pathlib.Path(__file__).resolve().parents[2]
# Everything rallinox-analyze builds from, apart from the embedded models.
ANALYSIS_SOURCES = ["engine", "video", "app/core", "app/jobs", "tools/analyze"]
STAMP = "analysed-with.json"


def program_key(root=ROOT, folders=ANALYSIS_SOURCES):
    """Digest of the analysis program's sources."""
    digest = hashlib.sha256()
    for path in sorted(p for folder in folders for p in (root / folder).rglob("*") if p.is_file()):
        digest.update(str(path.relative_to(root)).encode() + b"\0" + path.read_bytes())
    return digest.hexdigest()[:16]


def generator_key(root=ROOT):
    """Digest of the generator's sources: rendered matches are kept per
    generator, so that changing it renders them again."""
    digest = hashlib.sha256()
    for path in sorted((root / "tools" / "synth").iterdir()):
        if path.is_file():
            digest.update(path.name.encode() + b"\0" + path.read_bytes())
    return digest.hexdigest()[:12]


def file_key(path):
    """Digest of one file: a model container, an analysis program."""
    return hashlib.sha256(pathlib.Path(path).read_bytes()).hexdigest()[:16]


def video_key(video):
    """The rendered video, by path and time of writing: a match rendered
    again by another generator lies elsewhere or is newer."""
    return f"{video}@{pathlib.Path(video).stat().st_mtime_ns}"


def forget(features):
    """Before analysing again: tables half rewritten must not pass for the old ones."""
    (features / STAMP).unlink(missing_ok=True)


def record(features, video, program, track_model):
    """Notes, after a finished analysis, what wrote the tables in `features`."""
    stamp = {"video": video_key(video), "program": program, "trackModel": track_model}
    (features / STAMP).write_text(json.dumps(stamp))


def written_by(features, video, program, track_model=None):
    """Whether `features` holds finished tables of `video` by this program
    (and, when given, this track model)."""
    try:
        stamp = json.loads((features / STAMP).read_text())
    except (OSError, ValueError):
        return False
    if not (features / "analysis.csv").exists():
        return False
    if stamp.get("video") != video_key(video) or stamp.get("program") != program:
        return False
    return track_model is None or stamp.get("trackModel") == track_model
