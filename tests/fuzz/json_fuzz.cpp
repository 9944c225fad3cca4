// Feeds arbitrary bytes to the JSON parser, as a damaged or hand-edited
// project or settings file would. A document that parses must print and parse
// back to itself, and must convert to a project without fault.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/core/json.h"
#include "app/core/project.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using rallinox::JsonValue;
    JsonValue doc;
    try {
        doc = JsonValue::parse(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const rallinox::JsonParseError&) {
        return 0;
    }
    for (int indent : {0, 2}) {
        try {
            if (!(JsonValue::parse(doc.dump(indent)) == doc)) std::abort();
        } catch (const rallinox::JsonParseError&) {
            std::abort();
        }
    }
    rallinox::projectFromJson(doc);
    return 0;
}
