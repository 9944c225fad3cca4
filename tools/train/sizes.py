"""The window features at other video sizes, without rendering again.

The analysis always works on a picture of 480 lines, but the window features
divide the ball's positions by the video's width and height and its speeds by
the video's diagonal. The same match filmed at 1080p therefore gives the same
analysis boxes with positions 1.5 times smaller than at 720p (3 times at
2160p). Multiplying those columns by old size / new size gives exactly the
rows a render at the new size gives (check_sizes.py shows it on renders), so
every rendered match teaches the action model every size users film at.
"""

import math

from contract import WINDOW_FEATURES

# The sizes users have: 720p and 1080p cameras, 4K phones and action cameras.
TRAINING_SIZES = [(1280, 720), (1920, 1080), (3840, 2160)]

# Divided by the width, by the height, by the diagonal.
BY_WIDTH = {"Run_Start_X", "Window2s_Std_X"}
BY_HEIGHT = {"Run_Start_Y", "Window2s_Std_Y", "Window2s_Mean_Y", "Window2s_Max_Y_Disp"}
BY_DIAGONAL = {"Gap_Distance", "Run_Start_Vx", "Run_Start_Vy", "Window2s_Mean_Speed",
               "Window2s_Max_Speed", "Window2s_Std_Speed"}
# -1 in these columns means "no such run" and is no position.
MISSING = -1.0
WITH_MISSING = {"Run_Start_X", "Run_Start_Y", "Gap_Distance"}


def column_factors(size_from, size_to):
    """Per window column, what turns a value at `size_from` (width, height)
    into the value at `size_to`."""
    (w0, h0), (w1, h1) = size_from, size_to
    diagonal = math.hypot(w0, h0) / math.hypot(w1, h1)
    factors = []
    for name in WINDOW_FEATURES:
        factors.append(w0 / w1 if name in BY_WIDTH else h0 / h1 if name in BY_HEIGHT
                       else diagonal if name in BY_DIAGONAL else 1.0)
    return factors


_KEEPS_MISSING = [name in WITH_MISSING for name in WINDOW_FEATURES]


def rescale_row(row, factors):
    return [value if keep and value == MISSING else value * factor
            for value, factor, keep in zip(row, factors, _KEEPS_MISSING)]


def at_training_sizes(rows, size):
    """The rows of a video of `size` as they are, then as each other training
    size of the same shape would give them (the analysis picture is then the
    same), in TRAINING_SIZES order."""
    out = list(rows)
    for target in TRAINING_SIZES:
        if target == tuple(size) or target[0] * size[1] != target[1] * size[0]:
            continue
        factors = column_factors(size, target)
        out.extend(rescale_row(row, factors) for row in rows)
    return out
