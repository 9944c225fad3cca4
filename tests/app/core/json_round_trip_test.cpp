#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>

#include "app/core/json.h"

namespace rallinox {
namespace {

// Builds random documents of every kind: numbers from random bit patterns,
// strings and keys from random bytes (control bytes, quotes, backslashes and
// non-ASCII included).
class RandomDocument {
public:
    explicit RandomDocument(uint64_t seed) : random_(seed) {}

    JsonValue value(int depth) {
        switch (pick(depth > 3 ? 4 : 6)) {
            case 0: return JsonValue();
            case 1: return JsonValue(pick(2) == 1);
            case 2: return JsonValue(number());
            case 3: return JsonValue(bytes());
            case 4: return array(depth);
            default: return object(depth);
        }
    }

private:
    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }

    double number() {
        if (pick(2) == 0) return static_cast<double>(std::uniform_int_distribution<int64_t>(-(1LL << 53), 1LL << 53)(random_));
        // Subnormal numbers are left out: reading them back is an underflow,
        // which the parser rejects as a bad number by design.
        while (true) {
            const double candidate = std::bit_cast<double>(random_());
            if (std::isnormal(candidate) || candidate == 0) return candidate;
        }
    }

    std::string bytes() {
        std::string text(static_cast<size_t>(pick(12)), '\0');
        for (char& c : text) c = static_cast<char>(pick(256));
        return text;
    }

    JsonValue array(int depth) {
        JsonValue result = JsonValue::emptyArray();
        for (int i = pick(5); i > 0; --i) result.push(value(depth + 1));
        return result;
    }

    JsonValue object(int depth) {
        JsonValue result = JsonValue::emptyObject();
        for (int i = pick(5); i > 0; --i) result.set(bytes()) = value(depth + 1);
        return result;
    }

    std::mt19937_64 random_;
};

TEST(JsonRoundTrip, PrintThenParseGivesTheSameDocument) {
    RandomDocument generator(20240611);
    for (int round = 0; round < 2000; ++round) {
        const JsonValue original = generator.value(0);
        for (int indent : {0, 2}) {
            const std::string text = original.dump(indent);
            JsonValue reread;
            ASSERT_NO_THROW(reread = JsonValue::parse(text)) << text;
            ASSERT_EQ(reread, original) << text;
            ASSERT_EQ(reread.dump(indent), text);
        }
    }
}

}  // namespace
}  // namespace rallinox
