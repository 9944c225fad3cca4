#include "video/frame_queue.h"

#include <gtest/gtest.h>

#include <thread>

namespace rallinox {
namespace {

cv::Mat numbered(int n) { return cv::Mat(2, 2, CV_8UC1, cv::Scalar(n)); }

TEST(FrameQueue, HandsFramesOverInOrderAndEndsAfterTheLast) {
    FrameQueue queue(4);
    std::thread producer([&] {
        for (int n = 0; n < 50; ++n) ASSERT_TRUE(queue.push(numbered(n)));
        queue.finish();
    });
    cv::Mat frame;
    for (int n = 0; n < 50; ++n) {
        ASSERT_TRUE(queue.pop(frame));
        EXPECT_EQ(frame.at<std::uint8_t>(0, 0), n);
    }
    EXPECT_FALSE(queue.pop(frame));
    producer.join();
}

TEST(FrameQueue, NeverHoldsMoreThanItsCapacity) {
    FrameQueue queue(32);
    std::thread producer([&] {
        for (int n = 0; n < 40; ++n) queue.push(numbered(n));
        queue.finish();
    });
    while (queue.size() < 32) std::this_thread::yield();
    cv::Mat frame;
    int popped = 0;
    while (queue.pop(frame)) {
        EXPECT_LE(queue.size(), 32u);
        ++popped;
    }
    producer.join();
    EXPECT_EQ(popped, 40);
}

TEST(FrameQueue, StopWakesAProducerWaitingForRoom) {
    FrameQueue queue(32);
    bool lastPushAccepted = true;
    std::thread producer([&] {
        for (int n = 0; n < 32; ++n) queue.push(numbered(n));
        lastPushAccepted = queue.push(numbered(32));  // blocks: the queue is full
    });
    while (queue.size() < 32) std::this_thread::yield();
    queue.stop();
    producer.join();
    EXPECT_FALSE(lastPushAccepted);
    // Frames queued before the stop are still there until cleared.
    cv::Mat frame;
    EXPECT_TRUE(queue.pop(frame));
    queue.clear();
    EXPECT_FALSE(queue.pop(frame));
}

TEST(FrameQueue, StopWakesAWaitingConsumer) {
    FrameQueue queue(32);
    bool got = true;
    std::thread consumer([&] {
        cv::Mat frame;
        got = queue.pop(frame);
    });
    queue.stop();
    consumer.join();
    EXPECT_FALSE(got);
}

TEST(FrameQueue, ResetMakesAStoppedQueueUsableAgain) {
    FrameQueue queue(2);
    queue.push(numbered(1));
    queue.stop();
    EXPECT_FALSE(queue.push(numbered(2)));
    queue.reset();
    EXPECT_FALSE(queue.stopping());
    EXPECT_EQ(queue.size(), 0u);
    EXPECT_TRUE(queue.push(numbered(3)));
    queue.finish();
    cv::Mat frame;
    ASSERT_TRUE(queue.pop(frame));
    EXPECT_EQ(frame.at<std::uint8_t>(0, 0), 3);
}

}  // namespace
}  // namespace rallinox
