#include <gtest/gtest.h>

#include "app/core/json.h"

namespace rallinox {
namespace {

// The message of the error that parsing the text throws, or "" when it parses.
std::string parseError(const std::string& text) {
    try {
        JsonValue::parse(text);
    } catch (const std::exception& error) {
        return error.what();
    }
    return "";
}

TEST(JsonParseErrors, MessagesNameReasonAndOffset) {
    EXPECT_EQ(parseError("{\"a\":1,}"), "JSON expected key at offset 7");
    EXPECT_EQ(parseError("[1 2]"), "JSON expected ',' or ']' at offset 3");
    EXPECT_EQ(parseError(""), "JSON unexpected end at offset 0");
    EXPECT_EQ(parseError("1.2.3"), "JSON bad number at offset 5");
    EXPECT_EQ(parseError("nullx"), "JSON trailing characters at offset 4");
    EXPECT_EQ(parseError("{\"a\" 1}"), "JSON expected ':' at offset 5");
    EXPECT_EQ(parseError("{\"a\":1 \"b\":2}"), "JSON expected ',' or '}' at offset 7");
    EXPECT_EQ(parseError("{\"a\":1"), "JSON expected ',' or '}' at offset 6");
    EXPECT_EQ(parseError("{1:2}"), "JSON expected key at offset 1");
    EXPECT_EQ(parseError("[1,"), "JSON unexpected end at offset 3");
    EXPECT_EQ(parseError("   "), "JSON unexpected end at offset 3");
    EXPECT_EQ(parseError("@"), "JSON unexpected character at offset 0");
    EXPECT_EQ(parseError("[tru]"), "JSON unexpected character at offset 1");
    EXPECT_EQ(parseError("\"abc"), "JSON unterminated string at offset 4");
    EXPECT_EQ(parseError("\"abc\\"), "JSON unterminated string at offset 5");
    EXPECT_EQ(parseError("\"\\q\""), "JSON bad escape at offset 3");
    EXPECT_EQ(parseError("\"\\u12\""), "JSON bad \\u escape at offset 3");
    EXPECT_EQ(parseError("1 2"), "JSON trailing characters at offset 2");
}

TEST(JsonParseErrors, EscapeNotStartingWithHexDigitHasBareMessage) {
    EXPECT_EQ(parseError("\"\\uzzzz\""), "invalid stoul argument");
    EXPECT_EQ(parseError("\"\\u 123\""), "invalid stoul argument");
}

TEST(JsonParseErrors, NumbersOutOfRangeAreBad) {
    EXPECT_EQ(parseError("1e400"), "JSON bad number at offset 5");
    EXPECT_EQ(parseError("-1e400"), "JSON bad number at offset 6");
    EXPECT_EQ(parseError("1e-400"), "JSON bad number at offset 6");
    EXPECT_EQ(parseError("-"), "JSON bad number at offset 1");
    EXPECT_EQ(parseError("e5"), "JSON bad number at offset 2");
}

TEST(JsonParseErrors, DeepNestingFailsCleanly) {
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    EXPECT_EQ(parseError(deep).rfind("JSON nesting too deep at offset", 0), 0u);
    const std::string fine = std::string(100, '[') + std::string(100, ']');
    EXPECT_EQ(parseError(fine), "");
}

TEST(JsonParse, NumbersTheConversionAccepts) {
    EXPECT_EQ(JsonValue::parse("007").asNumber(0), 7);
    EXPECT_EQ(JsonValue::parse("+3").asNumber(0), 3);
    EXPECT_EQ(JsonValue::parse("1.").asNumber(0), 1);
    EXPECT_EQ(JsonValue::parse("-2.5E1").asNumber(0), -25);
    EXPECT_EQ(JsonValue::parse("0.10000000000000001").asNumber(0), 0.1);
}

TEST(JsonParse, Strings) {
    EXPECT_EQ(JsonValue::parse("\"\\ud83d\\ude00\"").asString(""), "\xf0\x9f\x98\x80");
    EXPECT_EQ(JsonValue::parse("\"\\u00e9\"").asString(""), "\xc3\xa9");
    EXPECT_EQ(JsonValue::parse("\"\\u0041\\u20ac\"").asString(""), "A\xe2\x82\xac");
    EXPECT_EQ(JsonValue::parse("\"\\\"\\\\\\/\\b\\f\\n\\r\\t\"").asString(""), "\"\\/\b\f\n\r\t");
    EXPECT_EQ(JsonValue::parse("\"raw\ttab\x01\"").asString(""), "raw\ttab\x01");
    EXPECT_EQ(JsonValue::parse("\"\xd0\x9c\xd0\xb0\"").asString(""), "\xd0\x9c\xd0\xb0");
    // A lone high surrogate is kept as its own three bytes.
    EXPECT_EQ(JsonValue::parse("\"\\ud83dx\"").asString(""), "\xed\xa0\xbdx");
}

TEST(JsonParse, LaterDuplicateKeyWins) {
    const JsonValue doc = JsonValue::parse("{\"a\":1,\"a\":2}");
    EXPECT_EQ(doc.get("a").asNumber(0), 2);
    EXPECT_EQ(doc.dump(0), "{\"a\":2}");
}

TEST(JsonParse, WhitespaceAndStructure) {
    const JsonValue doc = JsonValue::parse(" \r\n\t{ \"list\" : [ true , false , null , { } , [ ] ] }\n");
    ASSERT_EQ(doc.kind(), JsonKind::Object);
    const JsonValue& list = doc.get("list");
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list.at(0).asBool(false), true);
    EXPECT_EQ(list.at(1).asBool(true), false);
    EXPECT_EQ(list.at(2).kind(), JsonKind::Null);
    EXPECT_EQ(list.at(3).kind(), JsonKind::Object);
    EXPECT_EQ(list.at(4).kind(), JsonKind::Array);
}

}  // namespace
}  // namespace rallinox
