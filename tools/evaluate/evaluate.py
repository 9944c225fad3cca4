#!/usr/bin/env python3
"""Measures how well the analysis finds rallies, on generated held-out matches.

For every camera set-up and seed, rallinox-synth renders a match with its
ground truth (kept between runs in a folder per generator: it depends only on
its arguments and the generator's sources), then
rallinox-analyze VIDEO --json --features DIR proposes rallies and writes the
ball boxes it followed. A proposal minus its paddings is matched one-to-one
to a true rally (serve toss to dead ball) when their intersection over union
is at least 0.5. Printed per set-up and overall: precision, recall, F1, the
median and 90th percentile of the start and end errors of the matched
rallies, and the share of ball frames found: analysed frames of a rally in
which the true ball is in the picture and a ball-track box lies on it.

Also printed: one line per video size, the worst match of each set-up (lowest
F1), the rallies found per length (serve-only rallies last under 3 s), where
the missed rallies' ball was lost (motion detection never saw it, no track
followed it, or the track model did not take its track for the ball), and the
false rallies (proposals matching no rally) by the activity they
overlap most: a warm-up with several balls, a ball retrieval after a rally,
a server bouncing the ball, a true rally (overlapping it too little) or
nothing recorded. --compare-build scores a second build (e.g. one configured
with -DRALLINOX_MODEL_DIR=DIR holding earlier models) on the same matches and
prints how far apart their F1 is, with the range that holds 90 % of the
differences over the matches drawn again with replacement: on a dozen matches
a difference of 0.01-0.02 is often chance.

Seeds from 900000 on are kept out of training; the default set-ups mix views,
sizes (720p, 1080p and 4K), frame rates and close and far cameras.
"""

import argparse
import csv
import json
import math
import pathlib
import random
import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "train"))
import analysis_stamp  # noqa: E402  (plain Python beside the training)

IOU_THRESHOLD = 0.5
HELD_OUT_SEED = 900001
# Fifteen matches by default, 2 h 6 min of video: both views, three sizes, three frame
# rates, close and far cameras. 4K matches are shorter to keep rendering affordable.
DEFAULT_SETUPS = ["baseline:1280x720:30:close", "side:1280x720:25:far", "baseline:1920x1080:25:far",
                  "side:1920x1080:50:close", "baseline:3840x2160:30:close:2"]
# Rally lengths reported apart: under 3 s is mostly a serve that ends the point.
LENGTH_CLASSES = [("under 3 s", 0.0, 3.0), ("3-6 s", 3.0, 6.0), ("6 s and over", 6.0, math.inf)]
# Draws of the matches behind the range of an F1 difference.
RESAMPLINGS = 2000
# What a false rally overlaps, from the generator's truth file.
ACTIVITIES = [("warmups", "warm-up"), ("retrievals", "retrieval"), ("serveBounces", "serve bounce")]


def iou(a, b):
    overlap = min(a[1], b[1]) - max(a[0], b[0])
    if overlap <= 0:
        return 0.0
    union = max(a[1], b[1]) - min(a[0], b[0])
    return overlap / union


def without_padding(rally):
    """The rally's core: the proposal with its applied paddings taken off."""
    start = rally["startSec"] + rally.get("startPadSec", 0.0)
    end = rally["endSec"] - rally.get("endPadSec", 0.0)
    return (start, end) if end > start else (rally["startSec"], rally["endSec"])


def match_rallies(truth, proposed):
    """Greedy one-to-one matching by highest IoU; returns (truth, proposal) pairs."""
    candidates = sorted(((iou(t, p), i, j) for i, t in enumerate(truth) for j, p in enumerate(proposed)),
                        reverse=True)
    used_truth, used_proposal, pairs = set(), set(), []
    for overlap, i, j in candidates:
        if overlap < IOU_THRESHOLD:
            break
        if i in used_truth or j in used_proposal:
            continue
        used_truth.add(i)
        used_proposal.add(j)
        pairs.append((truth[i], proposed[j]))
    return pairs


def percentile(values, share):
    """Linear-interpolated percentile; None for no values."""
    if not values:
        return None
    ordered = sorted(values)
    position = share * (len(ordered) - 1)
    low = int(position)
    high = min(low + 1, len(ordered) - 1)
    return ordered[low] + (ordered[high] - ordered[low]) * (position - low)


def ball_frames_found(truth, step, scale, boxes):
    """(ball frames, found) over the analysed frames of the true rallies in
    which the true ball is in the picture. `truth` is the generator's file,
    `step` the analysis frame step, `scale` analysis pixels per video pixel
    and `boxes` {analysed frame: [(centre x, centre y), ...]}. A box finds the
    ball when its centre lies within three ball radii (at least 5 pixels)."""
    fps = truth["fps"]
    total = found = 0
    for start, end in ((r["startSec"], r["endSec"]) for r in truth["rallies"]):
        for frame in range(math.ceil(start * fps / step), int(end * fps / step) + 1):
            index = frame * step
            ball = truth["ball"][index] if index < len(truth["ball"]) else None
            if ball is None:
                continue
            x, y, radius = (v * scale for v in ball)
            total += 1
            tolerance = max(3 * radius, 5.0)
            found += any(math.hypot(bx - x, by - y) <= tolerance for bx, by in boxes.get(frame, ()))
    return total, found


def read_ball_boxes(path):
    boxes = {}
    with open(path, newline="") as f:
        for row in csv.DictReader(f):
            x, y, w, h = (float(row[k]) for k in ("x", "y", "width", "height"))
            boxes.setdefault(int(row["frame"]), []).append((x + w / 2, y + h / 2))
    return boxes


def overlap(a, b):
    return max(0.0, min(a[1], b[1]) - max(a[0], b[0]))


def false_rally_kinds(truth, proposed):
    """For each proposal matching no rally, the activity it overlaps most:
    one of ACTIVITIES' names, "rally" (a true rally it overlaps too little)
    or "other"."""
    rallies = [(r["startSec"], r["endSec"]) for r in truth["rallies"]]
    matched = {p for _, p in match_rallies(rallies, proposed)}
    kinds = []
    for p in proposed:
        if p in matched:
            continue
        best, kind = 0.0, "other"
        for key, name in [("rallies", "rally")] + ACTIVITIES:
            for span in truth.get(key, []):
                covered = overlap(p, (span["startSec"], span["endSec"]))
                if covered > best:
                    best, kind = covered, name
        kinds.append(kind)
    return kinds


def f1_of_counts(truths, proposals, matched):
    return 2 * matched / (truths + proposals) if truths + proposals else 0.0


class Score:
    """Counts and errors gathered over any number of matches."""

    def __init__(self):
        self.truths = self.proposals = self.matched = 0
        self.start_errors, self.end_errors = [], []
        self.ball_frames = self.ball_found = 0
        self.false_kinds = {}
        self.by_length = {name: [0, 0] for name, _, _ in LENGTH_CLASSES}  # [rallies, found]
        # Missed rallies' ball frames: in the picture, seen by motion, on any track, on ball tracks.
        self.missed_ball = [0, 0, 0, 0]

    def add_false_kinds(self, kinds):
        for kind in kinds:
            self.false_kinds[kind] = self.false_kinds.get(kind, 0) + 1

    def add_ball_frames(self, total, found):
        self.ball_frames += total
        self.ball_found += found

    def add_missed_ball_frames(self, total, seen, on_tracks, on_ball_tracks):
        for position, value in enumerate((total, seen, on_tracks, on_ball_tracks)):
            self.missed_ball[position] += value

    def add(self, truth, proposed):
        """Scores one match's rallies; returns the matched (truth, proposal) pairs."""
        pairs = match_rallies(truth, proposed)
        found = {t for t, _ in pairs}
        for rally in truth:
            counts = self.by_length[length_class(rally)]
            counts[0] += 1
            counts[1] += rally in found
        self.truths += len(truth)
        self.proposals += len(proposed)
        self.matched += len(pairs)
        self.start_errors += [abs(p[0] - t[0]) for t, p in pairs]
        self.end_errors += [abs(p[1] - t[1]) for t, p in pairs]
        return pairs

    def merge(self, other):
        self.truths += other.truths
        self.proposals += other.proposals
        self.matched += other.matched
        self.start_errors += other.start_errors
        self.end_errors += other.end_errors
        self.ball_frames += other.ball_frames
        self.ball_found += other.ball_found
        for name, (rallies, found) in other.by_length.items():
            self.by_length[name][0] += rallies
            self.by_length[name][1] += found
        self.add_missed_ball_frames(*other.missed_ball)
        self.add_false_kinds(kind for kind, n in other.false_kinds.items() for _ in range(n))

    def summary(self):
        precision = self.matched / self.proposals if self.proposals else 0.0
        recall = self.matched / self.truths if self.truths else 0.0
        f1 = f1_of_counts(self.truths, self.proposals, self.matched)
        return {
            "rallies": self.truths, "proposed": self.proposals, "matched": self.matched,
            "precision": precision, "recall": recall, "f1": f1,
            "startErrorMedianSec": percentile(self.start_errors, 0.5),
            "startErrorP90Sec": percentile(self.start_errors, 0.9),
            "endErrorMedianSec": percentile(self.end_errors, 0.5),
            "endErrorP90Sec": percentile(self.end_errors, 0.9),
            "ballFramesFound": self.ball_found / self.ball_frames if self.ball_frames else None,
            "falseRalliesByActivity": dict(sorted(self.false_kinds.items())),
            "foundByLength": {name: {"rallies": n, "found": k} for name, (n, k) in self.by_length.items()},
            "missedRallyBallFrames": dict(zip(("inPicture", "seenByMotion", "onTracks", "onBallTracks"), self.missed_ball)),
        }


def length_class(rally):
    length = rally[1] - rally[0]
    return next(name for name, low, high in LENGTH_CLASSES if low <= length < high)


def parse_setup(text, default_minutes):
    """VIEW:WxH:FPS[:REACH[:MINUTES]] -> (view, size, fps, reach or None, minutes)."""
    parts = text.split(":")
    if not 3 <= len(parts) <= 5:
        raise SystemExit(f"bad set-up {text!r}: expected VIEW:WxH:FPS[:close|far[:MINUTES]]")
    view, size, fps = parts[:3]
    reach = parts[3] if len(parts) > 3 and parts[3] else None
    minutes = float(parts[4]) if len(parts) > 4 else default_minutes
    return view, size, fps, reach, minutes


def generate(synth, setup, seed, work):
    view, size, fps, reach, minutes = setup
    stem = work / f"{view}-{size}-{fps}-{reach or 'any'}-{minutes:g}min-{seed}"
    video, truth = stem.with_suffix(".mp4"), stem.with_suffix(".json")
    if not truth.exists():
        command = [synth, "--seed", str(seed), "--minutes", str(minutes), "--view", view, "--size", size,
                   "--fps", fps, "--out", str(video), "--truth", str(truth)]
        if reach:
            command += ["--reach", reach]
        subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
    return video, truth


def analyse(analyze, video, label):
    """The analysis result and the folder with its feature tables. Both are
    kept beside the video and reused while the same analysis program (by
    content: two builds share a label) reads the same video."""
    features = video.with_name(f"{video.stem}-{label}.features")
    result = features / "result.json"
    stamp = features / "result.key"
    key = f"{analysis_stamp.file_key(analyze)} {analysis_stamp.video_key(video)}\n"
    if result.exists() and stamp.exists() and stamp.read_text() == key:
        return json.loads(result.read_text()), features
    done = subprocess.run([analyze, str(video), "--json", "--features", str(features)],
                          check=True, capture_output=True, text=True)
    features.mkdir(parents=True, exist_ok=True)
    result.write_text(done.stdout)
    stamp.write_text(key)
    return json.loads(done.stdout), features


class AnalysedMatch:
    """One analysed match: its truth, the proposed rally cores and the box
    tables of the analysis, read at once (the match may be in a folder that
    is about to go)."""

    # Where the ball can be found, from first to last stage: motion
    # detection's blobs, boxes of any track, boxes of ball tracks.
    TABLES = ("candidates", "detections", "balls")

    def __init__(self, truth, proposed, features):
        self.truth, self.proposed = truth, proposed
        with open(features / "analysis.csv", newline="") as f:
            analysis = next(csv.DictReader(f))
        self.step = int(analysis["frameStep"])
        self.scale = float(analysis["analysisWidth"]) / truth["width"]
        self.boxes = {table: read_ball_boxes(features / f"{table}.csv") for table in self.TABLES}

    def ball_frames(self, rallies=None, table="balls"):
        """(ball frames, found) over `rallies` (entries of the truth's
        "rallies", all by default) by the boxes of one of TABLES."""
        truth = self.truth if rallies is None else {**self.truth, "rallies": rallies}
        return ball_frames_found(truth, self.step, self.scale, self.boxes[table])


def run_match(synth, analyze, setup, seed, work, label="models"):
    """Renders (once) and analyses one match; returns its AnalysedMatch."""
    video, truth_file = generate(synth, setup, seed, work)
    result, features = analyse(analyze, video, label)
    return AnalysedMatch(json.loads(truth_file.read_text()), [without_padding(r) for r in result["rallies"]], features)


def score_match(synth, analyzers, setup, seed, work):
    """One Score per analyzer (label, path) on the same match."""
    scores = []
    for label, analyze in analyzers:
        match = run_match(synth, analyze, setup, seed, work, label)
        rallies = [(r["startSec"], r["endSec"]) for r in match.truth["rallies"]]
        score = Score()
        found = {t for t, _ in score.add(rallies, match.proposed)}
        score.add_ball_frames(*match.ball_frames())
        missed = [r for r, span in zip(match.truth["rallies"], rallies) if span not in found]
        total, seen = match.ball_frames(missed, "candidates")
        score.add_missed_ball_frames(total, seen, match.ball_frames(missed, "detections")[1],
                                     match.ball_frames(missed, "balls")[1])
        score.add_false_kinds(false_rally_kinds(match.truth, match.proposed))
        print(f"{':'.join(str(v) for v in setup)}-{seed} [{label}]: {len(rallies)} rallies,"
              f" {len(match.proposed)} proposed, {score.matched} matched", file=sys.stderr)
        scores.append(score)
    return scores


def f1_difference(pairs, resamplings=RESAMPLINGS, seed=1):
    """F1 of the first analyzer minus that of the second over matches given as
    (first Score, second Score) pairs, and the range holding 90 % of that
    difference when the matches are drawn again with replacement (paired:
    each draw scores both analyzers on the same matches)."""
    def f1_over(scores):
        return f1_of_counts(*(sum(getattr(s, k) for s in scores) for k in ("truths", "proposals", "matched")))

    def difference(sample):
        return f1_over([first for first, _ in sample]) - f1_over([second for _, second in sample])

    draw = random.Random(seed)
    spread = [difference(draw.choices(pairs, k=len(pairs))) for _ in range(resamplings)]
    return difference(pairs), percentile(spread, 0.05), percentile(spread, 0.95)


def worst_match(matches):
    """(seed, summary) of the match with the lowest F1 (most rallies on equal F1)."""
    return min(matches, key=lambda m: (m[1]["f1"], -m[1]["rallies"]))


def format_seconds(value):
    return "   -  " if value is None else f"{value:6.2f}"


def format_share(value):
    return "   -  " if value is None else f"{value:6.3f}"


def print_table(rows, worst, overall):
    print(f"{'set-up':<30} {'rallies':>7} {'found':>6} {'prec':>6} {'recall':>6} {'F1':>6}"
          f" {'start med':>9} {'p90':>6} {'end med':>8} {'p90':>6} {'ball':>6}")
    for name, s in rows:
        print(f"{name:<30} {s['rallies']:>7} {s['proposed']:>6} {s['precision']:>6.3f} {s['recall']:>6.3f}"
              f" {s['f1']:>6.3f} {format_seconds(s['startErrorMedianSec']):>9} {format_seconds(s['startErrorP90Sec'])}"
              f" {format_seconds(s['endErrorMedianSec']):>8} {format_seconds(s['endErrorP90Sec'])}"
              f" {format_share(s['ballFramesFound'])}")
    print("(errors in seconds, paddings removed; ball: share of the rallies' ball frames found)")
    for name, (seed, s) in worst:
        print(f"worst of {name}: seed {seed}, F1 {s['f1']:.3f} ({s['matched']} of {s['rallies']} rallies matched,"
              f" {s['proposed']} proposed)")
    lengths = ", ".join(f"{name} {c['found']} of {c['rallies']}" for name, c in overall["foundByLength"].items())
    print(f"rallies found by length: {lengths}")
    missed = overall["missedRallyBallFrames"]
    if missed["inPicture"]:
        print(f"missed rallies' ball frames: {missed['inPicture']}, seen by motion detection"
              f" {missed['seenByMotion'] / missed['inPicture']:.0%}, on tracks"
              f" {missed['onTracks'] / missed['inPicture']:.0%}, on ball tracks"
              f" {missed['onBallTracks'] / missed['inPicture']:.0%}")
    kinds = ", ".join(f"{kind} {count}" for kind, count in overall["falseRalliesByActivity"].items()) or "none"
    print(f"false rallies by what they overlap: {kinds}")


def report(setups, runs, scores):
    """Rows per set-up, per video size and overall; the worst match per set-up;
    the overall summary."""
    rows, worst, by_size, total = [], [], {}, Score()
    for index, text in enumerate(setups):
        score, matches = Score(), []
        for (run_index, setup, seed), match_score in zip(runs, scores):
            if run_index != index:
                continue
            score.merge(match_score)
            by_size.setdefault(setup[1], Score()).merge(match_score)
            matches.append((seed, match_score.summary()))
        rows.append((text, score.summary()))
        if matches:
            worst.append((text, worst_match(matches)))
        total.merge(score)
    rows += [(f"size {size}", score.summary()) for size, score in sorted(by_size.items())]
    rows.append(("all", total.summary()))
    return rows, worst, total.summary()


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build", help="build folder holding tools/synth and tools/analyze")
    parser.add_argument("--compare-build", metavar="DIR",
                        help="also score this build's rallinox-analyze (other models) on the same matches")
    parser.add_argument("--work", default="out/evaluate", help="folder for the generated matches")
    parser.add_argument("--seed", type=int, default=HELD_OUT_SEED, help="first seed of the held-out matches")
    parser.add_argument("--matches", type=int, default=3, help="matches per set-up")
    parser.add_argument("--minutes", type=float, default=10.0, help="length of each match (unless its set-up says)")
    parser.add_argument("--setup", action="append", metavar="VIEW:WxH:FPS[:REACH[:MINUTES]]",
                        help=f"camera set-up, repeatable (default: {' '.join(DEFAULT_SETUPS)})")
    parser.add_argument("--jobs", type=int, default=2, help="matches rendered and analysed at once")
    parser.add_argument("--json", action="store_true", help="print the scores as JSON")
    args = parser.parse_args(argv)

    build = pathlib.Path(args.build)
    synth = str(build / "tools" / "synth" / "rallinox-synth")
    analyzers = [("models", str(build / "tools" / "analyze" / "rallinox-analyze"))]
    if args.compare_build:
        analyzers.append(("compared", str(pathlib.Path(args.compare_build) / "tools" / "analyze" / "rallinox-analyze")))
    # Held-out matches of an earlier generator would score the models on pictures training no longer makes.
    work = pathlib.Path(args.work) / f"synth-{analysis_stamp.generator_key()}"
    work.mkdir(parents=True, exist_ok=True)

    setups = args.setup or DEFAULT_SETUPS
    # Each set-up gets its own seeds, so no two set-ups share a match.
    runs = [(index, parse_setup(text, args.minutes), args.seed + 1000 * index + k)
            for index, text in enumerate(setups) for k in range(args.matches)]
    with ThreadPoolExecutor(max_workers=max(1, args.jobs)) as pool:
        per_match = list(pool.map(lambda run: score_match(synth, analyzers, run[1], run[2], work), runs))
    reports = {}
    for position, (label, analyze) in enumerate(analyzers):
        reports[label] = report(setups, runs, [scores[position] for scores in per_match])
    if args.json:
        print(json.dumps({label: {"rows": dict(rows), "worst": {name: {"seed": seed, **s} for name, (seed, s) in worst},
                                  "falseRalliesByActivity": overall["falseRalliesByActivity"],
                                  "foundByLength": overall["foundByLength"],
                                  "missedRallyBallFrames": overall["missedRallyBallFrames"]}
                          for label, (rows, worst, overall) in reports.items()}, indent=2))
        return 0
    for label, analyze in analyzers:
        print(f"== {label}: {analyze}")
        print_table(*reports[label])
    if len(analyzers) == 2:
        change, low, high = f1_difference([(scores[0], scores[1]) for scores in per_match])
        print(f"F1 models - compared: {change:+.3f}, 90 % of redrawn match sets between {low:+.3f} and {high:+.3f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
