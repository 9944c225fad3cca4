"""Labelled feature records from generated matches.

For every match: rallinox-synth renders a video with its ground truth (kept
between runs: it depends only on the seed), rallinox-analyze writes the
feature tables the models see (run again when the analysis program's sources
or its track model change: analysis_stamp.py), and each record is labelled
from the truth:

- a track is the ball when most of its boxes (detections.csv) lie on the
  true ball of their frame, and not the ball when hardly any do; tracks in
  between (partly on the ball) are left out, as their label would be a guess;
- a window is play when its middle lies inside a true rally; windows of a
  warm-up weigh less (WARMUP_WEIGHT), those of a ball retrieval more
  (RETRIEVAL_WEIGHT).

Window features depend on which tracks the track model calls the ball, so
the windows are read from a second analysis run with the new track model
built in (see train.py).
"""

import csv
import math
import pathlib
import subprocess
from concurrent.futures import ThreadPoolExecutor

import numpy as np

import analysis_stamp
from contract import TRACK_FEATURES, WINDOW_FEATURES
from sizes import at_training_sizes
from truth import Truth, window_labels

MATCH_SECONDS = 120
BALL_SHARE = 0.6       # boxes on the true ball that make a track the ball
NOT_BALL_SHARE = 0.2   # at most this share on the ball: not the ball
# A third of the matches open with a warm-up of 25-80 s, which fills a sixth
# of a 2-minute match but a few percent of a recording users bring. Counted
# in full, warm-ups taught the action model that a ball followed for long is
# no rally, and long rallies were cut or missed. Their windows weigh as they
# would in a 10-minute recording.
WARMUP_WEIGHT = MATCH_SECONDS / 600
# A ball carried, rolled or thrown back after a rally was the commonest false
# rally on held-out matches (21 of 60). Twice the weight on those windows
# found rallies better in 4-fold cross-validation by match on the training
# matches (F1 0.715 -> 0.728) and on the held-out ones.
RETRIEVAL_WEIGHT = 2.0


def _read_table(path, leading, names):
    with open(path, newline="") as f:
        rows = list(csv.reader(f))
    if rows[0] != leading + names:
        raise SystemExit(f"{path}: columns differ from the models' feature order")
    body = np.array([[float(v) for v in row] for row in rows[1:]]).reshape(-1, len(rows[0]))
    return body[:, :len(leading)], body[:, len(leading):]


def _read_analysis(path):
    with open(path, newline="") as f:
        return {k: float(v) for k, v in next(csv.DictReader(f)).items()}


def _near(truth_ball, x, y, tolerance):
    return truth_ball is not None and math.hypot(truth_ball[0] - x, truth_ball[1] - y) <= tolerance


def _tolerance(radius, analysis_width):
    return max(4.0 * radius, 0.015 * analysis_width)


def read_boxes(path):
    """Boxes of a detections.csv or balls.csv, grouped by track id:
    {trackId: [(frame, centre x, centre y), ...]}; filled-in boxes left out."""
    tracks = {}
    with open(path, newline="") as f:
        for row in csv.DictReader(f):
            if row["interpolated"] == "1":
                continue
            x, y, w, h = (float(row[k]) for k in ("x", "y", "width", "height"))
            tracks.setdefault(int(row["trackId"]), []).append((int(row["frame"]), x + w / 2, y + h / 2))
    return tracks


def on_ball_share(truth, boxes):
    """Share of the boxes whose centre lies on the true ball of their frame."""
    if not boxes:
        return 0.0
    hits = 0
    for frame, x, y in boxes:
        ball = truth.ball_at(frame)
        hits += ball is not None and _near(ball, x, y, _tolerance(ball[2], truth.analysis_width))
    return hits / len(boxes)


def track_label(share):
    """1 ball, 0 not the ball, None when the track is partly on the ball:
    its label would be a guess."""
    if share >= BALL_SHARE:
        return 1
    if share <= NOT_BALL_SHARE:
        return 0
    return None


class Analysis:
    """The analysis program of `build`: its sources' digest and that of the
    track model built in (a folder of models, see train.build_analysis)."""

    def __init__(self, build, models):
        self.program = build / "tools" / "analyze" / "rallinox-analyze"
        self.key = analysis_stamp.program_key()
        self.track_model = analysis_stamp.file_key(pathlib.Path(models) / "track.rmod")


def _analyse(build, work, seed, analysis, windows):
    """Runs the analysis on one generated match (rendered once per generator)
    and returns its truth and feature folder. Tables of an earlier run are
    read again when the same program wrote them, with the same track model
    when `windows` (the window table) are read."""
    renders = work / f"synth-{analysis_stamp.generator_key()}"
    renders.mkdir(parents=True, exist_ok=True)
    video = renders / f"match-{seed}.mp4"
    truth_file = renders / f"match-{seed}.json"
    features = work / f"match-{seed}"
    if not truth_file.exists():
        # 720p keeps rendering affordable: the analysis sees every size at 480
        # lines, and the window rows are rescaled to the other sizes (sizes.py).
        # Views and camera reach are drawn from the seed; every fourth match
        # runs at 50 frames per second, which the analysis reads with a step of 2.
        fps = 50 if seed % 4 == 3 else (25, 30)[seed % 2]
        subprocess.run([str(build / "tools" / "synth" / "rallinox-synth"), "--seed", str(seed),
                        "--seconds", str(MATCH_SECONDS), "--size", "1280x720", "--fps", str(fps),
                        "--out", str(video), "--truth", str(truth_file)],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    if not analysis_stamp.written_by(features, video, analysis.key, analysis.track_model if windows else None):
        analysis_stamp.forget(features)
        subprocess.run([str(analysis.program), str(video), "--features", str(features)],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        analysis_stamp.record(features, video, analysis.key, analysis.track_model)
    return Truth(truth_file, _read_analysis(features / "analysis.csv")), features


def _track_records(build, work, seed, analysis):
    truth, features = _analyse(build, work, seed, analysis, windows=False)
    track_frames, track_x = _read_table(features / "tracks.csv", ["trackId", "firstFrame", "lastFrame"],
                                        TRACK_FEATURES)
    boxes = read_boxes(features / "detections.csv")
    labels = [track_label(on_ball_share(truth, boxes.get(int(frames[0]), []))) for frames in track_frames]
    kept = [i for i, label in enumerate(labels) if label is not None]
    track_y = np.array([labels[i] for i in kept], dtype=np.int64)
    print(f"match {seed}: {len(kept)} of {len(labels)} tracks labelled ({int(track_y.sum())} ball)")
    return track_x[kept], track_y, np.ones(len(kept))


def _window_records(build, work, seed, analysis):
    truth, features = _analyse(build, work, seed, analysis, windows=True)
    window_frames, window_x = _read_table(features / "windows.csv", ["startFrame", "endFrame"], WINDOW_FEATURES)
    labels, weights = window_labels(truth, window_frames, WARMUP_WEIGHT, RETRIEVAL_WEIGHT)
    window_y, weights = np.array(labels, dtype=np.int64), np.array(weights)
    print(f"match {seed}: {len(truth.rallies)} rallies, {len(window_y)} windows ({int(window_y.sum())} play)")
    # The same windows as a render at every training size would give them.
    size = (int(truth.video_width), int(truth.video_height))
    rows = np.array(at_training_sizes(window_x.tolist(), size)).reshape(-1, window_x.shape[1])
    copies = len(rows) // max(1, len(window_y))
    return rows, np.tile(window_y, copies), np.tile(weights, copies)


def _collect(records, name, count, seed, work, build, models):
    work.mkdir(parents=True, exist_ok=True)
    analysis = Analysis(build, models)
    # Two matches at a time: rendering and analysing each keep about one core busy.
    with ThreadPoolExecutor(max_workers=2) as pool:
        parts = list(pool.map(lambda i: records(build, work, seed + i, analysis), range(count)))
    X, y, weights = (np.concatenate([p[k] for p in parts]) for k in range(3))
    if min(int(y.sum()), int(len(y) - y.sum())) < 4:
        raise SystemExit(f"too few {name} records of one class ({int(y.sum())} of {len(y)} positive): "
                         "use more matches")
    return X, y, weights


def labelled_tracks(count, seed, work, build, models):
    """Track records of `count` matches, analysed by `build` built with the models of `models`."""
    return _collect(_track_records, "track", count, seed, work, build, models)


def labelled_windows(count, seed, work, build, models):
    """Window records, likewise."""
    return _collect(_window_records, "window", count, seed, work, build, models)
