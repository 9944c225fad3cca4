#include "video/mp4_boxes.h"

#include <cstring>
#include <fstream>
#include <optional>
#include <vector>

namespace rallinox {
namespace {

using Bytes = std::span<const std::uint8_t>;

// Larger `moov` boxes are not read into memory.
constexpr std::uint64_t kMaxMoovBytes = 64ull * 1024 * 1024;

std::uint32_t readU32(const std::uint8_t* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
           std::uint32_t(p[3]);
}

std::uint64_t readU64(const std::uint8_t* p) {
    return (std::uint64_t(readU32(p)) << 32) | readU32(p + 4);
}

// A box header: where the payload starts and how long the whole box is,
// both relative to the header's position.
struct BoxHeader {
    char type[4];
    std::uint64_t headerSize;
    std::uint64_t boxSize;
};

// Decodes a header from the first bytes at a position with `remaining`
// bytes left in the enclosing range. Nothing when the header does not fit
// or the box is smaller than its header or runs past the range.
std::optional<BoxHeader> parseHeader(const std::uint8_t* head, std::size_t headBytes,
                                     std::uint64_t remaining) {
    if (headBytes < 8 || remaining < 8) return std::nullopt;
    BoxHeader header{};
    std::memcpy(header.type, head + 4, 4);
    std::uint64_t size = readU32(head);
    header.headerSize = 8;
    if (size == 1) {
        if (headBytes < 16 || remaining < 16) return std::nullopt;
        size = readU64(head + 8);
        header.headerSize = 16;
    } else if (size == 0) {
        size = remaining;
    }
    if (size < header.headerSize || size > remaining) return std::nullopt;
    header.boxSize = size;
    return header;
}

bool isType(const BoxHeader& header, const char* type) {
    return std::memcmp(header.type, type, 4) == 0;
}

// Calls `visit(header, payload)` for each box directly inside `range`, in
// order, until it returns false or a damaged box ends the range.
template <class Visit>
void forEachBox(Bytes range, Visit visit) {
    std::uint64_t pos = 0;
    while (pos < range.size()) {
        const std::uint64_t remaining = range.size() - pos;
        const auto header = parseHeader(range.data() + pos, remaining, remaining);
        if (!header) return;
        const Bytes payload =
            range.subspan(pos + header->headerSize, header->boxSize - header->headerSize);
        if (!visit(*header, payload)) return;
        pos += header->boxSize;
    }
}

// Payload of the first box of `type` directly inside `range`.
std::optional<Bytes> findBox(Bytes range, const char* type) {
    std::optional<Bytes> found;
    forEachBox(range, [&](const BoxHeader& header, Bytes payload) {
        if (isType(header, type)) found = payload;
        return !found;
    });
    return found;
}

// `handler` is "vide" or "soun".
bool isHandler(Bytes hdlr, const char* handler) {
    return hdlr.size() >= 12 && std::memcmp(hdlr.data() + 8, handler, 4) == 0;
}

std::uint32_t mediaTimescale(Bytes mdhd) {
    if (mdhd.empty()) return 0;
    const std::size_t at = mdhd[0] == 1 ? 20 : 12;
    return mdhd.size() >= at + 4 ? readU32(mdhd.data() + at) : 0;
}

// Media time of the first non-empty edit, or nothing.
std::optional<std::int64_t> firstEditMediaTime(Bytes elst) {
    if (elst.size() < 8) return std::nullopt;
    const bool wide = elst[0] == 1;
    const std::size_t entrySize = wide ? 20 : 12;
    const std::uint32_t count = readU32(elst.data() + 4);
    const std::size_t available = (elst.size() - 8) / entrySize;
    for (std::size_t i = 0; i < count && i < available; ++i) {
        const std::uint8_t* entry = elst.data() + 8 + i * entrySize;
        const std::int64_t mediaTime = wide ? std::int64_t(readU64(entry + 8))
                                            : std::int64_t(std::int32_t(readU32(entry + 4)));
        if (mediaTime != -1) return mediaTime;
    }
    return std::nullopt;
}

// The edit-list start of one `trak`, or nothing when the track is not of
// the `handler` kind with a valid timescale.
std::optional<double> trackStartOffset(Bytes trak, const char* handler) {
    const auto mdia = findBox(trak, "mdia");
    const auto edts = findBox(trak, "edts");
    if (!mdia || !edts) return std::nullopt;
    const auto hdlr = findBox(*mdia, "hdlr");
    const auto mdhd = findBox(*mdia, "mdhd");
    if (!hdlr || !mdhd || !isHandler(*hdlr, handler)) return std::nullopt;
    const std::uint32_t timescale = mediaTimescale(*mdhd);
    if (timescale == 0) return std::nullopt;

    const auto elst = findBox(*edts, "elst");
    if (!elst) return 0.0;
    const auto mediaTime = firstEditMediaTime(*elst);
    if (!mediaTime || *mediaTime <= 0) return 0.0;
    return double(*mediaTime) / double(timescale);
}

double movieStartOffset(Bytes moov, const char* handler) {
    std::optional<double> offset;
    forEachBox(moov, [&](const BoxHeader& header, Bytes payload) {
        if (isType(header, "trak")) offset = trackStartOffset(payload, handler);
        return !offset;
    });
    return offset.value_or(0.0);
}

double fileStartOffset(std::istream& file, const char* handler) {
    file.seekg(0, std::ios::end);
    const std::streamoff end = file.tellg();
    if (!file || end <= 0) return 0.0;
    const std::uint64_t fileSize = std::uint64_t(end);

    std::uint64_t pos = 0;
    while (pos < fileSize) {
        std::uint8_t head[16];
        const std::uint64_t remaining = fileSize - pos;
        const std::size_t headBytes = remaining < sizeof head ? std::size_t(remaining) : sizeof head;
        file.seekg(std::streamoff(pos));
        if (!file.read(reinterpret_cast<char*>(head), std::streamsize(headBytes))) return 0.0;
        auto header = parseHeader(head, headBytes, remaining);
        if (!header) return 0.0;
        if (isType(*header, "moov")) {
            if (header->boxSize > kMaxMoovBytes) return 0.0;
            std::vector<std::uint8_t> moov(header->boxSize - header->headerSize);
            file.seekg(std::streamoff(pos + header->headerSize));
            if (!file.read(reinterpret_cast<char*>(moov.data()), std::streamsize(moov.size())))
                return 0.0;
            return movieStartOffset(moov, handler);
        }
        pos += header->boxSize;
    }
    return 0.0;
}

double fileStartOffset(const std::string& path, const char* handler) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return 0.0;
    return fileStartOffset(file, handler);
}

}  // namespace

double mp4MovieVideoStartOffset(Bytes moov) { return movieStartOffset(moov, "vide"); }

double mp4VideoStartOffset(std::istream& file) { return fileStartOffset(file, "vide"); }

double mp4VideoStartOffset(const std::string& path) { return fileStartOffset(path, "vide"); }

double mp4AudioStartOffset(const std::string& path) { return fileStartOffset(path, "soun"); }

}  // namespace rallinox
