// Damaged, odd and hostile video files, made here with ffmpeg and byte
// edits: each must end in a result or in a message for the user, both in the
// analysis driver and in rallinox-analyze, and never hang or crash.
#include "engine/analysis_job.h"
#include "run_command.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_videos.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>

namespace rallinox {
namespace {

namespace fs = std::filesystem;

constexpr const char* kCannotOpen = "cannot be opened.";

// Four seconds of moving picture with sound, small so that the corpus stays fast.
std::string clipArguments(const std::string& codecOptions, const std::string& path) {
    return "-f lavfi -i testsrc2=s=160x120:r=25:d=4 -f lavfi -i sine=d=4 -shortest " + codecOptions + " " +
           test::quoted(path);
}

bool makeClip(const std::string& path, const std::string& codecOptions) {
    return test::runFfmpeg(clipArguments(codecOptions, path));
}

bool hasEncoder(const std::string& name) {
    return test::runCommand("ffmpeg -hide_banner -encoders 2>/dev/null").out.find(" " + name + " ") !=
           std::string::npos;
}

// Where the box named `type` starts in an MP4 file's bytes.
size_t boxStart(const std::string& bytes, const std::string& type) {
    const size_t at = bytes.find(type);
    return at == std::string::npos || at < 4 ? std::string::npos : at - 4;
}

void flipBytes(std::string& bytes, size_t from, size_t count) {
    for (size_t i = from; i < from + count && i < bytes.size(); i += 7) bytes[i] = static_cast<char>(~bytes[i]);
}

struct Corpus {
    test::TempDir dir;
    std::string indexLast = dir.file("index-last.mp4");
    std::string indexFirst = dir.file("index-first.mp4");
    bool made = makeClip(indexLast, "-c:v libx264 -preset ultrafast -c:a aac") &&
                test::runFfmpeg("-i " + test::quoted(indexLast) + " -c copy -movflags +faststart " +
                                test::quoted(indexFirst));

    // A copy of `source` whose bytes `edit` changed.
    std::string edited(const std::string& source, const std::string& name,
                       const std::function<void(std::string&)>& edit) const {
        std::string bytes = test::readFile(source);
        edit(bytes);
        const std::string path = dir.file(name);
        test::writeFile(path, bytes);
        return path;
    }
    std::string cut(const std::string& source, const std::string& name, double share) const {
        return edited(source, name, [share](std::string& bytes) { bytes.resize(size_t(bytes.size() * share)); });
    }
};

struct DamagedVideo {
    const char* name;
    // The file to analyse; empty when this machine cannot make it (the
    // reason in `skipped`).
    std::function<std::string(const Corpus&, std::string& skipped)> make;
    const char* expectedError = nullptr;  // part of the message, when the file must fail
};

std::string encoded(const Corpus& corpus, const std::string& encoder, const std::string& options,
                    const std::string& name, std::string& skipped) {
    if (!hasEncoder(encoder)) {
        skipped = "this ffmpeg has no " + encoder + " encoder";
        return {};
    }
    const std::string path = corpus.dir.file(name);
    return makeClip(path, "-c:v " + encoder + " " + options) ? path : std::string();
}

const DamagedVideo kCorpus[] = {
    {"Empty",
     [](const Corpus& c, std::string&) {
         test::writeFile(c.dir / "empty.mp4", "");
         return c.dir.file("empty.mp4");
     },
     kCannotOpen},
    {"RenamedText",
     [](const Corpus& c, std::string&) {
         test::writeFile(c.dir / "score.mp4", "Set 1: 25-21\nSet 2: 19-25\n");
         return c.dir.file("score.mp4");
     },
     kCannotOpen},
    {"CutAt10PercentIndexFirst", [](const Corpus& c, std::string&) { return c.cut(c.indexFirst, "f10.mp4", 0.1); }},
    {"CutAt50PercentIndexFirst", [](const Corpus& c, std::string&) { return c.cut(c.indexFirst, "f50.mp4", 0.5); }},
    {"CutAt99PercentIndexFirst", [](const Corpus& c, std::string&) { return c.cut(c.indexFirst, "f99.mp4", 0.99); }},
    {"CutAt10PercentIndexLast", [](const Corpus& c, std::string&) { return c.cut(c.indexLast, "l10.mp4", 0.1); },
     kCannotOpen},
    {"CutAt50PercentIndexLast", [](const Corpus& c, std::string&) { return c.cut(c.indexLast, "l50.mp4", 0.5); },
     kCannotOpen},
    {"CutAt99PercentIndexLast", [](const Corpus& c, std::string&) { return c.cut(c.indexLast, "l99.mp4", 0.99); },
     kCannotOpen},
    {"IndexRemoved",
     [](const Corpus& c, std::string&) {
         return c.edited(c.indexLast, "no-index.mp4", [](std::string& bytes) { bytes.resize(boxStart(bytes, "moov")); });
     },
     kCannotOpen},
    {"BytesFlippedInTheIndex",
     [](const Corpus& c, std::string&) {
         return c.edited(c.indexFirst, "bad-index.mp4", [](std::string& bytes) {
             const size_t moov = boxStart(bytes, "moov");
             flipBytes(bytes, moov + 200, 400);
         });
     }},
    {"BytesFlippedInTheData",
     [](const Corpus& c, std::string&) {
         return c.edited(c.indexFirst, "bad-data.mp4", [](std::string& bytes) {
             const size_t mdat = boxStart(bytes, "mdat");
             flipBytes(bytes, mdat + (bytes.size() - mdat) / 3, (bytes.size() - mdat) / 3);
         });
     }},
    {"HugeDeclaredBoxSize",
     [](const Corpus& c, std::string&) {
         return c.edited(c.indexFirst, "huge-box.mp4", [](std::string& bytes) {
             bytes.replace(boxStart(bytes, "mdat"), 4, "\xff\xff\xff\xf0");
         });
     }},
    {"HugeDeclaredPictureSize",
     [](const Corpus& c, std::string&) {
         return c.edited(c.indexFirst, "huge-picture.mp4", [](std::string& bytes) {
             // The sample description's width and height (16 bits each) follow
             // 24 bytes after its "avc1" name.
             const size_t entry = bytes.find("avc1");
             bytes.replace(entry + 4 + 24, 4, "\xff\xff\xff\xff");
         });
     }},
    {"SoundOnly",
     [](const Corpus& c, std::string&) {
         const std::string path = c.dir.file("sound.m4a");
         return test::runFfmpeg("-i " + test::quoted(c.indexLast) + " -vn -c copy " + test::quoted(path)) ? path
                                                                                                           : "";
     },
     "has no video track"},
    {"H265", [](const Corpus& c, std::string& skipped) {
         return encoded(c, "libx265", "-preset ultrafast -x265-params log-level=none", "h265.mp4", skipped);
     }},
    {"Vp9", [](const Corpus& c, std::string& skipped) {
         return encoded(c, "libvpx-vp9", "-deadline realtime -cpu-used 8", "vp9.webm", skipped);
     }},
    {"Av1", [](const Corpus& c, std::string& skipped) {
         return encoded(c, "libaom-av1", "-cpu-used 8 -row-mt 1", "av1.mp4", skipped);
     }},
    {"Mjpeg", [](const Corpus& c, std::string& skipped) { return encoded(c, "mjpeg", "", "mjpeg.avi", skipped); }},
    {"OneFrame",
     [](const Corpus& c, std::string&) {
         const std::string path = c.dir.file("one-frame.mp4");
         return test::runFfmpeg("-f lavfi -i testsrc2=s=160x120:r=25 -frames:v 1 " + test::quoted(path)) ? path : "";
     }},
    {"Fifo",
     [](const Corpus& c, std::string&) {
         const std::string path = c.dir.file("pipe.mp4");
         return ::mkfifo(path.c_str(), 0600) == 0 ? path : "";
     }},
    {"Directory",
     [](const Corpus& c, std::string&) {
         fs::create_directory(c.dir / "folder.mp4");
         return c.dir.file("folder.mp4");
     }},
};

// Test lists show the case's name.
void PrintTo(const DamagedVideo& video, std::ostream* out) { *out << video.name; }

class DamagedVideos : public testing::TestWithParam<DamagedVideo> {};

TEST_P(DamagedVideos, EndWithAResultOrAMessage) {
    const Corpus corpus;
    ASSERT_TRUE(corpus.made) << "ffmpeg could not make the clip";
    std::string skipped;
    const std::string path = GetParam().make(corpus, skipped);
    if (!skipped.empty()) GTEST_SKIP() << skipped;
    ASSERT_FALSE(path.empty()) << "could not make the file";

    AnalysisProgress progress;
    const AnalysisResult result = analysisJobBody({path}, progress);
    EXPECT_FALSE(result.cancelled);
    if (result.ok) {
        EXPECT_TRUE(std::isfinite(result.readSec));
        for (const AnalysisRally& rally : result.rallies) {
            EXPECT_LE(0, rally.startSec);
            EXPECT_LT(rally.startSec, rally.endSec);
            EXPECT_LE(rally.endSec, result.video.durationSec);
        }
    } else {
        EXPECT_FALSE(result.error.empty());
    }
    if (GetParam().expectedError) {
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.error.find(GetParam().expectedError), std::string::npos) << result.error;
    }

    // The tool gives the same outcome, with the message on standard error.
    const test::CommandOutput run = test::runCommand(std::string(RALLINOX_ANALYZE) + " -- " + test::quoted(path) + " 2>&1");
    ASSERT_TRUE(WIFEXITED(run.status)) << run.out;
    EXPECT_EQ(WEXITSTATUS(run.status), result.ok ? 0 : 1) << run.out;
    if (!result.ok) {
        EXPECT_NE(run.out.find(result.error + "\n"), std::string::npos) << run.out;
    }
}

INSTANTIATE_TEST_SUITE_P(Corpus, DamagedVideos, testing::ValuesIn(kCorpus),
                         [](const testing::TestParamInfo<DamagedVideo>& info) { return info.param.name; });

// A file name may start with "-" after "--"; a result that cannot be
// written is a failure, not an empty success.
TEST(AnalyzeTool, TakesAnyNameAfterTheOptionsAndFailsWhenItCannotWrite) {
    test::TempDir dir;
    ASSERT_TRUE(makeClip(dir.file("-clip.mp4"), "-c:v libx264 -preset ultrafast -an"));
    const std::string inDir = "cd " + test::quoted(dir.path().string()) + " && " + RALLINOX_ANALYZE;

    const test::CommandOutput usage = test::runCommand(inDir + " -clip.mp4 2>&1");
    EXPECT_EQ(WEXITSTATUS(usage.status), 2) << usage.out;
    const test::CommandOutput text = test::runCommand(inDir + " -- -clip.mp4 2>/dev/null");
    EXPECT_EQ(WEXITSTATUS(text.status), 0);
    EXPECT_NE(text.out.find(" frames analysed\n"), std::string::npos) << text.out;
    const test::CommandOutput json = test::runCommand(inDir + " --json -- -clip.mp4 2>/dev/null");
    EXPECT_EQ(WEXITSTATUS(json.status), 0);
    EXPECT_EQ(json.out.rfind("{", 0), 0u) << json.out;

    for (const std::string& format : {std::string(), std::string(" --json")}) {
        const test::CommandOutput full = test::runCommand(inDir + format + " -- -clip.mp4 2>&1 >/dev/full");
        EXPECT_EQ(WEXITSTATUS(full.status), 1) << format;
        EXPECT_NE(full.out.find("Could not write the result: No space left on device\n"), std::string::npos)
            << full.out;
    }
}

}  // namespace
}  // namespace rallinox
