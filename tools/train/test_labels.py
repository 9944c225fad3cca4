import json
import pathlib
import tempfile
import unittest

from truth import Truth, window_labels

# 25 frames per second, each analysed: frames 0-24 are the first second.
ANALYSIS = {"videoFps": 25.0, "frameStep": 1.0, "analysisWidth": 854.0, "analysisHeight": 480.0,
            "videoWidth": 1280.0, "videoHeight": 720.0}


def truth(rallies, warmups=None, retrievals=None, **analysis):
    content = {"width": 1280, "height": 720, "ball": [],
               "rallies": [{"startSec": a, "endSec": b} for a, b in rallies]}
    if warmups is not None:
        content["warmups"] = [{"startSec": a, "endSec": b} for a, b in warmups]
    if retrievals is not None:
        content["retrievals"] = [{"startSec": a, "endSec": b} for a, b in retrievals]
    with tempfile.TemporaryDirectory() as folder:
        path = pathlib.Path(folder) / "truth.json"
        path.write_text(json.dumps(content))
        return Truth(path, {**ANALYSIS, **analysis})


class WindowLabelsTest(unittest.TestCase):
    def test_a_window_is_play_by_its_middle_and_warmup_windows_weigh_less(self):
        t = truth(rallies=[(10.0, 12.0)], warmups=[(0.0, 4.0)])
        windows = [(0, 4), (96, 100), (101, 105), (245, 249), (250, 254), (298, 302), (300, 304)]
        labels, weights = window_labels(t, windows, 0.2, 2.0)
        self.assertEqual(labels, [0, 0, 0, 0, 1, 1, 0])
        self.assertEqual(weights, [0.2, 0.2, 1, 1, 1, 1, 1])

    def test_a_truth_file_without_warmups_weighs_every_window_alike(self):
        _, weights = window_labels(truth(rallies=[(1.0, 2.0)]), [(0, 4), (30, 34)], 0.2, 2.0)
        self.assertEqual(weights, [1, 1])

    def test_retrieval_windows_outside_rallies_weigh_more(self):
        # The retrieval starts inside the rally's last second: that window stays play at weight 1.
        t = truth(rallies=[(10.0, 12.0)], retrievals=[(11.5, 16.0)])
        labels, weights = window_labels(t, [(283, 287), (300, 304), (375, 379), (420, 424)], 0.2, 2.0)
        self.assertEqual(labels, [1, 0, 0, 0])
        self.assertEqual(weights, [1, 2.0, 2.0, 1])

    def test_the_frame_step_turns_analysed_frames_into_seconds(self):
        t = truth(rallies=[(10.0, 12.0)], videoFps=50.0, frameStep=2.0)  # every second frame analysed
        self.assertEqual(window_labels(t, [(245, 249), (250, 254)], 0.2, 2.0)[0], [0, 1])


if __name__ == "__main__":
    unittest.main()
