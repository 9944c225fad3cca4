#include "ui/kit/bidi_text.h"

#include <gtest/gtest.h>

#include <string>

using rallinox::ui::bidiCacheSize;
using rallinox::ui::bidiVisualOrder;
using rallinox::ui::bidiVisualOrderHook;
using rallinox::ui::textNeedsBidi;

namespace {

bool needs(const std::string& text) {
    return textNeedsBidi(text.data(), text.data() + text.size());
}

std::string viaHook(const std::string& line) {
    std::string out(line.size(), '\0');
    bidiVisualOrderHook(line.data(), line.data() + line.size(), out.data());
    return out;
}

}  // namespace

TEST(BidiDetection, OnlyRightToLeftBlocksNeedTheTransform) {
    EXPECT_FALSE(needs("Rally 12 - Smith & Jones"));
    EXPECT_FALSE(needs("Équipe Çağrı Ωmega"));  // Latin and Greek lead bytes stay below 0xD6
    EXPECT_FALSE(needs("Москва"));               // Cyrillic
    EXPECT_TRUE(needs("Team שלום"));
    EXPECT_TRUE(needs("فريق"));
    EXPECT_TRUE(needs("\xEF\xAD\x8F"));          // U+FB4F, Hebrew ligature alef lamed
    EXPECT_FALSE(needs("\xEF\xBC\xA1"));         // U+FF21, full-width A
    EXPECT_FALSE(needs(""));
}

TEST(BidiVisualOrder, HebrewWordIsReversed) {
    EXPECT_EQ(bidiVisualOrder("שלום"), "םולש");
    EXPECT_EQ(bidiVisualOrder("שלום עולם"), "םלוע םולש");
}

TEST(BidiVisualOrder, LeftToRightTextIsUnchanged) {
    EXPECT_EQ(bidiVisualOrder(""), "");
    EXPECT_EQ(bidiVisualOrder("Home 25 : 23 Away"), "Home 25 : 23 Away");
}

TEST(BidiVisualOrder, HebrewPointsStayAfterTheirLetter) {
    // shin + shin dot + qamats, lamed + holam, vav, mem
    const std::string logical = "\u05E9\u05C1\u05B8\u05DC\u05B9\u05D5\u05DD";
    const std::string visual = "\u05DD\u05D5\u05DC\u05B9\u05E9\u05C1\u05B8";
    EXPECT_EQ(bidiVisualOrder(logical), visual);
}

TEST(BidiVisualOrder, MixedLineKeepsLatinWordAndReversesArabicWord) {
    EXPECT_EQ(bidiVisualOrder("Team فريق"), "Team قيرف");
    EXPECT_EQ(bidiVisualOrder("فريق Team"), "قيرف Team");
    // Digits inside right-to-left text keep their own order.
    EXPECT_EQ(bidiVisualOrder("שלב 12"), "12 בלש");
}

TEST(BidiVisualOrder, ArabicMarksStayAttached) {
    // beh + fatha, teh + shadda
    const std::string logical = "\u0628\u064E\u062A\u0651";
    EXPECT_EQ(bidiVisualOrder(logical), "\u062A\u0651\u0628\u064E");
}

TEST(BidiVisualOrder, BracketsInRightToLeftTextAreMirrored) {
    EXPECT_EQ(bidiVisualOrder("שלום (עולם)"), "(םלוע) םולש");
}

TEST(BidiVisualOrder, OutputHasTheSameNumberOfBytes) {
    const std::string samples[] = {"שלום", "Team فريق (2)", "a\xFF\xFEשל\x80", "\u05E9\u05C1\u05B8 xyz 123 «ش»",
                                   "\xD7", "ש\xD7"};
    for (const std::string& text : samples) {
        EXPECT_EQ(bidiVisualOrder(text).size(), text.size()) << text;
    }
}

TEST(BidiVisualOrder, InvalidBytesAreKept) {
    const std::string text = "\xFF" "של";
    const std::string visual = bidiVisualOrder(text);
    EXPECT_NE(visual.find('\xFF'), std::string::npos);
}

TEST(BidiHookCache, HookGivesTheVisualOrderAndEmptiesPast512Lines) {
    EXPECT_EQ(viaHook("שלום"), "םולש");
    for (int i = 0; bidiCacheSize() < 513; ++i) viaHook("שורה " + std::to_string(i));
    EXPECT_EQ(bidiCacheSize(), 513u);
    EXPECT_EQ(viaHook("שורה חדשה"), "השדח הרוש");
    EXPECT_EQ(bidiCacheSize(), 1u);
    EXPECT_EQ(viaHook("שורה חדשה"), "השדח הרוש");
    EXPECT_EQ(bidiCacheSize(), 1u);
}
