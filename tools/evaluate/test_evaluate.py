"""Rally matching and scoring of the evaluation tool."""

import os
import pathlib
import tempfile
import unittest

import evaluate


class MatchingTest(unittest.TestCase):
    def test_overlap_of_half_matches_and_less_does_not(self):
        self.assertAlmostEqual(evaluate.iou((0, 10), (5, 15)), 5 / 15)
        self.assertEqual(len(evaluate.match_rallies([(0, 10)], [(1, 10)])), 1)
        self.assertEqual(evaluate.match_rallies([(0, 10)], [(4, 15)]), [])
        self.assertEqual(evaluate.iou((0, 1), (2, 3)), 0.0)

    def test_each_rally_matches_at_most_one_proposal(self):
        pairs = evaluate.match_rallies([(0, 10)], [(0, 9), (0.5, 10)])
        self.assertEqual(pairs, [((0, 10), (0.5, 10))])

    def test_a_long_proposal_over_two_rallies_matches_the_better_one(self):
        pairs = evaluate.match_rallies([(0, 6), (8, 10)], [(0, 10)])
        self.assertEqual(pairs, [((0, 6), (0, 10))])

    def test_paddings_are_taken_off(self):
        core = evaluate.without_padding({"startSec": 8.5, "endSec": 21.5, "startPadSec": 1.5, "endPadSec": 1.5})
        self.assertEqual(core, (10.0, 20.0))


class ScoreTest(unittest.TestCase):
    def test_precision_recall_and_errors(self):
        score = evaluate.Score()
        score.add([(10, 20), (40, 45), (80, 90)], [(11, 19), (40.5, 46), (60, 62)])
        s = score.summary()
        self.assertEqual((s["rallies"], s["proposed"], s["matched"]), (3, 3, 2))
        self.assertAlmostEqual(s["precision"], 2 / 3)
        self.assertAlmostEqual(s["recall"], 2 / 3)
        self.assertAlmostEqual(s["f1"], 2 / 3)
        self.assertAlmostEqual(s["startErrorMedianSec"], 0.75)
        self.assertAlmostEqual(s["endErrorP90Sec"], 1.0)

    def test_no_proposals_scores_zero_without_errors(self):
        score = evaluate.Score()
        score.add([(0, 5)], [])
        s = score.summary()
        self.assertEqual((s["precision"], s["recall"], s["f1"]), (0.0, 0.0, 0.0))
        self.assertIsNone(s["startErrorMedianSec"])

    def test_rallies_are_counted_found_per_length(self):
        score = evaluate.Score()
        # A 2-s serve found, a 2.5-s one missed, a 4-s rally found, a 10-s one missed.
        score.add([(0, 2), (10, 12.5), (20, 24), (30, 40)], [(0, 2), (20, 24), (50, 52)])
        other = evaluate.Score()
        other.add([(0, 3)], [(0, 3)])
        score.merge(other)
        self.assertEqual(score.summary()["foundByLength"],
                         {"under 3 s": {"rallies": 2, "found": 1}, "3-6 s": {"rallies": 2, "found": 2},
                          "6 s and over": {"rallies": 1, "found": 0}})

    def test_missed_rallies_ball_frames_add_up_over_matches(self):
        score, other = evaluate.Score(), evaluate.Score()
        score.add_missed_ball_frames(100, 75, 50, 40)
        other.add_missed_ball_frames(10, 5, 5, 0)
        score.merge(other)
        self.assertEqual(score.summary()["missedRallyBallFrames"],
                         {"inPicture": 110, "seenByMotion": 80, "onTracks": 55, "onBallTracks": 40})

    def test_percentile_interpolates(self):
        self.assertEqual(evaluate.percentile([3, 1, 2], 0.5), 2)
        self.assertAlmostEqual(evaluate.percentile([0, 10], 0.9), 9.0)


class F1DifferenceTest(unittest.TestCase):
    @staticmethod
    def scored(rallies, proposed, matched):
        score = evaluate.Score()
        score.truths, score.proposals, score.matched = rallies, proposed, matched
        return score

    def test_the_same_results_differ_by_nothing(self):
        pairs = [(self.scored(10, 10, 8), self.scored(10, 10, 8)) for _ in range(6)]
        self.assertEqual(evaluate.f1_difference(pairs), (0.0, 0.0, 0.0))

    def test_better_on_every_match_keeps_the_whole_range_above_zero(self):
        pairs = [(self.scored(10, 10, 9), self.scored(10, 10, 7)) for _ in range(6)]
        change, low, high = evaluate.f1_difference(pairs)
        self.assertAlmostEqual(change, 0.2)
        self.assertGreater(low, 0.0)

    def test_a_gain_on_one_match_of_many_may_be_chance(self):
        pairs = [(self.scored(10, 10, 8), self.scored(10, 10, 8)) for _ in range(11)]
        pairs.append((self.scored(10, 10, 10), self.scored(10, 10, 6)))
        change, low, high = evaluate.f1_difference(pairs)
        self.assertGreater(change, 0.0)
        self.assertLessEqual(low, 0.0)
        self.assertLess(low, change)
        self.assertLess(change, high)

    def test_the_range_is_the_same_on_every_run(self):
        pairs = [(self.scored(10, 12, k), self.scored(10, 9, 8)) for k in range(5, 11)]
        self.assertEqual(evaluate.f1_difference(pairs), evaluate.f1_difference(pairs))


class BallFramesTest(unittest.TestCase):
    TRUTH = {"fps": 60, "rallies": [{"startSec": 0.0, "endSec": 0.1}],
             "ball": [[100, 100, 4], [102, 100, 4], None, None, [110, 100, 4], [112, 100, 4], [114, 100, 4],
                      [300, 300, 4]]}

    def test_counts_rally_frames_with_the_ball_in_the_picture_at_the_analysis_step(self):
        # Step 2 at half size: analysed frames 0..3 are video frames 0, 2, 4, 6; frame 1 has no ball.
        total, found = evaluate.ball_frames_found(self.TRUTH, 2, 0.5, {0: [(50, 50)], 2: [(60, 50)]})
        self.assertEqual((total, found), (3, 2))

    def test_a_box_off_the_ball_finds_nothing(self):
        self.assertEqual(evaluate.ball_frames_found(self.TRUTH, 1, 1.0, {0: [(120, 100)]}), (5, 0))
        self.assertEqual(evaluate.ball_frames_found(self.TRUTH, 1, 1.0, {0: [(111, 100)]}), (5, 1))


class SetupTest(unittest.TestCase):
    def test_reach_and_length_are_optional(self):
        self.assertEqual(evaluate.parse_setup("side:1280x720:25", 10.0), ("side", "1280x720", "25", None, 10.0))
        self.assertEqual(evaluate.parse_setup("baseline:3840x2160:30:close:4", 10.0),
                         ("baseline", "3840x2160", "30", "close", 4.0))

    def test_a_malformed_setup_is_refused_with_its_text(self):
        with self.assertRaises(SystemExit) as raised:
            evaluate.parse_setup("baseline-1280x720", 10.0)
        self.assertIn("baseline-1280x720", str(raised.exception))


class FalseRallyTest(unittest.TestCase):
    TRUTH = {"rallies": [{"startSec": 100, "endSec": 108}],
             "warmups": [{"startSec": 0, "endSec": 60}],
             "retrievals": [{"startSec": 108, "endSec": 114}],
             "serveBounces": [{"startSec": 140, "endSec": 142}]}

    def test_each_false_rally_is_put_to_the_activity_it_overlaps_most(self):
        proposed = [(10, 30), (100, 108), (107, 113), (139, 143), (200, 205), (95, 130)]
        self.assertEqual(evaluate.false_rally_kinds(self.TRUTH, proposed),
                         ["warm-up", "retrieval", "serve bounce", "other", "rally"])

    def test_a_rally_overlapped_too_little_counts_as_rally(self):
        self.assertEqual(evaluate.false_rally_kinds(self.TRUTH, [(99, 102)]), ["rally"])


class ReportTest(unittest.TestCase):
    def test_lines_per_size_overall_and_the_worst_match_of_each_setup(self):
        def score(rallies, proposed, kinds=()):
            s = evaluate.Score()
            s.add(rallies, proposed)
            s.add_false_kinds(kinds)
            return s
        setups = ["baseline:1280x720:30", "side:1920x1080:25"]
        runs = [(0, evaluate.parse_setup(setups[0], 1), 1), (0, evaluate.parse_setup(setups[0], 1), 2),
                (1, evaluate.parse_setup(setups[1], 1), 1001)]
        scores = [score([(0, 5), (10, 15)], [(0, 5), (10, 15)]),
                  score([(0, 5), (10, 15)], [(0, 5), (30, 35)], ["retrieval"]),
                  score([(0, 5)], [(0, 5)])]
        rows, worst, overall = evaluate.report(setups, runs, scores)
        names = [name for name, _ in rows]
        self.assertEqual(names, setups + ["size 1280x720", "size 1920x1080", "all"])
        self.assertEqual(dict(rows)["size 1280x720"]["matched"], 3)
        self.assertEqual(dict(rows)["all"]["rallies"], 5)
        self.assertEqual([(name, seed) for name, (seed, _) in worst], [(setups[0], 2), (setups[1], 1001)])
        self.assertEqual(overall["falseRalliesByActivity"], {"retrieval": 1})
        self.assertEqual(overall["foundByLength"]["3-6 s"], {"rallies": 5, "found": 4})


class KeptResultTest(unittest.TestCase):
    """The analysis of a held-out match is kept while the same program reads the same video."""

    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.work = pathlib.Path(self.folder.name)
        self.runs = self.work / "runs"
        self.video = self.work / "match.mp4"
        self.video.write_bytes(b"")

    def tearDown(self):
        self.folder.cleanup()

    def program(self, name, models):
        # Stands in for rallinox-analyze built with `models`: counts its runs, prints a result.
        analyze = self.work / name
        analyze.write_text(f"#!/bin/sh\n# {models}\necho run >> {self.runs}\necho '{{\"rallies\": []}}'\n")
        analyze.chmod(0o755)
        return str(analyze)

    def run_count(self):
        return self.runs.read_text().count("run")

    def test_the_same_program_runs_once(self):
        analyze = self.program("analyze", "shipped")
        first, features = evaluate.analyse(analyze, self.video, "models")
        again, _ = evaluate.analyse(analyze, self.video, "models")
        self.assertEqual(first, {"rallies": []})
        self.assertEqual(again, first)
        self.assertEqual(features, self.work / "match-models.features")
        self.assertEqual(self.run_count(), 1)

    def test_another_build_under_the_same_label_runs_again(self):
        evaluate.analyse(self.program("analyze", "shipped"), self.video, "models")
        # Older on disk than the kept result, as a build made before it would be.
        other = self.program("other-analyze", "retrained")
        past = self.video.stat().st_mtime - 100
        os.utime(other, (past, past))
        evaluate.analyse(other, self.video, "models")
        self.assertEqual(self.run_count(), 2)

    def test_a_rebuilt_program_or_a_new_render_runs_again(self):
        analyze = self.program("analyze", "shipped")
        evaluate.analyse(analyze, self.video, "models")
        self.program("analyze", "retrained")
        evaluate.analyse(analyze, self.video, "models")
        self.assertEqual(self.run_count(), 2)
        later = self.video.stat().st_mtime + 10
        os.utime(self.video, (later, later))
        evaluate.analyse(analyze, self.video, "models")
        self.assertEqual(self.run_count(), 3)


if __name__ == "__main__":
    unittest.main()
