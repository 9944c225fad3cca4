"""Labelled feature records from generated matches.

For every match: rallinox-synth renders a video with its ground truth (kept
between runs: it depends only on the seed), rallinox-analyze writes the
feature tables the models see (always run again, so they follow the engine),
and each record is labelled from the truth:

- a track is the ball when the true ball is visible over most of the track's
  frames and the track's start, end and mean positions lie near the true ball
  at the same frames; it is not the ball when neither its start nor its end
  lies near the ball; tracks in between (partly on the ball) are left out,
  as their label would be a guess;
- a window is play when its middle lies inside a true rally.

Window features depend on which tracks the track model calls the ball, so
the windows are read from a second analysis run with the new track model
built in (see train.py).

Track positions in the table are shares of the engine's frame size estimate
(the right-most and lowest box edge of the match), not of the analysis
picture; that size is recovered per match as the one that puts the most track
ends onto the true ball (frame_size_estimate).
"""

import csv
import json
import math
import subprocess

import numpy as np

from contract import TRACK_FEATURES, WINDOW_FEATURES

MATCH_SECONDS = 120
MIN_VISIBLE_SHARE = 0.6


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


class Truth:
    """The true ball per analysed frame, in analysis pixels."""

    def __init__(self, path, analysis):
        with open(path) as f:
            truth = json.load(f)
        self.rallies = [(r["startSec"], r["endSec"]) for r in truth["rallies"]]
        self.fps = analysis["videoFps"]
        self.step = int(analysis["frameStep"])
        self.analysis_width = analysis["analysisWidth"]
        self.analysis_height = analysis["analysisHeight"]
        self.sx = analysis["analysisWidth"] / truth["width"]
        self.sy = analysis["analysisHeight"] / truth["height"]
        self.ball = truth["ball"]

    def ball_at(self, analysed_frame):
        index = int(analysed_frame) * self.step
        if not 0 <= index < len(self.ball) or self.ball[index] is None:
            return None
        x, y, radius = self.ball[index]
        return x * self.sx, y * self.sy, radius * self.sx

    def in_rally(self, analysed_frame):
        t = analysed_frame * self.step / self.fps
        return any(start <= t <= end for start, end in self.rallies)


def _near(truth_ball, x, y, tolerance):
    return truth_ball is not None and math.hypot(truth_ball[0] - x, truth_ball[1] - y) <= tolerance


def _tolerance(radius, analysis_width):
    return max(4.0 * radius, 0.015 * analysis_width)


def frame_size_estimate(truth, track_frames, track_features, analysis_width, analysis_height):
    """The (width, height) that makes the most track starts and ends land on
    the true ball; the analysis size when none does."""
    points = []
    for frames, features in zip(track_frames, track_features):
        f = dict(zip(TRACK_FEATURES, features))
        for frame, x, y in ((frames[1], f["Start_X"], f["Start_Y"]), (frames[2], f["End_X"], f["End_Y"])):
            ball = truth.ball_at(frame)
            if ball is not None:
                points.append((ball[0], ball[1], x, y, _tolerance(ball[2], analysis_width)))
    if not points:
        return analysis_width, analysis_height
    tx, ty, x, y, tol = (np.array(column) for column in zip(*points))
    widths = np.arange(analysis_width // 2, analysis_width + 1, dtype=float)
    heights = np.arange(analysis_height // 2, analysis_height + 1, dtype=float)
    x_hits = np.abs(tx[None, :] - x[None, :] * widths[:, None]) <= tol[None, :]
    y_hits = np.abs(ty[None, :] - y[None, :] * heights[:, None]) <= tol[None, :]
    hits = x_hits.astype(int) @ y_hits.T.astype(int)
    if hits.max() == 0:
        return analysis_width, analysis_height
    # Prefer the largest size among equals: the estimate is usually the full picture.
    best = np.argwhere(hits == hits.max())[-1]
    return widths[best[0]], heights[best[1]]


def track_label(truth, frames, features, width, height, analysis_width):
    """1 ball, 0 not the ball, None ambiguous."""
    f = dict(zip(TRACK_FEATURES, features))
    first, last = int(frames[1]), int(frames[2])
    balls = [truth.ball_at(i) for i in range(first, last + 1)]
    visible = [b for b in balls if b is not None]
    radius = max((b[2] for b in visible), default=0.0)
    tolerance = _tolerance(radius, analysis_width)
    start_ok = _near(balls[0], f["Start_X"] * width, f["Start_Y"] * height, tolerance)
    end_ok = _near(balls[-1], f["End_X"] * width, f["End_Y"] * height, tolerance)
    if not start_ok and not end_ok:
        return 0
    if not (start_ok and end_ok) or len(visible) < MIN_VISIBLE_SHARE * len(balls):
        return None
    mean = (np.mean([b[0] for b in visible]), np.mean([b[1] for b in visible]), 0.0)
    return 1 if _near(mean, f["Mean_X"] * width, f["Mean_Y"] * height, 2 * tolerance) else None


def _analyse(build, work, seed):
    """Runs the analysis on one generated match (rendered once) and returns
    its truth and feature folder."""
    video = work / f"match-{seed}.mp4"
    truth_file = work / f"match-{seed}.json"
    features = work / f"match-{seed}"
    if not truth_file.exists():
        subprocess.run([str(build / "tools" / "synth" / "rallinox-synth"), "--seed", str(seed),
                        "--seconds", str(MATCH_SECONDS), "--out", str(video), "--truth", str(truth_file)],
                       check=True, stdout=subprocess.DEVNULL)
    subprocess.run([str(build / "tools" / "analyze" / "rallinox-analyze"), str(video), "--features", str(features)],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return Truth(truth_file, _read_analysis(features / "analysis.csv")), features


def _track_records(build, work, seed):
    truth, features = _analyse(build, work, seed)
    analysis_width, analysis_height = truth.analysis_width, truth.analysis_height
    track_frames, track_x = _read_table(features / "tracks.csv", ["trackId", "firstFrame", "lastFrame"],
                                        TRACK_FEATURES)
    width, height = frame_size_estimate(truth, track_frames, track_x, analysis_width, analysis_height)
    labels = [track_label(truth, frames, x, width, height, analysis_width)
              for frames, x in zip(track_frames, track_x)]
    kept = [i for i, label in enumerate(labels) if label is not None]
    track_y = np.array([labels[i] for i in kept], dtype=np.int64)
    print(f"match {seed}: frame size estimate {width:.0f}x{height:.0f}, "
          f"{len(kept)} of {len(labels)} tracks labelled ({int(track_y.sum())} ball)")
    return track_x[kept], track_y


def _window_records(build, work, seed):
    truth, features = _analyse(build, work, seed)
    window_frames, window_x = _read_table(features / "windows.csv", ["startFrame", "endFrame"], WINDOW_FEATURES)
    window_y = np.array([truth.in_rally((a + b) / 2) for a, b in window_frames], dtype=np.int64)
    print(f"match {seed}: {len(truth.rallies)} rallies, {len(window_y)} windows ({int(window_y.sum())} play)")
    return window_x, window_y


def _collect(records, name, count, seed, work, build):
    work.mkdir(parents=True, exist_ok=True)
    parts = [records(build, work, seed + i) for i in range(count)]
    X, y = np.vstack([p[0] for p in parts]), np.concatenate([p[1] for p in parts])
    if min(int(y.sum()), int(len(y) - y.sum())) < 4:
        raise SystemExit(f"too few {name} records of one class ({int(y.sum())} of {len(y)} positive): "
                         "use more matches")
    return X, y


def labelled_tracks(count, seed, work, build):
    return _collect(_track_records, "track", count, seed, work, build)


def labelled_windows(count, seed, work, build):
    return _collect(_window_records, "window", count, seed, work, build)
