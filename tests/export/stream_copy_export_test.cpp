#include "export/stream_copy_export.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "export/export_body.h"
#include "export/mp4_export.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/temp_dir.h"
#include "tests/export/export_media.h"
#include "tests/support/test_videos.h"
#include "video/media_file.h"
#include "video/mp4_boxes.h"

namespace rallinox {
namespace {

namespace fs = std::filesystem;

constexpr int kFps = 25;
constexpr double kKeyFrameEverySec = 2.0;  // the numbered sources' 50 frames
constexpr double kFrameSec = 1.0 / kFps;

struct StoredPacket {
    double timeSec = 0;  // presentation time on the player's clock
    bool key = false;
    std::vector<std::uint8_t> data;
};

// The video track's packets as stored, in decoding order.
std::vector<StoredPacket> storedPictures(const std::string& path) {
    std::vector<StoredPacket> packets;
    MediaFile file;
    if (!file.open(path)) return packets;
    const int video = file.firstStream(AVMEDIA_TYPE_VIDEO);
    if (video < 0) return packets;
    const double timeBase = av_q2d(file.format()->streams[video]->time_base);
    const double startSec = mp4VideoStartOffset(path);
    AVPacket* packet = av_packet_alloc();
    while (av_read_frame(file.format(), packet) >= 0) {
        if (packet->stream_index == video)
            packets.push_back({double(packet->pts) * timeBase - startSec, (packet->flags & AV_PKT_FLAG_KEY) != 0,
                               std::vector<std::uint8_t>(packet->data, packet->data + packet->size)});
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    return packets;
}

// Index of the last key frame shown at or before `sec`.
size_t keyFrameBefore(const std::vector<StoredPacket>& packets, double sec) {
    size_t found = 0;
    for (size_t i = 0; i < packets.size(); ++i)
        if (packets[i].key && packets[i].timeSec <= sec + 1e-6) found = i;
    return found;
}

// How many output packets from `at` on equal the source's from `from` on.
size_t sameRun(const std::vector<StoredPacket>& output, size_t at, const std::vector<StoredPacket>& source,
               size_t from) {
    size_t count = 0;
    while (at + count < output.size() && from + count < source.size() &&
           output[at + count].data == source[from + count].data)
        ++count;
    return count;
}

bool decodesWithoutErrors(const std::string& path) {
    return test::runFfmpeg("-xerror -err_detect explode -i \"" + path + "\" -f null -");
}

struct Exported {
    ExportResult result;
    test::ReadBack file;
};

Exported fastExport(const std::string& source, const std::string& output, const std::vector<Cut>& cuts,
                    bool keepSound = true) {
    ExportProgress progress;
    Exported exported;
    exported.result = exportStreamCopy(source, output, cuts, keepSound, progress);
    if (exported.result.ok) {
        EXPECT_FLOAT_EQ(progress.fraction.load(), 1.0f);
        EXPECT_EQ(progress.currentCut.load(), int32_t(cuts.size()) - 1);
        exported.file = test::readBack(output);
    }
    return exported;
}

// The frames of the file shown in order: one run of consecutive source
// frames per cut, each from the cut's key frame on, up to the cut's end.
void expectCutsFromKeyFrames(const test::ReadBack& file, const std::vector<Cut>& cuts) {
    size_t frame = 0;
    for (const Cut& cut : cuts) {
        ASSERT_LT(frame, file.frames.size());
        const int first = file.frames[frame].number;
        EXPECT_LE(first, cut.startSec * kFps + 1e-6) << "the cut starts at or before " << cut.startSec;
        EXPECT_GT(first, (cut.startSec - kKeyFrameEverySec) * kFps - 1e-6);
        int expected = first;
        while (frame < file.frames.size() && file.frames[frame].number == expected) {
            ++frame;
            ++expected;
        }
        EXPECT_NEAR(expected, cut.endSec * kFps, 2.0) << "the cut ends at " << cut.endSec;
    }
    EXPECT_EQ(frame, file.frames.size()) << "no frame after the last cut";
}

TEST(StreamCopyExport, CutsOfAnH264MatchCopyThePictureFromEachCutsKeyFrameByteForByte) {
    test::TempDir dir;
    const std::string source = dir.file("match.mp4");
    ASSERT_TRUE(test::writeNumberedSource(source, kFps, 40));
    const std::string output = dir.file("rallies.mp4");
    const std::vector<Cut> cuts{{2.5, 10}, {15.3, 20}};
    const Exported exported = fastExport(source, output, cuts);
    ASSERT_TRUE(exported.result.ok) << exported.result.message;
    EXPECT_FALSE(exported.result.noSound);
    EXPECT_TRUE(exported.result.message.empty());
    EXPECT_FALSE(fs::exists(output + ".part"));

    const std::vector<StoredPacket> sourcePackets = storedPictures(source);
    const std::vector<StoredPacket> outputPackets = storedPictures(output);
    ASSERT_FALSE(outputPackets.empty());
    size_t at = 0;
    double lengthSec = 0;
    for (const Cut& cut : cuts) {
        const size_t key = keyFrameBefore(sourcePackets, cut.startSec);
        ASSERT_TRUE(outputPackets[at].key);
        EXPECT_NEAR(outputPackets[at].timeSec, lengthSec, 1e-3) << "each cut follows the one before";
        const size_t copied = sameRun(outputPackets, at, sourcePackets, key);
        const double cutSec = cut.endSec - sourcePackets[key].timeSec;
        EXPECT_NEAR(copied * kFrameSec, cutSec, 2 * kFrameSec) << "the cut from " << cut.startSec;
        at += copied;
        lengthSec += copied * kFrameSec;
    }
    EXPECT_EQ(at, outputPackets.size()) << "every picture packet is the source's";

    const test::ReadBack& file = exported.file;
    EXPECT_EQ(file.videoCodec, "h264");
    EXPECT_EQ(file.width, 160);
    EXPECT_NEAR(file.fps, kFps, 1e-6);
    EXPECT_NEAR(exported.result.outputSec, lengthSec, kFrameSec / 2);
    EXPECT_NEAR(file.videoSec, lengthSec, kFrameSec / 2);
    EXPECT_GE(file.videoSec, totalLengthSec(cuts) - kFrameSec);
    EXPECT_LE(file.videoSec, totalLengthSec(cuts) + cuts.size() * kKeyFrameEverySec);
    ASSERT_TRUE(file.hasAudio);
    EXPECT_EQ(file.audioCodec, "aac");
    EXPECT_NEAR(file.audioSec, file.videoSec, 0.03);
    expectCutsFromKeyFrames(file, cuts);
    EXPECT_TRUE(decodesWithoutErrors(output));
}

TEST(StreamCopyExport, TheSoundOfACutStaysWithItsPicture) {
    test::TempDir dir;
    const std::string source = dir.file("beep.mp4");
    ASSERT_TRUE(test::writeBeepingSource(source, kFps, 12, 9.0));
    const std::string output = dir.file("out.mp4");
    // Key frames at 2 and 8 s: the second cut starts 2 s into the output.
    const Exported exported = fastExport(source, output, {{2, 4}, {8.5, 10}});
    ASSERT_TRUE(exported.result.ok) << exported.result.message;
    const double sourceBeep = test::firstSoundSec(source) - mp4AudioStartOffset(source);
    const double outputBeep = test::firstSoundSec(output) - mp4AudioStartOffset(output);
    EXPECT_NEAR(outputBeep, 2 + 1 + (sourceBeep - 9.0), 0.025);
}

TEST(StreamCopyExport, TransportStreamMatroskaAndH265SourcesAreCopiedToo) {
    test::TempDir dir;
    const std::string plain = dir.file("plain.mp4");
    ASSERT_TRUE(test::writeNumberedSource(plain, kFps, 12));
    const std::string h265 = dir.file("h265.mp4");
    ASSERT_TRUE(test::runFfmpeg("-i \"" + plain + "\" -c:v libx265 -x265-params keyint=50:bframes=2:log-level=0 " +
                                "-c:a copy \"" + h265 + '"'));
    for (const std::string& source :
         {dir.file("camcorder.mts"), dir.file("match.mkv"), dir.file("match.mov"), h265}) {
        SCOPED_TRACE(source);
        if (source != h265) {
            ASSERT_TRUE(test::runFfmpeg("-i \"" + plain + "\" -c copy \"" + source + '"'));
        }
        ASSERT_TRUE(pictureCanBeCopied(source));
        const std::vector<Cut> cuts{{3, 5}, {7.2, 9}};
        const Exported exported = fastExport(source, dir.file("out.mp4"), cuts);
        ASSERT_TRUE(exported.result.ok) << exported.result.message;
        EXPECT_TRUE(exported.file.hasAudio);
        expectCutsFromKeyFrames(exported.file, cuts);
        EXPECT_TRUE(decodesWithoutErrors(dir.file("out.mp4")));
    }
}

TEST(StreamCopyExport, SoundInAnotherFormatIsReencodedAndStaysWithItsPicture) {
    test::TempDir dir;
    const std::string beeping = dir.file("beep.mp4");
    ASSERT_TRUE(test::writeBeepingSource(beeping, kFps, 12, 9.0));
    const std::string source = dir.file("beep mp3.mkv");
    ASSERT_TRUE(test::runFfmpeg("-i \"" + beeping + "\" -c:v copy -c:a libmp3lame \"" + source + '"'));
    const std::string output = dir.file("out.mp4");
    const std::vector<Cut> cuts{{2.5, 4}, {8.5, 10}};
    const Exported exported = fastExport(source, output, cuts);
    ASSERT_TRUE(exported.result.ok) << exported.result.message;
    EXPECT_FALSE(exported.result.noSound);
    ASSERT_TRUE(exported.file.hasAudio);
    EXPECT_EQ(exported.file.audioCodec, "aac");
    EXPECT_NEAR(exported.file.audioSec, exported.file.videoSec, 0.03);
    expectCutsFromKeyFrames(exported.file, cuts);
    // The beep keeps its distance to the second cut's key frame, frame 200.
    const test::ReadBack sourceFile = test::readBack(source);
    const auto shownAt = [](const test::ReadBack& file, int number) {
        for (const test::DecodedFrame& frame : file.frames)
            if (frame.number == number) return frame.timeSec;
        return -1.0;
    };
    const double sourceBeep = test::firstSoundSec(source) - shownAt(sourceFile, 200);
    const double outputBeep = test::firstSoundSec(output) - mp4AudioStartOffset(output) - shownAt(exported.file, 200);
    EXPECT_NEAR(outputBeep, sourceBeep, 0.025);
}

TEST(StreamCopyExport, SoundIsLeftOutWhenNotWantedOrNotInAKeptFormat) {
    test::TempDir dir;
    const std::string source = dir.file("match.mp4");
    ASSERT_TRUE(test::writeNumberedSource(source, kFps, 6));
    const Exported unwanted = fastExport(source, dir.file("unwanted.mp4"), {{1, 3}}, false);
    ASSERT_TRUE(unwanted.result.ok) << unwanted.result.message;
    EXPECT_FALSE(unwanted.result.noSound);
    EXPECT_FALSE(unwanted.file.hasAudio);

    const std::string lowRate = dir.file("low rate.mkv");
    ASSERT_TRUE(test::runFfmpeg("-i \"" + source + "\" -c:v copy -c:a libmp3lame -ar 22050 \"" + lowRate + '"'));
    const Exported withoutSound = fastExport(lowRate, dir.file("low rate.mp4"), {{1, 3}});
    ASSERT_TRUE(withoutSound.result.ok) << withoutSound.result.message;
    EXPECT_TRUE(withoutSound.result.noSound) << "22.05 kHz sound is not kept";
    EXPECT_FALSE(withoutSound.file.hasAudio);
    expectCutsFromKeyFrames(withoutSound.file, {{1, 3}});
}

TEST(StreamCopyExport, TurnedVideosKeepTheirRotation) {
    test::TempDir dir;
    const std::string plain = dir.file("plain.mp4");
    const std::string source = dir.file("phone.mp4");
    ASSERT_TRUE(test::writeNumberedSource(plain, kFps, 4));
    // Stored as a quarter turn counter-clockwise: 270 degrees clockwise.
    ASSERT_TRUE(test::runFfmpeg("-i \"" + plain + "\" -c copy -metadata:s:v:0 rotate=90 \"" + source + '"'));
    const Exported exported = fastExport(source, dir.file("out.mp4"), {{1, 2}});
    ASSERT_TRUE(exported.result.ok) << exported.result.message;
    EXPECT_EQ(exported.file.rotation, 270u);
}

ExportRequest fastRequest(const std::string& source, const std::string& output, double startSec, double endSec) {
    ExportRequest request;
    request.sourcePath = source;
    request.outputPath = output;
    request.rallies = {Rally{}};
    request.rallies[0].startSec = startSec;
    request.rallies[0].endSec = endSec;
    request.fast = true;
    return request;
}

// Counts the pictures it is given.
class CountingOverlay : public FrameOverlay {
public:
    void draw(Nv12Picture&, size_t, double) override { ++pictures; }
    int pictures = 0;
};

TEST(StreamCopyExport, TheFastChoiceCopiesThePictureUnlessAnOverlayDrawsIntoIt) {
    test::TempDir dir;
    const std::string source = dir.file("match.mp4");
    ASSERT_TRUE(test::writeNumberedSource(source, kFps, 6));
    const std::vector<StoredPacket> sourcePackets = storedPictures(source);
    const size_t key = keyFrameBefore(sourcePackets, 2.5);

    ExportProgress progress;
    const ExportRequest copied = fastRequest(source, dir.file("copied.mp4"), 2.5, 4);
    const ExportResult fast = runExport(copied, progress, nullptr);
    ASSERT_TRUE(fast.ok) << fast.message;
    EXPECT_TRUE(fast.message.empty());
    const std::vector<StoredPacket> copiedPackets = storedPictures(copied.outputPath);
    ASSERT_FALSE(copiedPackets.empty());
    EXPECT_EQ(sameRun(copiedPackets, 0, sourcePackets, key), copiedPackets.size());

    ExportProgress again;
    CountingOverlay overlay;
    const ExportRequest drawn = fastRequest(source, dir.file("drawn.mp4"), 2.5, 4);
    const ExportResult withOverlay = runExport(drawn, again, &overlay);
    ASSERT_TRUE(withOverlay.ok) << withOverlay.message;
    EXPECT_TRUE(withOverlay.message.empty());
    EXPECT_NEAR(overlay.pictures, 1.5 * kFps, 1) << "re-encoded from the cut's start, every picture drawn into";
}

TEST(StreamCopyExport, APictureThatCannotBeCopiedIsReencodedAndTheResultSaysSo) {
    test::TempDir dir;
    const std::string source = dir.file("old camera.avi");
    ASSERT_TRUE(test::runFfmpeg("-f lavfi -i testsrc2=s=160x120:r=25 -t 4 -c:v mpeg4 \"" + source + '"'));
    EXPECT_FALSE(pictureCanBeCopied(source));
    ExportProgress progress;
    EXPECT_EQ(exportStreamCopy(source, dir.file("direct.mp4"), {{1, 2}}, true, progress).message,
              kPictureNotCopyableMessage);
    EXPECT_FALSE(fs::exists(dir / "direct.mp4"));

    const ExportRequest request = fastRequest(source, dir.file("out.mp4"), 1, 2);
    const ExportResult result = runExport(request, progress, nullptr);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.message, kPictureReencodedMessage);
    EXPECT_EQ(test::readBack(request.outputPath).videoCodec, "h264");
}

TEST(StreamCopyExport, CancelledOrFailedExportsLeaveNoFileAndKeepAnOlderOne) {
    test::TempDir dir;
    const std::string source = dir.file("match.mp4");
    ASSERT_TRUE(test::writeNumberedSource(source, kFps, 10));
    const std::string output = dir.file("out.mp4");
    test::writeFile(output, "last week's export");

    ExportProgress cancelled;
    cancelled.cancel.store(true);
    const ExportResult stopped = exportStreamCopy(source, output, {{1, 3}, {5, 8}}, true, cancelled);
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_FALSE(stopped.ok);
    EXPECT_EQ(test::readFile(output), "last week's export");
    EXPECT_FALSE(fs::exists(output + ".part"));

    // The disk fills up while the file is written.
    const std::string full = dir.file("full.mp4");
    ExportProgress progress;
    ExportResult failed;
    {
        const test::FileSizeLimit smallDisk(64 * 1024);
        failed = exportStreamCopy(source, full, {{0, 9}}, true, progress);
    }
    EXPECT_FALSE(failed.ok);
    EXPECT_FALSE(failed.cancelled);
    EXPECT_EQ(failed.message, "Cannot finish the output file (File too large)");
    EXPECT_FALSE(fs::exists(full));
    EXPECT_FALSE(fs::exists(full + ".part"));

    test::writeFile(dir / "notes.txt", "not a folder");
    const ExportResult unwritable = exportStreamCopy(source, dir.file("notes.txt/out.mp4"), {{1, 2}}, true, progress);
    EXPECT_EQ(unwritable.message.rfind("Cannot create the output file (", 0), 0u) << unwritable.message;
    EXPECT_EQ(exportStreamCopy(source, source, {{1, 2}}, true, progress).message, kSameFileMessage);
    EXPECT_EQ(exportStreamCopy(source, dir.file("empty.mp4"), {{3, 1}}, true, progress).message, kNoRalliesMessage);
    test::writeFile(dir / "broken.mp4", "no video in here");
    EXPECT_EQ(exportStreamCopy(dir.file("broken.mp4"), dir.file("b.mp4"), {{1, 2}}, true, progress).message,
              "Cannot open the source video");
    EXPECT_FALSE(fs::exists(dir / "empty.mp4"));
    EXPECT_FALSE(fs::exists(dir / "b.mp4"));
}

}  // namespace
}  // namespace rallinox
