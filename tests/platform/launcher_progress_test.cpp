// Progress on the launcher icon: the value kept in thousandths, and no
// session bus (as in the tests) leaves it silently unsent.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/launcher_progress.h"

namespace rallinox {
namespace {

TEST(TaskbarProgress, ValuesAreKeptInThousandthsAndNegativeMeansNone) {
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
    TaskbarProgress progress;
    EXPECT_EQ(progress.shown(), -2) << "the first update always applies";
    progress.set(0.5);
    EXPECT_EQ(progress.shown(), 500);
    progress.set(0.12345);
    EXPECT_EQ(progress.shown(), 123) << "truncated";
    progress.set(1.0);
    EXPECT_EQ(progress.shown(), 1000);
    progress.set(-0.2);
    EXPECT_EQ(progress.shown(), -1);
}

TEST(TaskbarProgress, NamesTheDesktopEntryThatIsInstalled) {
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::path(RALLINOX_SOURCE_DIR) / "packaging" /
                                                 kDesktopEntryName));
}

}  // namespace
}  // namespace rallinox
