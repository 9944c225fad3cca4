#include "app/core/time_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace rallinox::ui {
namespace {

TEST(FormatClock, RoundsToWholeSecondsBelowAnHour) {
    EXPECT_EQ(formatClock(0), "0:00");
    EXPECT_EQ(formatClock(59.4), "0:59");
    EXPECT_EQ(formatClock(59.5), "1:00");
    EXPECT_EQ(formatClock(75), "1:15");
    EXPECT_EQ(formatClock(3599.4), "59:59");
}

TEST(FormatClock, ShowsHoursFromOneHourOn) {
    EXPECT_EQ(formatClock(3599.5), "1:00:00");
    EXPECT_EQ(formatClock(3600), "1:00:00");
    EXPECT_EQ(formatClock(3725), "1:02:05");
    EXPECT_EQ(formatClock(36000 + 61), "10:01:01");
}

TEST(FormatClock, NegativeAndNonFiniteCountAsZero) {
    EXPECT_EQ(formatClock(-5), "0:00");
    EXPECT_EQ(formatClock(std::nan("")), "0:00");
    EXPECT_EQ(formatClock(-std::numeric_limits<double>::infinity()), "0:00");
}

TEST(FormatClock, InfinityIsZeroAndHugeValuesDoNotOverflow) {
    EXPECT_EQ(formatClock(std::numeric_limits<double>::infinity()), "0:00");
    EXPECT_EQ(formatClock(1e300).back(), '0') << "capped, so the conversion to an integer stays defined";
}

TEST(FormatDuration, TenthsOfASecondBelowAMinute) {
    EXPECT_EQ(formatDuration(7.5), "7.5 s");
    EXPECT_EQ(formatDuration(0), "0.0 s");
    EXPECT_EQ(formatDuration(-3), "0.0 s");
    EXPECT_EQ(formatDuration(59.94), "59.9 s");
}

TEST(FormatDuration, ClockFromAMinuteOn) {
    EXPECT_EQ(formatDuration(60), "1:00");
    EXPECT_EQ(formatDuration(75), "1:15");
    EXPECT_EQ(formatDuration(3725), "1:02:05");
}

}  // namespace
}  // namespace rallinox::ui
