#include "export/edl.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/file_size_limit.h"
#include "tests/support/temp_dir.h"

namespace rallinox {
namespace {

namespace fs = std::filesystem;

Rally rally(double startSec, double endSec, const std::string& name = "") {
    Rally r;
    r.startSec = startSec;
    r.endSec = endSec;
    r.name = name;
    return r;
}

TEST(EdlTimecode, CountsFramesAtTheExactRateAndShowsWholeFrames) {
    EXPECT_EQ(edlTimecode(12.5, 25), "00:00:12:13");
    EXPECT_EQ(edlTimecode(0, 25), "00:00:00:00");
    EXPECT_EQ(edlTimecode(10, 29.97), "00:00:10:00");    // 299.7 rounds to frame 300
    EXPECT_EQ(edlTimecode(60, 29.97), "00:00:59:28");    // frame 1798 of a 30-frame field
    EXPECT_EQ(edlTimecode(3725.04, 25), "01:02:05:01");
    EXPECT_EQ(edlTimecode(90000, 25), "25:00:00:00");    // hours do not wrap
}

TEST(EdlTimecode, UnusableRatesAndTimes) {
    EXPECT_EQ(edlTimecode(1.5, 0), "00:00:01:15");  // counted as 30
    EXPECT_EQ(edlTimecode(1.5, -4), "00:00:01:15");
    EXPECT_EQ(edlTimecode(7, 1.2), "00:00:08:00");  // one frame per second: the field is always 00
    EXPECT_EQ(edlTimecode(-3, 25), "00:00:00:00");
}

TEST(EdlText, WritesTheDocumentedExampleEvent) {
    EXPECT_EQ(edlText("Final", "match.mp4", 25, {rally(12.5, 20)}),
              "TITLE: Final\n"
              "FCM: NON-DROP FRAME\n"
              "\n"
              "001  AX       AA/V  C        00:00:12:13 00:00:20:00 00:00:00:00 00:00:07:12\n"
              "* FROM CLIP NAME: match.mp4\n"
              "* COMMENT: Rally #1 (12.50s - 20.00s, Duration: 7.50s)\n"
              "\n");
}

TEST(EdlText, PlacesEventsEndToEndWithTheSourceLengths) {
    const std::string text =
        edlText("Cup", "game.mov", 29.97, {rally(0.02, 10.02), rally(20, 25.5, "Long  rally"), rally(40, 41)});
    EXPECT_NE(text.find("001  AX       AA/V  C        00:00:00:01 00:00:10:00 00:00:00:00 00:00:09:29\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("002  AX       AA/V  C        00:00:19:29 00:00:25:14 00:00:09:29 00:00:15:14\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("003  AX       AA/V  C        00:00:39:29 00:00:40:29 00:00:15:14 00:00:16:14\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("* COMMENT: Long  rally (20.00s - 25.50s, Duration: 5.50s)\n"), std::string::npos);
    EXPECT_NE(text.find("* FROM CLIP NAME: game.mov\n"), std::string::npos);
}

TEST(EdlText, ZeroLengthRalliesTakeNoRecordTime) {
    const std::string text = edlText("T", "m.mp4", 25, {rally(10, 12), rally(30, 29), rally(40, 41)});
    EXPECT_NE(text.find("002  AX       AA/V  C        00:00:30:00 00:00:30:00 00:00:02:00 00:00:02:00\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("* COMMENT: Rally #2 (30.00s - 29.00s, Duration: 0.00s)\n"), std::string::npos);
    EXPECT_NE(text.find("003  AX       AA/V  C        00:00:40:00 00:00:41:00 00:00:02:00 00:00:03:00\n"),
              std::string::npos)
        << text;
}

TEST(EdlText, TitleAndClipNameAreTrimmedOrDefaulted) {
    const std::string blank = edlText(" \t\r\n ", "  \n", 25, {rally(1, 2)});
    EXPECT_EQ(blank.rfind("TITLE: Rallinox Project\nFCM: NON-DROP FRAME\n\n", 0), 0u);
    EXPECT_NE(blank.find("* FROM CLIP NAME: match.mp4\n"), std::string::npos);

    const std::string padded = edlText("  Final day\t", "\tmy match.mp4 \r\n", 25, {});
    EXPECT_EQ(padded, "TITLE: Final day\nFCM: NON-DROP FRAME\n\n");
    EXPECT_EQ(edlText("x", "y.mp4", 25, {rally(1, 2)}).find("\n\n\n"), std::string::npos);
}

TEST(EdlText, LineBreaksInsideNamesCannotStartNewLines) {
    const std::string text = edlText("Day\n1", "a\nb.mp4", 25, {rally(1, 2, "set\r\npoint")});
    EXPECT_NE(text.find("TITLE: Day 1\n"), std::string::npos);
    EXPECT_NE(text.find("* FROM CLIP NAME: a b.mp4\n"), std::string::npos);
    EXPECT_NE(text.find("* COMMENT: set  point (1.00s"), std::string::npos);
}

TEST(EdlFile, PathReplacesTheVideoExtension) {
    EXPECT_EQ(edlPathFor("/videos/Final day.mp4"), "/videos/Final day.edl");
    EXPECT_EQ(edlPathFor("/videos/cut"), "/videos/cut.edl");
}

TEST(EdlFile, SavesTheTextUnchangedAndReplacesAnOldFile) {
    test::TempDir dir;
    const std::string path = (dir / "cut.edl").string();
    test::writeFile(path, std::string(5000, 'x'));
    EXPECT_EQ(saveEdl(path, "T", "m.mp4", 25, {rally(1, 2)}), "");
    EXPECT_EQ(test::readFile(path), edlText("T", "m.mp4", 25, {rally(1, 2)}));
}

TEST(EdlFile, ReportsAFileThatCannotBeWrittenAndLeavesNothingHalfMade) {
    test::TempDir dir;
    EXPECT_EQ(saveEdl((dir / "missing" / "cut.edl").string(), "T", "m.mp4", 25, {}), "Could not write the EDL file.");
    EXPECT_EQ(saveEdl(dir.path().string(), "T", "m.mp4", 25, {}), "Could not write the EDL file.");
    EXPECT_TRUE(fs::is_empty(dir.path()));

    const std::string fresh = (dir / "fresh.edl").string();
    const std::string older = (dir / "older.edl").string();
    test::writeFile(older, "last week's cut");
    {
        const test::FileSizeLimit fullDisk(16);
        EXPECT_EQ(saveEdl(fresh, "T", "m.mp4", 25, {rally(1, 2)}), "Could not write the EDL file.");
        EXPECT_EQ(saveEdl(older, "T", "m.mp4", 25, {rally(1, 2)}), "Could not write the EDL file.");
    }
    EXPECT_FALSE(fs::exists(fresh));
    EXPECT_EQ(test::readFile(older), "last week's cut");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace rallinox
