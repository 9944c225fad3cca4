#include "platform/font_lookup.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace rallinox {
namespace {

// The fonts the setup script installs: fonts-noto-core and fonts-dejavu-core.
TEST(FontLookup, InterfaceFontIsAnInstalledSansFace) {
    const std::optional<FontFile> font = findInterfaceFont();
    ASSERT_TRUE(font);
    EXPECT_TRUE(font->family == "Noto Sans" || font->family == "DejaVu Sans") << font->family;
    EXPECT_TRUE(std::filesystem::exists(font->path)) << font->path;
}

TEST(FontLookup, PreferredFamilyKeepsCharactersItHas) {
    const std::optional<FontFile> main = findInterfaceFont();
    ASSERT_TRUE(main);
    const std::optional<FontFile> cyrillic = findFontFor(0x0416, main->family);  // Ж
    ASSERT_TRUE(cyrillic);
    EXPECT_EQ(cyrillic->path, main->path);
}

TEST(FontLookup, OtherScriptsComeFromAFontThatHasThem) {
    const std::optional<FontFile> main = findInterfaceFont();
    ASSERT_TRUE(main);
    const std::optional<FontFile> thai = findFontFor(0x0E01, main->family);  // ก
    ASSERT_TRUE(thai);
    EXPECT_NE(thai->path, main->path) << "the interface font has no Thai";
}

TEST(FontLookup, UnassignedCodePointHasNoFont) {
    EXPECT_FALSE(findFontFor(0x0378, "Noto Sans"));  // unassigned in the Greek block
}

}  // namespace
}  // namespace rallinox
