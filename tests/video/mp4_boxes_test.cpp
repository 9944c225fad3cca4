#include "video/mp4_boxes.h"

#include "tests/support/temp_dir.h"
#include "tests/support/test_videos.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace rallinox {
namespace {

std::string u32(std::uint32_t v) {
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

std::string u64(std::uint64_t v) { return u32(std::uint32_t(v >> 32)) + u32(std::uint32_t(v)); }

std::string box(const std::string& type, const std::string& payload) {
    return u32(std::uint32_t(8 + payload.size())) + type + payload;
}

std::string hdlr(const std::string& handler) {
    return box("hdlr", u32(0) + u32(0) + handler + std::string(12, '\0') + '\0');
}

std::string mdhd(std::uint32_t timescale, int version = 0) {
    if (version == 1) return box("mdhd", u32(0x01000000) + u64(0) + u64(0) + u32(timescale) + u64(0) + u32(0));
    return box("mdhd", u32(0) + u32(0) + u32(0) + u32(timescale) + u32(0) + u32(0));
}

// Edit-list entries as (segment duration, media time).
std::string elst(const std::vector<std::pair<std::uint64_t, std::int64_t>>& entries, int version = 0) {
    std::string payload = u32(version == 1 ? 0x01000000 : 0) + u32(std::uint32_t(entries.size()));
    for (const auto& [duration, mediaTime] : entries) {
        if (version == 1)
            payload += u64(duration) + u64(std::uint64_t(mediaTime)) + u32(0x00010000);
        else
            payload += u32(std::uint32_t(duration)) + u32(std::uint32_t(mediaTime)) + u32(0x00010000);
    }
    return box("elst", payload);
}

std::string trak(const std::string& handler, const std::string& mdhdBox, const std::string& edtsPayload) {
    return box("trak", box("tkhd", std::string(84, '\0')) + box("edts", edtsPayload) +
                           box("mdia", mdhdBox + hdlr(handler) + box("minf", "")));
}

std::string videoTrak(std::int64_t mediaTime, std::uint32_t timescale) {
    return trak("vide", mdhd(timescale), elst({{100, mediaTime}}));
}

std::string mp4(const std::string& moovPayload, const std::string& before = "") {
    return box("ftyp", "isom" + u32(0x200) + "isomiso2") + before + box("moov", moovPayload);
}

double offsetOf(const std::string& bytes) {
    std::istringstream file(bytes);
    return mp4VideoStartOffset(file);
}

TEST(Mp4VideoStartOffset, ReadsTheFirstNonEmptyEditOfTheVideoTrack) {
    EXPECT_DOUBLE_EQ(offsetOf(mp4(videoTrak(1024, 12800))), 0.08);
    EXPECT_DOUBLE_EQ(offsetOf(mp4(trak("vide", mdhd(12800, 1), elst({{100, 2560}}, 1)))), 0.2);
    EXPECT_DOUBLE_EQ(offsetOf(mp4(trak("vide", mdhd(1000), elst({{500, -1}, {100, 250}})))), 0.25);
}

TEST(Mp4VideoStartOffset, SkipsTracksThatAreNotUsableVideo) {
    const std::string audio = trak("soun", mdhd(48000), elst({{100, 4800}}));
    const std::string noTimescale = trak("vide", mdhd(0), elst({{100, 77}}));
    const std::string noEdits = box("trak", box("mdia", mdhd(600) + hdlr("vide")));
    EXPECT_DOUBLE_EQ(offsetOf(mp4(audio + noTimescale + noEdits + videoTrak(30, 600))), 0.05);
    EXPECT_DOUBLE_EQ(offsetOf(mp4(audio + noEdits)), 0.0);
}

TEST(Mp4AudioStartOffset, ReadsTheFirstSoundTrackNotTheVideo) {
    test::TempDir dir;
    const std::filesystem::path file = dir / "movie.mp4";
    test::writeFile(file, mp4(videoTrak(1024, 12800) + trak("soun", mdhd(48000), elst({{100, 1024}})) +
                              trak("soun", mdhd(48000), elst({{100, 4800}}))));
    EXPECT_DOUBLE_EQ(mp4AudioStartOffset(file.string()), 1024.0 / 48000.0);
    EXPECT_DOUBLE_EQ(mp4VideoStartOffset(file.string()), 0.08);
    test::writeFile(file, mp4(videoTrak(1024, 12800)));
    EXPECT_DOUBLE_EQ(mp4AudioStartOffset(file.string()), 0.0) << "no sound track";
}

TEST(Mp4VideoStartOffset, GivesZeroWithoutAPositiveEdit) {
    EXPECT_DOUBLE_EQ(offsetOf(mp4(videoTrak(0, 12800))), 0.0);
    EXPECT_DOUBLE_EQ(offsetOf(mp4(videoTrak(-7, 12800))), 0.0);
    EXPECT_DOUBLE_EQ(offsetOf(mp4(trak("vide", mdhd(12800), elst({{100, -1}})))), 0.0);
    EXPECT_DOUBLE_EQ(offsetOf(mp4(trak("vide", mdhd(12800), box("free", "")))), 0.0);
    EXPECT_DOUBLE_EQ(offsetOf(mp4(trak("vide", mdhd(12800), elst({})))), 0.0);
}

TEST(Mp4VideoStartOffset, FindsTheMovieBehindLargeAndOpenEndedBoxes) {
    const std::string wideMdat = u32(1) + "mdat" + u64(16 + 5) + "xxxxx";
    EXPECT_DOUBLE_EQ(offsetOf(mp4(videoTrak(1024, 12800), box("mdat", std::string(3000, 'm')) + wideMdat)), 0.08);
    const std::string openEndedMoov = box("ftyp", "isom") + u32(0) + "moov" + videoTrak(1024, 12800);
    EXPECT_DOUBLE_EQ(offsetOf(openEndedMoov), 0.08);
}

TEST(Mp4VideoStartOffset, SurvivesSizesThatOverflowOrRunPastTheirParent) {
    const std::string track = videoTrak(1024, 12800);
    // 64-bit sizes at the very top of the range.
    EXPECT_DOUBLE_EQ(offsetOf(u32(1) + "ftyp" + u64(~0ull) + mp4(track)), 0.0);
    EXPECT_DOUBLE_EQ(offsetOf(u32(1) + "moov" + u64(~0ull - 7) + track), 0.0);
    // Smaller than its own header.
    EXPECT_DOUBLE_EQ(offsetOf(u32(5) + "ftyp" + mp4(track)), 0.0);
    EXPECT_DOUBLE_EQ(offsetOf(u32(1) + "moov" + u64(9) + track), 0.0);
    // A track claiming more than the movie holds.
    std::string longTrak = track;
    longTrak.replace(0, 4, u32(std::uint32_t(track.size() + 100)));
    EXPECT_DOUBLE_EQ(offsetOf(mp4(longTrak)), 0.0);
    // An edit list claiming four billion entries but holding one.
    std::string manyEntries = trak("vide", mdhd(12800), elst({{100, 1024}}));
    const auto countAt = manyEntries.find("elst") + 8;
    manyEntries.replace(countAt, 4, u32(0xFFFFFFFFu));
    EXPECT_DOUBLE_EQ(offsetOf(mp4(manyEntries)), 0.08);
    // Timescale and handler fields cut off.
    EXPECT_DOUBLE_EQ(offsetOf(mp4(trak("vide", box("mdhd", u32(0) + u32(0)), elst({{1, 5}})))), 0.0);
    EXPECT_DOUBLE_EQ(offsetOf(mp4(box("trak", box("edts", elst({{1, 5}})) +
                                                  box("mdia", mdhd(10) + box("hdlr", "vi"))))),
                     0.0);
}

TEST(Mp4VideoStartOffset, GivesZeroForEveryTruncationOfTheFile) {
    const std::string whole = mp4(videoTrak(1024, 12800) + box("udta", std::string(40, 'u')));
    for (std::size_t length = 0; length < whole.size(); ++length) {
        SCOPED_TRACE(length);
        EXPECT_DOUBLE_EQ(offsetOf(whole.substr(0, length)), 0.0);
    }
    EXPECT_DOUBLE_EQ(offsetOf(whole), 0.08);
}

TEST(Mp4VideoStartOffset, RefusesAMovieLargerThan64MiBWithoutReadingIt) {
    test::TempDir dir;
    const std::string path = dir.file("huge.mp4");
    const std::uint32_t moovSize = 64u * 1024 * 1024 + 9;
    test::writeFile(path, box("ftyp", "isom") + u32(moovSize) + "moov" + videoTrak(1024, 12800));
    std::filesystem::resize_file(path, 16 + moovSize);  // sparse: costs no disk
    EXPECT_DOUBLE_EQ(mp4VideoStartOffset(path), 0.0);
}

TEST(Mp4VideoStartOffset, GivesZeroForFilesThatAreNotMp4) {
    test::TempDir dir;
    test::writeFile(dir.file("notes.txt"), "These are notes about the match, not a video.\n");
    test::writeFile(dir.file("empty.mp4"), "");
    EXPECT_DOUBLE_EQ(mp4VideoStartOffset(dir.file("notes.txt")), 0.0);
    EXPECT_DOUBLE_EQ(mp4VideoStartOffset(dir.file("empty.mp4")), 0.0);
    EXPECT_DOUBLE_EQ(mp4VideoStartOffset(dir.file("missing.mp4")), 0.0);
    EXPECT_DOUBLE_EQ(mp4VideoStartOffset(dir.file("")), 0.0);
}

// Every byte of a real encoder's movie box overwritten in turn: the reader
// must neither crash nor give a negative or non-finite start.
TEST(Mp4VideoStartOffset, SurvivesDamageToEveryByteOfARealMovieBox) {
    test::TempDir dir;
    const std::string path = dir.file("real.mp4");
    ASSERT_TRUE(test::runFfmpeg("-f lavfi -i testsrc2=s=64x48:r=25 -frames:v 10 -c:v libx264 \"" + path + '"'));
    const std::string original = test::readFile(path);
    const auto moov = original.find("moov");
    ASSERT_NE(moov, std::string::npos);
    EXPECT_GT(offsetOf(original), 0.0);  // B-frames give the encoder an edit list
    for (std::size_t at = moov - 4; at < original.size(); ++at) {
        for (char value : {'\0', '\xFF', '\x01'}) {
            std::string damaged = original;
            damaged[at] = value;
            const double offset = offsetOf(damaged);
            ASSERT_TRUE(std::isfinite(offset) && offset >= 0.0) << "byte " << at;
        }
    }
}

}  // namespace
}  // namespace rallinox
