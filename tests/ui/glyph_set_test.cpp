#include "ui/kit/glyph_set.h"

#include <gtest/gtest.h>

namespace rallinox::ui {
namespace {

TEST(GlyphSet, LatinHebrewAndPunctuationNeedNothingExtra) {
    GlyphSet glyphs;
    glyphs.noteText("Finale \xC3\xA9t\xC3\xA9 \xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D \xE2\x80\x93 ok");  // é, Hebrew, en dash
    EXPECT_TRUE(glyphs.codePoints().empty());
    EXPECT_FALSE(glyphs.takeRebuildRequest());
}

TEST(GlyphSet, NewCharacterAsksForOneRebuild) {
    GlyphSet glyphs;
    glyphs.noteText("\xD0\x9C\xD0\xB8\xD1\x80");  // Cyrillic "Мир"
    EXPECT_EQ(glyphs.codePoints(), (std::set<uint16_t>{0x041C, 0x0438, 0x0440}));
    EXPECT_TRUE(glyphs.takeRebuildRequest());
    EXPECT_FALSE(glyphs.takeRebuildRequest());

    glyphs.noteText("\xD0\x9C\xD0\xB8\xD1\x80");
    EXPECT_FALSE(glyphs.takeRebuildRequest()) << "characters already held need no rebuild";
    glyphs.noteCodePoint(0x65E5);  // a typed Japanese character
    EXPECT_TRUE(glyphs.takeRebuildRequest());
}

TEST(GlyphSet, CharactersBeyondSixteenBitsAreIgnored) {
    GlyphSet glyphs;
    glyphs.noteText("\xF0\x9F\x8F\x90");  // volleyball emoji, U+1F3D0
    EXPECT_TRUE(glyphs.codePoints().empty());
    EXPECT_FALSE(glyphs.takeRebuildRequest());
}

TEST(GlyphSet, InvalidBytesBecomeTheReplacementCharacter) {
    GlyphSet glyphs;
    glyphs.noteText("a\xFF" "b\xE2\x82");  // stray byte and a cut-off sequence
    EXPECT_EQ(glyphs.codePoints(), (std::set<uint16_t>{0xFFFD}));
}

TEST(GlyphSet, RangesListEachCharacterOnceInOrder) {
    GlyphSet glyphs;
    glyphs.noteCodePoint(0x4E2D);
    glyphs.noteCodePoint(0x0416);
    EXPECT_EQ(glyphs.glyphRanges(), (std::vector<uint16_t>{0x0416, 0x0416, 0x4E2D, 0x4E2D, 0}));
    EXPECT_EQ(GlyphSet().glyphRanges(), (std::vector<uint16_t>{0}));
}

TEST(DecodeUtf8, RejectsOverlongAndSurrogateForms) {
    uint32_t codePoint = 0;
    EXPECT_EQ(decodeUtf8("\xC0\xAF", codePoint), 2u);
    EXPECT_EQ(codePoint, 0xFFFDu);
    EXPECT_EQ(decodeUtf8("\xED\xA0\x80", codePoint), 3u);
    EXPECT_EQ(codePoint, 0xFFFDu);
    EXPECT_EQ(decodeUtf8("\xE6\x97\xA5", codePoint), 3u);
    EXPECT_EQ(codePoint, 0x65E5u);
}

}  // namespace
}  // namespace rallinox::ui
