// Small JSON document model: the settings file and every project file are
// read and written through it, so its printer decides their exact bytes.
#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace rallinox {

enum class JsonKind : int { Null = 0, Boolean = 1, Number = 2, String = 3, Array = 4, Object = 5 };

// Thrown by JsonValue::parse; the message names the reason and the byte offset.
class JsonParseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class JsonValue {
public:
    JsonValue() = default;
    JsonValue(bool value);
    JsonValue(int32_t value);
    JsonValue(int64_t value);
    JsonValue(double value);
    JsonValue(const char* value);
    JsonValue(std::string value);

    static JsonValue emptyArray();
    static JsonValue emptyObject();

    JsonKind kind() const { return kind_; }

    // Lookups never fail: a missing member or element is the shared null value.
    const JsonValue& get(const std::string& key) const;
    const JsonValue& at(size_t index) const;
    size_t size() const;

    double asNumber(double fallback) const;
    // Truncates toward zero; numbers beyond the int64 range saturate.
    int64_t asInt(int64_t fallback) const;
    bool asBool(bool fallback) const;
    std::string asString(const std::string& fallback) const;

    // Turns a value of another kind into an empty object first.
    JsonValue& set(const std::string& key);
    // Turns a value of another kind into an empty array first.
    void push(JsonValue value);

    static JsonValue parse(const std::string& text);
    // indent <= 0: compact; otherwise pretty with that many blanks per level.
    std::string dump(int indent) const;

    bool operator==(const JsonValue&) const = default;

private:
    friend class JsonPrinter;
    friend class JsonParser;

    JsonKind kind_ = JsonKind::Null;
    bool boolean_ = false;
    double number_ = 0;
    std::string string_;
    std::vector<JsonValue> array_;
    // std::string compares bytes as unsigned char, which is the key order printed.
    std::map<std::string, JsonValue> object_;
};

}  // namespace rallinox
