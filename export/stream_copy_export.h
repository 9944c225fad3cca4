// The fast export of chosen stretches of a match video into one MP4 file:
// the picture's stored packets are copied as they are, so each cut starts at
// the key frame at or before its start. AAC sound is copied too, other
// sound re-encoded.
#pragma once

#include <string>
#include <vector>

#include "export/export_request.h"
#include "export/cut_list.h"

namespace rallinox {

inline constexpr const char* kPictureNotCopyableMessage =
    "Only H.264 and H.265 pictures can be copied without re-encoding; this video's picture is in another format.";
inline constexpr const char* kPictureReencodedMessage =
    "This video's picture cannot be copied into an MP4 file as it is, so it was re-encoded.";

// Whether the source's picture can be copied into MP4 (H.264 or H.265).
bool pictureCanBeCopied(const std::string& sourcePath);

// Writes the cuts in order into `outputPath`, with the same promises as
// exportMp4: the file appears only when complete, nothing is left behind
// by a failed or cancelled export. Sound the normal export would leave out
// is left out here too, with the result's noSound set.
ExportResult exportStreamCopy(const std::string& sourcePath, const std::string& outputPath,
                              const std::vector<Cut>& cuts, bool keepSound, ExportProgress& progress);

}  // namespace rallinox
