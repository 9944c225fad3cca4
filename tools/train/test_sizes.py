import unittest

from contract import WINDOW_FEATURES
from sizes import at_training_sizes, column_factors, rescale_row


def row(**values):
    return [values.get(name, 0.5) for name in WINDOW_FEATURES]


def value(r, name):
    return r[WINDOW_FEATURES.index(name)]


class RescaleTest(unittest.TestCase):
    def test_positions_and_speeds_follow_the_size_and_the_rest_stays(self):
        r = row(Run_Start_X=0.3, Run_Start_Y=0.6, Window2s_Mean_Speed=0.9, Current_Run_Duration=4.0,
                Window2s_Ball_Ratio=0.8)
        at1080 = rescale_row(r, column_factors((1280, 720), (1920, 1080)))
        self.assertAlmostEqual(value(at1080, "Run_Start_X"), 0.2)
        self.assertAlmostEqual(value(at1080, "Run_Start_Y"), 0.4)
        self.assertAlmostEqual(value(at1080, "Window2s_Mean_Speed"), 0.6)
        self.assertEqual(value(at1080, "Current_Run_Duration"), 4.0)
        self.assertEqual(value(at1080, "Window2s_Ball_Ratio"), 0.8)

    def test_other_shapes_scale_width_and_height_apart(self):
        factors = column_factors((1280, 720), (1440, 1080))
        self.assertAlmostEqual(factors[WINDOW_FEATURES.index("Window2s_Std_X")], 1280 / 1440)
        self.assertAlmostEqual(factors[WINDOW_FEATURES.index("Window2s_Max_Y_Disp")], 720 / 1080)
        self.assertAlmostEqual(factors[WINDOW_FEATURES.index("Gap_Distance")], (1280 ** 2 + 720 ** 2) ** 0.5 / 1800)

    def test_missing_runs_stay_missing(self):
        r = row(Run_Start_X=-1.0, Run_Start_Y=-1.0, Gap_Distance=-1.0, Run_Start_Vx=-0.2)
        at4k = rescale_row(r, column_factors((1280, 720), (3840, 2160)))
        self.assertEqual([value(at4k, n) for n in ("Run_Start_X", "Run_Start_Y", "Gap_Distance")], [-1.0] * 3)
        self.assertAlmostEqual(value(at4k, "Run_Start_Vx"), -0.2 / 3)

    def test_every_training_size_of_the_same_shape_once(self):
        rows = [row(Run_Start_X=0.6), row(Run_Start_X=0.3)]
        out = at_training_sizes(rows, (1280, 720))
        for got, expected in zip([value(r, "Run_Start_X") for r in out], [0.6, 0.3, 0.4, 0.2, 0.2, 0.1]):
            self.assertAlmostEqual(got, expected)
        self.assertEqual(len(out), 6)
        self.assertEqual(len(at_training_sizes(rows, (1920, 1080))), 6)
        self.assertEqual(at_training_sizes(rows, (1080, 1920)), rows)


if __name__ == "__main__":
    unittest.main()
