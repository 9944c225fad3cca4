#!/usr/bin/env python3
"""Shows which window features depend on the video size, and that rescaling
them (sizes.py) gives what a render at the other size gives.

Renders one generated match at 1280x720 and at 1920x1080 (the same seed
gives the same scene at both sizes), analyses both with
rallinox-analyze --features and compares the window rows frame by frame:
per column, the median ratio 1080p value / 720p value over the windows where
both are set, next to the factor sizes.py applies. Size-free columns show
ratios near 1 (the two renders differ only in pixel detail); the
size-dependent ones show 720/1080 = 0.667, and after rescaling the 720p rows
agree with the 1080p rows as closely as the size-free columns do.

    tools/train/check_sizes.py --build build [--seed 7] [--seconds 60]
"""

import argparse
import csv
import pathlib
import statistics
import subprocess
import sys
import tempfile

from contract import WINDOW_FEATURES
from sizes import MISSING, column_factors, rescale_row

SIZES = [(1280, 720), (1920, 1080)]


def windows(build, work, seed, seconds, size):
    name = f"{size[0]}x{size[1]}"
    video = work / f"check-{seed}-{name}.mp4"
    subprocess.run([str(build / "tools" / "synth" / "rallinox-synth"), "--seed", str(seed), "--seconds",
                    str(seconds), "--size", name, "--fps", "30", "--out", str(video)],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    features = work / f"check-{seed}-{name}"
    subprocess.run([str(build / "tools" / "analyze" / "rallinox-analyze"), str(video), "--features", str(features)],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    with open(features / "windows.csv", newline="") as f:
        return {int(r["startFrame"]): [float(r[n]) for n in WINDOW_FEATURES] for r in csv.DictReader(f)}


def median_ratio(pairs):
    ratios = [b / a for a, b in pairs if a not in (0.0, MISSING) and b not in (0.0, MISSING)]
    return (statistics.median(ratios), len(ratios)) if ratios else (None, 0)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build", help="build folder with rallinox-synth and rallinox-analyze")
    parser.add_argument("--seed", type=int, default=7)
    parser.add_argument("--seconds", type=float, default=60)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as scratch:
        small, large = (windows(pathlib.Path(args.build), pathlib.Path(scratch), args.seed, args.seconds, s)
                        for s in SIZES)
    factors = column_factors(*SIZES)
    frames = sorted(set(small) & set(large))
    print(f"{len(frames)} windows; ratio = median of 1080p value / 720p value over the windows where both are set")
    print(f"{'column':<24} {'factor':>7} {'ratio':>7} {'rescaled':>9} {'windows':>8}")
    for i, name in enumerate(WINDOW_FEATURES):
        raw, count = median_ratio([(small[f][i], large[f][i]) for f in frames])
        rescaled, _ = median_ratio([(rescale_row(small[f], factors)[i], large[f][i]) for f in frames])
        show = lambda v: "     -" if v is None else f"{v:7.3f}"
        print(f"{name:<24} {factors[i]:7.3f} {show(raw)} {show(rescaled):>9} {count:>8}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
