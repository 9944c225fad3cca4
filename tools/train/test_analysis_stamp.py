import os
import pathlib
import tempfile
import unittest

import analysis_stamp as stamp


class AnalysisStampTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.root = pathlib.Path(self.folder.name)
        self.video = self.root / "match-1.mp4"
        self.video.write_bytes(b"video")
        self.features = self.root / "match-1"
        self.features.mkdir()

    def tearDown(self):
        self.folder.cleanup()

    def analysed(self, program="p1", track_model="t1"):
        (self.features / "analysis.csv").write_text("frames\n1\n")
        stamp.record(self.features, self.video, program, track_model)

    def test_track_tables_are_read_again_whatever_track_model_wrote_them(self):
        self.analysed(track_model="t1")
        self.assertTrue(stamp.written_by(self.features, self.video, "p1"))
        self.assertFalse(stamp.written_by(self.features, self.video, "p2"))

    def test_window_tables_need_the_same_track_model(self):
        self.analysed(track_model="t1")
        self.assertTrue(stamp.written_by(self.features, self.video, "p1", "t1"))
        self.assertFalse(stamp.written_by(self.features, self.video, "p1", "t2"))

    def test_a_match_rendered_again_is_analysed_again(self):
        self.analysed()
        later = self.video.stat().st_mtime_ns + 1_000_000_000
        os.utime(self.video, ns=(later, later))
        self.assertFalse(stamp.written_by(self.features, self.video, "p1"))
        other = self.root / "match-2.mp4"
        other.write_bytes(b"video")
        self.assertFalse(stamp.written_by(self.features, other, "p1"))

    def test_an_analysis_cut_short_leaves_nothing_to_read_again(self):
        self.analysed()
        stamp.forget(self.features)
        self.assertFalse(stamp.written_by(self.features, self.video, "p1"))
        self.assertFalse(stamp.written_by(self.root / "never-analysed", self.video, "p1"))
        (self.features / stamp.STAMP).write_text("{not json")
        self.assertFalse(stamp.written_by(self.features, self.video, "p1"))

    def test_tables_without_their_last_file_are_not_finished(self):
        self.analysed()
        (self.features / "analysis.csv").unlink()
        self.assertFalse(stamp.written_by(self.features, self.video, "p1"))

    def test_program_key_follows_every_source_and_file_key_the_file(self):
        sources = self.root / "src" / "engine"
        sources.mkdir(parents=True)
        (sources / "stage.cpp").write_text("int a;")
        before = stamp.program_key(self.root / "src", ["engine"])
        (sources / "stage.cpp").write_text("int b;")
        self.assertNotEqual(stamp.program_key(self.root / "src", ["engine"]), before)
        model = self.root / "track.rmod"
        model.write_bytes(b"one")
        first = stamp.file_key(model)
        model.write_bytes(b"two")
        self.assertNotEqual(stamp.file_key(model), first)

    def test_generator_key_follows_the_generator_sources_only(self):
        synth = self.root / "src" / "tools" / "synth"
        synth.mkdir(parents=True)
        (synth / "hall.cpp").write_text("int stands;")
        (self.root / "src" / "engine").mkdir(parents=True)
        before = stamp.generator_key(self.root / "src")
        (self.root / "src" / "engine" / "stage.cpp").write_text("int a;")
        self.assertEqual(stamp.generator_key(self.root / "src"), before)
        (synth / "hall.cpp").write_text("int no_stands;")
        self.assertNotEqual(stamp.generator_key(self.root / "src"), before)


if __name__ == "__main__":
    unittest.main()
