#include "app/core/json.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace rallinox {

namespace {

const JsonValue kNull;

}  // namespace

JsonValue::JsonValue(bool value) : kind_(JsonKind::Boolean), boolean_(value) {}
JsonValue::JsonValue(int32_t value) : kind_(JsonKind::Number), number_(value) {}
JsonValue::JsonValue(int64_t value) : kind_(JsonKind::Number), number_(static_cast<double>(value)) {}
JsonValue::JsonValue(double value) : kind_(JsonKind::Number), number_(value) {}
JsonValue::JsonValue(const char* value) : kind_(JsonKind::String), string_(value) {}
JsonValue::JsonValue(std::string value) : kind_(JsonKind::String), string_(std::move(value)) {}

JsonValue JsonValue::emptyArray() {
    JsonValue value;
    value.kind_ = JsonKind::Array;
    return value;
}

JsonValue JsonValue::emptyObject() {
    JsonValue value;
    value.kind_ = JsonKind::Object;
    return value;
}

const JsonValue& JsonValue::get(const std::string& key) const {
    if (kind_ != JsonKind::Object) return kNull;
    auto found = object_.find(key);
    return found == object_.end() ? kNull : found->second;
}

const JsonValue& JsonValue::at(size_t index) const {
    if (kind_ != JsonKind::Array || index >= array_.size()) return kNull;
    return array_[index];
}

size_t JsonValue::size() const { return kind_ == JsonKind::Array ? array_.size() : 0; }

double JsonValue::asNumber(double fallback) const {
    return kind_ == JsonKind::Number ? number_ : fallback;
}

int64_t JsonValue::asInt(int64_t fallback) const {
    if (kind_ != JsonKind::Number || std::isnan(number_)) return fallback;
    // 2^63 is exactly representable; converting anything at or beyond it is undefined.
    constexpr double kLimit = 9223372036854775808.0;
    if (number_ >= kLimit) return std::numeric_limits<int64_t>::max();
    if (number_ < -kLimit) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(number_);
}

bool JsonValue::asBool(bool fallback) const {
    return kind_ == JsonKind::Boolean ? boolean_ : fallback;
}

std::string JsonValue::asString(const std::string& fallback) const {
    return kind_ == JsonKind::String ? string_ : fallback;
}

JsonValue& JsonValue::set(const std::string& key) {
    if (kind_ != JsonKind::Object) *this = emptyObject();
    return object_[key];
}

void JsonValue::push(JsonValue value) {
    if (kind_ != JsonKind::Array) *this = emptyArray();
    array_.push_back(std::move(value));
}

class JsonPrinter {
public:
    explicit JsonPrinter(int indent) : indent_(indent > 0 ? indent : 0) {}

    void value(const JsonValue& v, int depth) {
        switch (v.kind_) {
            case JsonKind::Null: out += "null"; break;
            case JsonKind::Boolean: out += v.boolean_ ? "true" : "false"; break;
            case JsonKind::Number: number(v.number_); break;
            case JsonKind::String: string(v.string_); break;
            case JsonKind::Array: array(v, depth); break;
            case JsonKind::Object: object(v, depth); break;
        }
    }

    std::string out;

private:
    void number(double n) {
        if (!std::isfinite(n)) {
            out += "null";
            return;
        }
        // to_chars with a precision prints exactly as "%.17g" in the C locale,
        // whatever locale the process runs in.
        char buffer[32];
        auto result = std::to_chars(buffer, buffer + sizeof buffer, n, std::chars_format::general, 17);
        out.append(buffer, result.ptr);
    }

    void string(const std::string& s) {
        out += '"';
        for (unsigned char c : s) {
            switch (c) {
                case '\t': out += "\\t"; break;
                case '\n': out += "\\n"; break;
                case '\r': out += "\\r"; break;
                case '"': out += "\\\""; break;
                case '\\': out += "\\\\"; break;
                default:
                    if (c < 0x20) {
                        char escape[8];
                        std::snprintf(escape, sizeof escape, "\\u%04x", c);
                        out += escape;
                    } else {
                        out += static_cast<char>(c);
                    }
            }
        }
        out += '"';
    }

    void newline(int depth) {
        if (indent_ == 0) return;
        out += '\n';
        out.append(static_cast<size_t>(depth * indent_), ' ');
    }

    void array(const JsonValue& v, int depth) {
        out += '[';
        bool first = true;
        for (const JsonValue& element : v.array_) {
            if (!first) out += ',';
            first = false;
            newline(depth + 1);
            value(element, depth + 1);
        }
        if (!v.array_.empty()) newline(depth);
        out += ']';
    }

    void object(const JsonValue& v, int depth) {
        out += '{';
        bool first = true;
        for (const auto& [key, member] : v.object_) {
            if (!first) out += ',';
            first = false;
            newline(depth + 1);
            string(key);
            out += indent_ > 0 ? ": " : ":";
            value(member, depth + 1);
        }
        if (!v.object_.empty()) newline(depth);
        out += '}';
    }

    int indent_;
};

std::string JsonValue::dump(int indent) const {
    JsonPrinter printer(indent);
    printer.value(*this, 0);
    return std::move(printer.out);
}

}  // namespace rallinox
