#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <future>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <opencv2/imgcodecs.hpp>

#include "app/jobs/thumbnail_worker.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_videos.h"

namespace rallinox {
namespace {

namespace fs = std::filesystem;

class Thumbnails : public ::testing::Test {
protected:
    // A 4-second 160x120 video whose picture is red for 2 seconds, then blue.
    fs::path makeVideo() {
        const fs::path video = dir / "match.mp4";
        EXPECT_TRUE(test::runFfmpeg("-f lavfi -i color=c=red:size=160x120:rate=25:duration=2 "
                                    "-f lavfi -i color=c=blue:size=160x120:rate=25:duration=2 "
                                    "-filter_complex concat=n=2:v=1 -c:v libx264 -pix_fmt yuv420p '" +
                                    video.string() + "'"));
        return video;
    }
    ThumbnailRequest requestAt(double timeSec) const {
        return {"p1", (dir / "match.mp4").string(), dir / "thumb.jpg", timeSec};
    }

    test::TempDir dir;
};

// Red, green and blue of the picture's centre.
std::array<int, 3> centreColour(const ThumbnailPicture& picture) {
    const size_t at = (static_cast<size_t>(picture.height / 2) * picture.width + picture.width / 2) * 4;
    return {picture.rgba[at], picture.rgba[at + 1], picture.rgba[at + 2]};
}

TEST(ThumbnailTime, MiddleOfTheFirstRallyOrTenPercentIn) {
    Project project;
    project.videoDurationSec = 600;
    EXPECT_DOUBLE_EQ(thumbnailTimeSec(project), 60);
    project.rallies = {{1, 10, 20, "", "", true, Winner::None, false}, {2, 30, 40, "", "", true, Winner::None, false}};
    EXPECT_DOUBLE_EQ(thumbnailTimeSec(project), 15);
}

TEST_F(Thumbnails, FrameAtTheRequestedTimeIsScaledAndStored) {
    makeVideo();
    const ThumbnailPicture picture = makeThumbnail(requestAt(3.0));
    EXPECT_EQ(picture.id, "p1");
    ASSERT_EQ(picture.width, 320);
    ASSERT_EQ(picture.height, 240);
    ASSERT_EQ(picture.rgba.size(), 320u * 240u * 4u);
    const auto [red, green, blue] = centreColour(picture);
    EXPECT_LT(red, 60);
    EXPECT_GT(blue, 200);
    EXPECT_EQ(picture.rgba[3], 255);
    EXPECT_TRUE(fs::exists(dir / "thumb.jpg"));
}

TEST_F(Thumbnails, StoredPictureIsUsedWithoutTheVideo) {
    makeVideo();
    makeThumbnail(requestAt(0.5));  // red, stored as thumb.jpg
    fs::remove(dir / "match.mp4");
    const ThumbnailPicture picture = makeThumbnail(requestAt(3.0));
    ASSERT_EQ(picture.width, 320);
    EXPECT_GT(centreColour(picture)[0], 200);
}

TEST_F(Thumbnails, DamagedStoredPictureIsMadeAgain) {
    makeVideo();
    test::writeFile(dir / "thumb.jpg", "not a jpeg");
    const ThumbnailPicture picture = makeThumbnail(requestAt(0.5));
    ASSERT_EQ(picture.width, 320);
    EXPECT_NE(test::readFile(dir / "thumb.jpg"), "not a jpeg");
}

TEST_F(Thumbnails, UnreadableVideoGivesAnEmptyPicture) {
    const ThumbnailPicture picture = makeThumbnail(requestAt(1.0));
    EXPECT_EQ(picture.id, "p1");
    EXPECT_EQ(picture.width, 0);
    EXPECT_TRUE(picture.rgba.empty());
    EXPECT_FALSE(fs::exists(dir / "thumb.jpg"));
}

// The worker is fed stored pictures only, so that these tests exercise its own
// threads and not the video back ends' (which ThreadSanitizer cannot see into).
class ThumbnailWorkerTest : public ::testing::Test {
protected:
    ThumbnailRequest storedPicture(const std::string& id, const cv::Scalar& bgr) const {
        const fs::path file = dir / (id + ".jpg");
        cv::imwrite(file.string(), cv::Mat(90, 160, CV_8UC3, bgr));
        return {id, (dir / "no-video.mp4").string(), file, 0};
    }

    // Collects pictures until `count` have arrived.
    static std::vector<ThumbnailPicture> collect(ThumbnailWorker& worker, size_t count) {
        std::vector<ThumbnailPicture> finished;
        while (finished.size() < count) {
            for (ThumbnailPicture& picture : worker.takeFinished()) finished.push_back(std::move(picture));
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return finished;
    }

    test::TempDir dir;
};

TEST_F(ThumbnailWorkerTest, ServesRequestsInOrder) {
    ThumbnailWorker worker;
    worker.request(storedPicture("red", {0, 0, 255}));
    worker.request(storedPicture("blue", {255, 0, 0}));
    const std::vector<ThumbnailPicture> finished = collect(worker, 2);
    ASSERT_EQ(finished[0].id, "red");
    EXPECT_EQ(finished[0].width, 160);
    EXPECT_EQ(finished[0].height, 90);
    EXPECT_GT(centreColour(finished[0])[0], 200);
    ASSERT_EQ(finished[1].id, "blue");
    EXPECT_GT(centreColour(finished[1])[2], 200);
    EXPECT_TRUE(worker.takeFinished().empty());
}

TEST_F(ThumbnailWorkerTest, StopsWithRequestsPending) {
    std::vector<ThumbnailRequest> requests;
    for (int i = 0; i < 50; ++i) requests.push_back(storedPicture("p" + std::to_string(i), {0, 255, 0}));
    ThumbnailWorker worker;
    for (const ThumbnailRequest& request : requests) worker.request(request);
}

TEST_F(ThumbnailWorkerTest, RequestsFromAnotherThreadWhileTaking) {
    ThumbnailWorker worker;
    const ThumbnailRequest request = storedPicture("green", {0, 255, 0});
    std::thread requester([&] {
        for (int i = 0; i < 20; ++i) worker.request(request);
    });
    const std::vector<ThumbnailPicture> finished = collect(worker, 20);
    requester.join();
    for (const ThumbnailPicture& picture : finished) EXPECT_EQ(picture.width, 160);
}

TEST_F(ThumbnailWorkerTest, VideoThatIsAPipeGivesAnEmptyPictureWithoutWaitingForIt) {
    const fs::path fifo = dir / "match.mp4";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);  // opening it to read waits for a writer
    ThumbnailWorker worker;
    worker.request({"p1", fifo.string(), dir / "thumb.jpg", 0});
    std::vector<ThumbnailPicture> finished;
    for (int poll = 0; poll < 3000 && finished.empty(); ++poll) {
        finished = worker.takeFinished();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // Releases a reader stuck in the pipe, so that a failure still ends the test.
    if (const int writer = open(fifo.c_str(), O_WRONLY | O_NONBLOCK); writer >= 0) close(writer);
    ASSERT_EQ(finished.size(), 1u) << "the worker is stuck in the pipe";
    EXPECT_EQ(finished[0].width, 0);
}

TEST_F(ThumbnailWorkerTest, WorkerStuckInAVideoDoesNotHoldUpItsOwner) {
    std::promise<void> answer;
    std::shared_future<void> answered = answer.get_future().share();
    std::promise<void> started;
    auto worker = std::make_unique<ThumbnailWorker>([answered, &started](const ThumbnailRequest& request) {
        started.set_value();
        answered.wait();  // a video on a network mount that does not answer
        return ThumbnailPicture{request.id, 0, 0, {}};
    });
    worker->request(storedPicture("stuck", {0, 0, 255}));
    started.get_future().wait();
    // Destroyed on another thread so that a hang fails the test instead of stopping it.
    std::future<void> destroyed = std::async(std::launch::async, [&worker] { worker.reset(); });
    const bool returned = destroyed.wait_for(std::chrono::seconds(30)) == std::future_status::ready;
    answer.set_value();  // lets the thread left behind end
    EXPECT_TRUE(returned) << "the worker waited for a video that does not answer";
}

}  // namespace
}  // namespace rallinox
