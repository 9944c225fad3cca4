#include "truth.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace rallinox::synth {
namespace {

std::string number(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

void appendSpans(std::string& out, const char* key, const std::vector<TimeSpan>& spans) {
    out += "  \"";
    out += key;
    out += "\": [";
    for (size_t i = 0; i < spans.size(); ++i) {
        out += i ? ",\n    " : "\n    ";
        out += "{\"startSec\": " + number(spans[i].start, 3) + ", \"endSec\": " + number(spans[i].end, 3) + "}";
    }
    out += spans.empty() ? "],\n" : "\n  ],\n";
}

}  // namespace

std::string toJson(const GroundTruth& truth) {
    std::string out = "{\n";
    out += "  \"width\": " + std::to_string(truth.width) + ",\n";
    out += "  \"height\": " + std::to_string(truth.height) + ",\n";
    out += "  \"fps\": " + number(truth.fps, 3) + ",\n";
    out += "  \"frameCount\": " + std::to_string(truth.ball.size()) + ",\n";
    out += "  \"view\": \"" + truth.view + "\",\n";
    out += "  \"reach\": \"" + truth.reach + "\",\n";
    out += "  \"seed\": " + std::to_string(truth.seed) + ",\n";
    out += "  \"camera\": {\"heightM\": " + number(truth.cameraHeight, 2) + ", \"distanceM\": " +
           number(truth.cameraDistance, 2) + "},\n";
    appendSpans(out, "rallies", truth.rallies);
    appendSpans(out, "warmups", truth.warmups);
    appendSpans(out, "retrievals", truth.retrievals);
    appendSpans(out, "serveBounces", truth.serveBounces);
    out += "  \"ball\": [";
    for (size_t i = 0; i < truth.ball.size(); ++i) {
        if (i) out += (i % 10 == 0) ? ",\n    " : ",";
        else out += "\n    ";
        const auto& b = truth.ball[i];
        out += b ? "[" + number(b->x, 1) + "," + number(b->y, 1) + "," + number(b->radius, 2) + "]" : "null";
    }
    out += "\n  ]\n}\n";
    return out;
}

void writeTruth(const GroundTruth& truth, const std::string& path) {
    std::ofstream file(path, std::ios::binary);
    file << toJson(truth);
    if (!file) throw std::runtime_error("cannot write " + path);
}

}  // namespace rallinox::synth
