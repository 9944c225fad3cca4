"""The shipped models at work: a generated 30-second match is analysed by
rallinox-analyze (which embeds models/*.rmod); its rally must be found and
nothing proposed where no rally is.

    shipped_models_test.py BUILD_DIR
"""

import pathlib
import sys
import tempfile
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[3] / "tools" / "evaluate"))
import evaluate  # noqa: E402

BUILD = pathlib.Path(sys.argv.pop(1) if len(sys.argv) > 1 else "build").resolve()
SYNTH = str(BUILD / "tools" / "synth" / "rallinox-synth")
ANALYZE = str(BUILD / "tools" / "analyze" / "rallinox-analyze")


def overlaps(a, b):
    return min(a[1], b[1]) > max(a[0], b[0])


class ShippedModelsTest(unittest.TestCase):
    def analyse_match(self, setup, seed):
        """(true rallies, proposed rally cores, share of ball frames found)."""
        with tempfile.TemporaryDirectory() as work:
            match = evaluate.run_match(SYNTH, ANALYZE, evaluate.parse_setup(setup, 0.5), seed, pathlib.Path(work))
        rallies = [(r["startSec"], r["endSec"]) for r in match.truth["rallies"]]
        total, found = match.ball_frames()
        return rallies, match.proposed, found / max(total, 1)

    def check_found(self, setup, seed):
        rallies, proposed, ball_share = self.analyse_match(setup, seed)
        self.assertEqual(len(rallies), 1, "the generated match should hold one rally")
        for rally in rallies:
            self.assertTrue(any(overlaps(rally, p) for p in proposed), f"rally {rally} missed: {proposed}")
        for p in proposed:
            self.assertTrue(any(overlaps(r, p) for r in rallies), f"proposal {p} where no rally is: {rallies}")
        self.assertGreater(ball_share, 0.2, "the ball is hardly followed")
        return rallies, proposed

    def test_rally_filmed_from_the_side_is_found_with_its_start_and_end(self):
        rallies, proposed = self.check_found("side:1280x720:25:far", 1006)
        self.assertEqual(len(evaluate.match_rallies(rallies, proposed)), 1, f"{rallies} vs {proposed}")

    def test_rally_filmed_from_behind_the_baseline_is_found(self):
        self.check_found("baseline:1280x720:30:far", 1008)


if __name__ == "__main__":
    unittest.main()
