// The export of chosen stretches of a match video into one MP4 file: the
// picture re-encoded as H.264 at the source's size and frame rate, the sound
// as AAC when it is wanted and can be kept.
#pragma once

#include <string>
#include <vector>

#include "export/export_request.h"
#include "export/cut_list.h"
#include "export/frame_overlay.h"

namespace rallinox {

inline constexpr const char* kNoRalliesMessage = "No rallies to export.";
inline constexpr const char* kSameFileMessage =
    "Choose another file name: the export cannot replace the match video itself.";

// Writes the cuts in order into `outputPath`. The file appears there only
// when it is complete: a failed or cancelled export leaves nothing behind
// and an older file of that name untouched. `overlay` (may be nullptr)
// draws into every picture. Returns soon after the progress's cancel flag
// is set.
ExportResult exportMp4(const std::string& sourcePath, const std::string& outputPath, const std::vector<Cut>& cuts,
                       bool keepSound, FrameOverlay* overlay, ExportProgress& progress);

// Whether sound of this format is written: 44.1 or 48 kHz, mono or stereo.
bool soundFormatSupported(int sampleRate, int channels);

}  // namespace rallinox
