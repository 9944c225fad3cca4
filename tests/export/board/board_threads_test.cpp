// The export thread renders boards while the GUI thread renders the preview's.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "export/board_render.h"

namespace rallinox {
namespace {

BoardState score(int32_t points) {
    BoardState state;
    state.homeName = "LIONS";
    state.awayName = "ÇAĞRI SPOR";
    state.homePoints = points;
    state.awayPoints = 25 - points;
    state.highlighted = points % 2 ? Winner::Home : Winner::Away;
    return state;
}

BoardStyle styleOf(int board) { return board % 2 ? BoardStyle::OneBar : BoardStyle::TwoRows; }

TEST(BoardRenderThreads, TwoThreadsDrawTheSameBoardsAsOne) {
    constexpr int kBoards = 12;
    std::vector<std::optional<BoardBitmap>> alone;
    for (int i = 0; i < kBoards; ++i) alone.push_back(renderBoard(score(i), styleOf(i), 1280, 720));

    std::vector<std::optional<BoardBitmap>> first(kBoards), second(kBoards);
    std::thread one([&] {
        for (int i = 0; i < kBoards; ++i) first[size_t(i)] = renderBoard(score(i), styleOf(i), 1280, 720);
    });
    std::thread other([&] {
        for (int i = kBoards - 1; i >= 0; --i) second[size_t(i)] = renderBoard(score(i), styleOf(i), 1280, 720);
    });
    one.join();
    other.join();

    for (size_t i = 0; i < size_t(kBoards); ++i) {
        ASSERT_TRUE(alone[i] && first[i] && second[i]);
        EXPECT_EQ(first[i]->pixels, alone[i]->pixels);
        EXPECT_EQ(second[i]->pixels, alone[i]->pixels);
    }
}

}  // namespace
}  // namespace rallinox
