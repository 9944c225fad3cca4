"""Simulated feature records for a first pair of models, before feature CSVs
of generated matches are available.

Every record is drawn from a class-conditional distribution: a handful of
features carry the class in the way the track and window features are
defined (a ball track is small, roughly square, fast, rises and falls over a
good part of the picture; a play window has the ball visible inside a long
run with a fast, widely moving ball), every other feature is noise that
carries no class. Labels are therefore known by construction. Models trained
on this data only show the pipeline end to end; they are replaced by models
trained on generated matches.
"""

import numpy as np

from contract import TRACK_FEATURES, WINDOW_FEATURES

# feature: (mean, std) for the positive class, then for the negative class
TRACK_SIGNALS = {
    "Duration": ((30, 12), (40, 40)),
    "Mean_W": ((1.0, 0.2), (3.0, 1.5)),
    "Mean_H": ((1.0, 0.2), (4.0, 2.0)),
    "Mean_Speed": ((1.5, 0.6), (0.3, 0.25)),
    "Max_Y_Displacement": ((0.3, 0.15), (0.05, 0.05)),
    "Circular_Frames_Ratio": ((0.8, 0.15), (0.3, 0.2)),
    "Mean_Path_Efficiency_10": ((0.9, 0.08), (0.5, 0.2)),
    "Mean_Y": ((0.35, 0.15), (0.6, 0.15)),
}

WINDOW_SIGNALS = {
    "Is_Ball_Active": ((0.85, None), (0.15, None)),
    "Inside_Run": ((0.9, None), (0.1, None)),
    "Current_Run_Duration": ((8.0, 4.0), (0.5, 1.0)),
    "Window2s_Ball_Ratio": ((0.8, 0.15), (0.15, 0.15)),
    "Window2s_Mean_Speed": ((0.4, 0.15), (0.08, 0.08)),
    "Window2s_Std_Y": ((0.12, 0.05), (0.03, 0.03)),
}


def _draw(names, signals, count, positive_share, rng):
    y = (rng.random(count) < positive_share).astype(np.int64)
    X = rng.normal(0.0, 1.0, size=(count, len(names)))
    for name, classes in signals.items():
        column = names.index(name)
        for label, (mean, std) in zip((1, 0), classes):
            rows = y == label
            if std is None:  # a 0/1 flag that is 1 with probability `mean`
                X[rows, column] = (rng.random(rows.sum()) < mean).astype(float)
            else:
                X[rows, column] = rng.normal(mean, std, rows.sum())
    return X, y


def track_records(count, rng):
    return _draw(TRACK_FEATURES, TRACK_SIGNALS, count, 0.3, rng)


def window_records(count, rng):
    return _draw(WINDOW_FEATURES, WINDOW_SIGNALS, count, 0.5, rng)
