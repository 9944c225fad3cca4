#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/core/json.h"

namespace rallinox {
namespace {

std::string compact(const JsonValue& value) { return value.dump(0); }

TEST(JsonPrint, NumbersUseSeventeenSignificantDigits) {
    EXPECT_EQ(compact(JsonValue(1700000000)), "1700000000");
    EXPECT_EQ(compact(JsonValue(3.0)), "3");
    EXPECT_EQ(compact(JsonValue(25)), "25");
    EXPECT_EQ(compact(JsonValue(1.5)), "1.5");
    EXPECT_EQ(compact(JsonValue(0.1)), "0.10000000000000001");
    EXPECT_EQ(compact(JsonValue(1.2f)), "1.2000000476837158");
    EXPECT_EQ(compact(JsonValue(-0.5)), "-0.5");
    EXPECT_EQ(compact(JsonValue(1e21)), "1e+21");
    EXPECT_EQ(compact(JsonValue(int64_t{9007199254740993})), "9007199254740992");
}

TEST(JsonPrint, NonFiniteNumbersPrintAsNull) {
    EXPECT_EQ(compact(JsonValue(std::numeric_limits<double>::infinity())), "null");
    EXPECT_EQ(compact(JsonValue(-std::numeric_limits<double>::infinity())), "null");
    EXPECT_EQ(compact(JsonValue(std::nan(""))), "null");
}

TEST(JsonPrint, LiteralsAndEmptyContainers) {
    EXPECT_EQ(compact(JsonValue()), "null");
    EXPECT_EQ(compact(JsonValue(true)), "true");
    EXPECT_EQ(compact(JsonValue(false)), "false");
    EXPECT_EQ(JsonValue::emptyArray().dump(2), "[]");
    EXPECT_EQ(JsonValue::emptyObject().dump(2), "{}");
}

TEST(JsonPrint, StringEscapes) {
    EXPECT_EQ(compact(JsonValue(std::string("\x01"))), "\"\\u0001\"");
    EXPECT_EQ(compact(JsonValue(std::string("\x1f"))), "\"\\u001f\"");
    EXPECT_EQ(compact(JsonValue("tab\tlf\ncr\r")), "\"tab\\tlf\\ncr\\r\"");
    EXPECT_EQ(compact(JsonValue("say \"hi\" \\ bye")), "\"say \\\"hi\\\" \\\\ bye\"");
    EXPECT_EQ(compact(JsonValue("a/b")), "\"a/b\"");
    EXPECT_EQ(compact(JsonValue("\x7f")), "\"\x7f\"");
    EXPECT_EQ(compact(JsonValue("\xc3\xa9")), "\"\xc3\xa9\"");  // é stays two raw bytes
}

TEST(JsonPrint, ObjectKeysPrintInByteOrder) {
    JsonValue doc;
    doc.set("b") = 1;
    doc.set("a") = 2;
    doc.set("\xc3\xa9") = 3;  // bytes above 0x7F sort after ASCII
    doc.set("Z") = 4;
    EXPECT_EQ(doc.dump(2), "{\n  \"Z\": 4,\n  \"a\": 2,\n  \"b\": 1,\n  \"\xc3\xa9\": 3\n}");
}

TEST(JsonPrint, PrettyAndCompactNesting) {
    JsonValue doc;
    doc.set("list").push(1);
    doc.set("list").push(JsonValue::emptyObject());
    doc.set("list").push(JsonValue::emptyArray());
    doc.set("obj").set("x") = "y";
    EXPECT_EQ(doc.dump(2),
              "{\n"
              "  \"list\": [\n"
              "    1,\n"
              "    {},\n"
              "    []\n"
              "  ],\n"
              "  \"obj\": {\n"
              "    \"x\": \"y\"\n"
              "  }\n"
              "}");
    EXPECT_EQ(doc.dump(0), "{\"list\":[1,{},[]],\"obj\":{\"x\":\"y\"}}");
    EXPECT_EQ(doc.dump(-3), doc.dump(0));
    EXPECT_EQ(doc.dump(1), "{\n \"list\": [\n  1,\n  {},\n  []\n ],\n \"obj\": {\n  \"x\": \"y\"\n }\n}");
}

TEST(JsonValueAccess, LookupsOnMissingOrWrongKindsGiveNull) {
    JsonValue array;
    array.push(1);
    JsonValue object;
    object.set("present") = 5;
    const JsonValue number(4.0);

    EXPECT_EQ(array.get("x").kind(), JsonKind::Null);
    EXPECT_EQ(number.get("x").kind(), JsonKind::Null);
    EXPECT_EQ(object.get("absent").kind(), JsonKind::Null);
    EXPECT_EQ(object.get("absent").asNumber(7), 7);
    EXPECT_EQ(object.get("a").get("b").at(3).get("c").asNumber(7), 7);
    EXPECT_EQ(array.at(1).kind(), JsonKind::Null);
    EXPECT_EQ(object.at(0).kind(), JsonKind::Null);
    EXPECT_EQ(array.size(), 1u);
    EXPECT_EQ(object.size(), 0u);
}

TEST(JsonValueAccess, ConversionsNeverCrossKinds) {
    EXPECT_EQ(JsonValue(0).asBool(true), true);
    EXPECT_EQ(JsonValue("true").asBool(false), false);
    EXPECT_EQ(JsonValue(true).asNumber(2), 2);
    EXPECT_EQ(JsonValue(3).asString("d"), "d");
    EXPECT_EQ(JsonValue("s").asInt(9), 9);
}

TEST(JsonValueAccess, AsIntTruncatesTowardZeroAndSaturates) {
    EXPECT_EQ(JsonValue(2.9).asInt(0), 2);
    EXPECT_EQ(JsonValue(-2.9).asInt(0), -2);
    EXPECT_EQ(JsonValue(1e300).asInt(0), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(JsonValue(-1e300).asInt(0), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(JsonValue(std::nan("")).asInt(5), 5);
}

TEST(JsonValueMutation, SetAndPushReplaceOtherKinds) {
    JsonValue value(3);
    value.set("k") = true;
    EXPECT_EQ(value.kind(), JsonKind::Object);
    EXPECT_EQ(value.dump(0), "{\"k\":true}");
    value.push("x");
    EXPECT_EQ(value.kind(), JsonKind::Array);
    EXPECT_EQ(value.dump(0), "[\"x\"]");
    value.set("k") = 1;
    value.set("k") = 2;
    EXPECT_EQ(value.dump(0), "{\"k\":2}");
}

TEST(JsonValueMutation, CopiesAreDeep) {
    JsonValue original;
    original.set("inner").set("n") = 1;
    JsonValue copy = original;
    copy.set("inner").set("n") = 2;
    EXPECT_EQ(original.get("inner").get("n").asNumber(0), 1);
    EXPECT_EQ(copy.get("inner").get("n").asNumber(0), 2);
}

}  // namespace
}  // namespace rallinox
