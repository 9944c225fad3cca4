#!/usr/bin/env python3
"""Share of rally ball frames that survive Stage 1 (motion detection), per set-up.

Renders short held-out matches with a given generator binary, runs
rallinox-analyze --features on them and counts, over the analysed frames of
the true rallies in which the ball is in the picture, those where a moving
blob of Stage 1 (candidates.csv) lies on the true ball (within three ball
radii). No model is involved: this measures what the generated pictures give
the tracker. To compare two generators, run it with each --synth binary
(e.g. one built from an older commit) on the same seeds:

    tools/evaluate/ball_survival.py --synth OLD/tools/synth/rallinox-synth --work out/survival-old
    tools/evaluate/ball_survival.py --synth build/tools/synth/rallinox-synth --work out/survival-new
"""

import argparse
import csv
import json
import pathlib
import sys
from concurrent.futures import ThreadPoolExecutor

import evaluate

# Reach (close or far camera) is left to the seed: older generators have no choice of it.
DEFAULT_SETUPS = ["baseline:1280x720:30", "side:1280x720:30", "baseline:1920x1080:25", "side:1920x1080:50"]


def survival(synth, analyze, setup, seed, work):
    """(camera reach from the truth, ball frames, frames with a Stage 1 blob on the ball)."""
    video, truth_file = evaluate.generate(synth, setup, seed, work)
    truth = json.loads(truth_file.read_text())
    _, features = evaluate.analyse(analyze, video, "stage1")
    with open(features / "analysis.csv", newline="") as f:
        analysis = next(csv.DictReader(f))
    scale = float(analysis["analysisWidth"]) / truth["width"]
    blobs = evaluate.read_ball_boxes(features / "candidates.csv")
    total, found = evaluate.ball_frames_found(truth, int(analysis["frameStep"]), scale, blobs)
    return truth.get("reach", "-"), total, found


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--synth", default="build/tools/synth/rallinox-synth", help="generator binary")
    parser.add_argument("--analyze", default="build/tools/analyze/rallinox-analyze", help="analysis binary")
    parser.add_argument("--work", default="out/survival", help="folder for the matches (one per generator)")
    parser.add_argument("--seed", type=int, default=evaluate.HELD_OUT_SEED, help="first seed")
    parser.add_argument("--matches", type=int, default=3, help="matches per set-up")
    parser.add_argument("--seconds", type=float, default=60.0, help="length of each match")
    parser.add_argument("--setup", action="append", metavar="VIEW:WxH:FPS[:REACH]",
                        help=f"set-up, repeatable (default: {' '.join(DEFAULT_SETUPS)})")
    parser.add_argument("--jobs", type=int, default=2, help="matches rendered and analysed at once")
    args = parser.parse_args(argv)

    work = pathlib.Path(args.work)
    work.mkdir(parents=True, exist_ok=True)
    setups = args.setup or DEFAULT_SETUPS
    runs = [(text, evaluate.parse_setup(text, args.seconds / 60.0), args.seed + 1000 * index + k)
            for index, text in enumerate(setups) for k in range(args.matches)]
    with ThreadPoolExecutor(max_workers=max(1, args.jobs)) as pool:
        results = list(pool.map(lambda r: survival(args.synth, args.analyze, r[1], r[2], work), runs))
    groups = {}
    for (text, _, seed), (reach, total, found) in zip(runs, results):
        print(f"{text} seed {seed} ({reach}): {found} of {total} ball frames survive", file=sys.stderr)
        for name in (text, f"reach {reach}", "all"):
            counts = groups.setdefault(name, [0, 0])
            counts[0] += total
            counts[1] += found
    print(f"{'set-up':<28} {'ball frames':>11} {'survive':>8} {'share':>6}")
    order = setups + sorted(n for n in groups if n.startswith("reach ")) + ["all"]
    for name in order:
        total, found = groups.get(name, (0, 0))
        print(f"{name:<28} {total:>11} {found:>8} {found / total if total else 0:6.3f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
