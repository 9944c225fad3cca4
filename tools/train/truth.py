"""The generator's truth, read per analysed frame, and the labels it gives.

Plain Python, so that its tests run without the training environment.
"""

import json


class Truth:
    """The true ball per analysed frame, in analysis pixels."""

    def __init__(self, path, analysis):
        with open(path) as f:
            truth = json.load(f)
        self.rallies = [(r["startSec"], r["endSec"]) for r in truth["rallies"]]
        self.warmups = [(w["startSec"], w["endSec"]) for w in truth.get("warmups", [])]
        self.retrievals = [(r["startSec"], r["endSec"]) for r in truth.get("retrievals", [])]
        self.fps = analysis["videoFps"]
        self.step = int(analysis["frameStep"])
        self.analysis_width = analysis["analysisWidth"]
        self.analysis_height = analysis["analysisHeight"]
        self.video_width = analysis["videoWidth"]
        self.video_height = analysis["videoHeight"]
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
        return self._inside(analysed_frame, self.rallies)

    def in_warmup(self, analysed_frame):
        return self._inside(analysed_frame, self.warmups)

    def in_retrieval(self, analysed_frame):
        return self._inside(analysed_frame, self.retrievals)

    def _inside(self, analysed_frame, spans):
        t = analysed_frame * self.step / self.fps
        return any(start <= t <= end for start, end in spans)


def window_labels(truth, window_frames, warmup_weight, retrieval_weight):
    """(labels, weights) of windows given as (first, last) analysed frame:
    1 when the window's middle lies in a rally, else 0; windows of a warm-up
    weigh `warmup_weight`, windows of a ball retrieval outside rallies
    `retrieval_weight`, the others 1."""
    middles = [(a + b) / 2 for a, b in window_frames]
    labels = [int(truth.in_rally(m)) for m in middles]
    weights = [warmup_weight if truth.in_warmup(m) else
               retrieval_weight if not label and truth.in_retrieval(m) else 1.0
               for m, label in zip(middles, labels)]
    return labels, weights
