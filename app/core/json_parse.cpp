#include "app/core/json.h"

#include <locale.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/core/utf8.h"

namespace rallinox {

namespace {

// Our own files are never nested this deeply; the limit keeps a damaged or
// hostile file from exhausting the stack.
constexpr int kMaxDepth = 512;

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return c - 'A' + 10;
}

bool isNumberByte(char c) {
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
}

// Numbers are always read with a '.' decimal point, whatever the user's locale.
locale_t cLocale() {
    static const locale_t locale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
    return locale;
}

}  // namespace

class JsonParser {
public:
    explicit JsonParser(const std::string& text) : text_(text) {}

    JsonValue document() {
        JsonValue result = value(0);
        skipWhitespace();
        if (pos_ != text_.size()) fail("trailing characters");
        return result;
    }

private:
    [[noreturn]] void fail(const char* reason) const {
        throw JsonParseError(std::string("JSON ") + reason + " at offset " + std::to_string(pos_));
    }

    bool atEnd() const { return pos_ >= text_.size(); }
    char peek() const { return text_[pos_]; }

    void skipWhitespace() {
        while (!atEnd() && (peek() == ' ' || peek() == '\n' || peek() == '\r' || peek() == '\t')) ++pos_;
    }

    bool literal(const char* word) {
        const std::string_view expected(word);
        if (text_.compare(pos_, expected.size(), expected) != 0) return false;
        pos_ += expected.size();
        return true;
    }

    JsonValue value(int depth) {
        skipWhitespace();
        if (atEnd()) fail("unexpected end");
        if (depth >= kMaxDepth) fail("nesting too deep");
        switch (peek()) {
            case '{': return object(depth);
            case '[': return array(depth);
            case '"': return JsonValue(string());
        }
        if (literal("true")) return JsonValue(true);
        if (literal("false")) return JsonValue(false);
        if (literal("null")) return JsonValue();
        return number();
    }

    JsonValue object(int depth) {
        ++pos_;
        JsonValue result = JsonValue::emptyObject();
        skipWhitespace();
        if (!atEnd() && peek() == '}') {
            ++pos_;
            return result;
        }
        while (true) {
            skipWhitespace();
            if (atEnd() || peek() != '"') fail("expected key");
            std::string key = string();
            skipWhitespace();
            if (atEnd() || peek() != ':') fail("expected ':'");
            ++pos_;
            result.object_[std::move(key)] = value(depth + 1);
            skipWhitespace();
            if (atEnd() || (peek() != ',' && peek() != '}')) fail("expected ',' or '}'");
            if (text_[pos_++] == '}') return result;
        }
    }

    JsonValue array(int depth) {
        ++pos_;
        JsonValue result = JsonValue::emptyArray();
        skipWhitespace();
        if (!atEnd() && peek() == ']') {
            ++pos_;
            return result;
        }
        while (true) {
            result.array_.push_back(value(depth + 1));
            skipWhitespace();
            if (atEnd() || (peek() != ',' && peek() != ']')) fail("expected ',' or ']'");
            if (text_[pos_++] == ']') return result;
        }
    }

    JsonValue number() {
        const size_t start = pos_;
        while (!atEnd() && isNumberByte(peek())) ++pos_;
        if (pos_ == start) fail("unexpected character");
        const std::string run = text_.substr(start, pos_ - start);
        char* end = nullptr;
        errno = 0;
        const double parsed = strtod_l(run.c_str(), &end, cLocale());
        if (end == run.c_str() || errno == ERANGE || end != run.c_str() + run.size()) fail("bad number");
        return JsonValue(parsed);
    }

    std::string string() {
        ++pos_;
        std::string out;
        while (true) {
            if (atEnd()) fail("unterminated string");
            const char c = text_[pos_++];
            if (c == '"') return out;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (atEnd()) fail("unterminated string");
            switch (text_[pos_++]) {
                case '"': out += '"'; break;
                case '\\': out += '\\'; break;
                case '/': out += '/'; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                case 't': out += '\t'; break;
                case 'u': appendUtf8(out, codePoint()); break;
                default: fail("bad escape");
            }
        }
    }

    // The four characters after "\u", joined with a following "\u" escape
    // when they name a high surrogate.
    uint32_t codePoint() {
        uint32_t cp = hex4();
        const bool highSurrogate = cp >= 0xD800 && cp <= 0xDBFF;
        if (highSurrogate && text_.compare(pos_, 2, "\\u") == 0) {
            pos_ += 2;
            cp = cp * 1024 + hex4() - 56613888;
        }
        return cp;
    }

    // Reads the leading hexadecimal digits of the next four characters.
    uint32_t hex4() {
        if (text_.size() - pos_ < 4) fail("bad \\u escape");
        if (!isHexDigit(text_[pos_])) throw JsonParseError("invalid stoul argument");
        uint32_t result = 0;
        for (size_t i = 0; i < 4 && isHexDigit(text_[pos_ + i]); ++i) result = result * 16 + hexDigitValue(text_[pos_ + i]);
        pos_ += 4;
        return result;
    }

    const std::string& text_;
    size_t pos_ = 0;
};

JsonValue JsonValue::parse(const std::string& text) { return JsonParser(text).document(); }

}  // namespace rallinox
