#include <gtest/gtest.h>

#include <cmath>

#include "random.h"

using namespace rallinox::synth;

TEST(Random, SameSeedSameSequenceAndForksAreIndependent) {
    Random a(42), b(42), c(43);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(a.next(), b.next());
    EXPECT_NE(Random(42).next(), c.next());
    Random parent(7);
    Random child = parent.fork();
    EXPECT_NE(child.next(), parent.next());
}

TEST(Random, DrawsStayInTheirRanges) {
    Random r(1);
    for (int i = 0; i < 10000; ++i) {
        const double u = r.uniform(-2.0, 3.0);
        EXPECT_GE(u, -2.0);
        EXPECT_LT(u, 3.0);
        const int k = r.index(6);
        EXPECT_GE(k, 0);
        EXPECT_LT(k, 6);
    }
}

TEST(Random, LognormalHasTheRequestedMeanAndSpread) {
    Random r(9);
    constexpr int n = 200000;
    double sum = 0, squares = 0;
    for (int i = 0; i < n; ++i) {
        const double x = r.lognormal(35.0, 26.0);
        EXPECT_GT(x, 0.0);
        sum += x;
        squares += x * x;
    }
    const double mean = sum / n;
    EXPECT_NEAR(mean, 35.0, 0.7);
    EXPECT_NEAR(std::sqrt(squares / n - mean * mean), 26.0, 1.5);
}
