#include "app/core/settings.h"

#include <algorithm>
#include <optional>

#include "app/core/file_io.h"
#include "app/core/json.h"
#include "app/core/log.h"

namespace rallinox {

namespace {

int32_t clampedChoice(const JsonValue& value, int32_t last) {
    return static_cast<int32_t>(std::clamp<int64_t>(value.asInt(0), 0, last));
}

}  // namespace

void Settings::load(const std::filesystem::path& settingsFile) {
    const std::optional<std::string> text = readWholeFile(settingsFile);
    if (!text) return;
    JsonValue doc;
    try {
        doc = JsonValue::parse(*text);
    } catch (const std::exception& error) {
        logError(std::string("settings unreadable, using defaults: ") + error.what());
        return;
    }
    startPaddingSec = doc.get("startPaddingSec").asNumber(startPaddingSec);
    endPaddingSec = doc.get("endPaddingSec").asNumber(endPaddingSec);
    minRallySec = doc.get("minRallySec").asNumber(minRallySec);
    exportDir = doc.get("exportDir").asString("");
    writeEdl = doc.get("writeEdl").asBool(false);
    includeAudio = doc.get("includeAudio").asBool(true);
    boardEnabled = doc.get("boardEnabled").asBool(true);
    decideByNextServe = doc.get("decideByNextServe").asBool(false);
    boardStyle = clampedChoice(doc.get("boardStyle"), 1);
    boardPosition = clampedChoice(doc.get("boardPosition"), 2);
    boardTiming = clampedChoice(doc.get("boardTiming"), 1);
}

bool Settings::save(const std::filesystem::path& settingsFile) const {
    JsonValue doc;
    doc.set("startPaddingSec") = startPaddingSec;
    doc.set("endPaddingSec") = endPaddingSec;
    doc.set("minRallySec") = minRallySec;
    doc.set("exportDir") = exportDir;
    doc.set("writeEdl") = writeEdl;
    doc.set("includeAudio") = includeAudio;
    doc.set("boardEnabled") = boardEnabled;
    doc.set("boardStyle") = boardStyle;
    doc.set("boardPosition") = boardPosition;
    doc.set("boardTiming") = boardTiming;
    doc.set("decideByNextServe") = decideByNextServe;
    return replaceWholeFile(settingsFile, doc.dump(2)) == WriteStatus::Ok;
}

}  // namespace rallinox
