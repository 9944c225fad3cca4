#include "app/core/settings.h"

#include <algorithm>
#include <optional>

#include "app/core/file_io.h"
#include "app/core/json.h"
#include "app/core/log.h"

namespace rallinox {

namespace {

// Numbers outside the choices fall back to the nearest one.
template <typename Choice>
Choice clampedChoice(const JsonValue& value, Choice last) {
    return static_cast<Choice>(std::clamp<int64_t>(value.asInt(0), 0, static_cast<int64_t>(last)));
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
    boardStyle = clampedChoice(doc.get("boardStyle"), BoardStyle::OneBar);
    boardPosition = clampedChoice(doc.get("boardPosition"), BoardPosition::BottomLeft);
    boardTiming = clampedChoice(doc.get("boardTiming"), BoardTiming::StartAndEnd);
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
    doc.set("boardStyle") = static_cast<int32_t>(boardStyle);
    doc.set("boardPosition") = static_cast<int32_t>(boardPosition);
    doc.set("boardTiming") = static_cast<int32_t>(boardTiming);
    doc.set("decideByNextServe") = decideByNextServe;
    return replaceWholeFile(settingsFile, doc.dump(2)) == WriteStatus::Ok;
}

}  // namespace rallinox
