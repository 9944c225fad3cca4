// PLACEHOLDER until the real sound lands.
#include "video/preview_sound.h"

namespace rallinox {

struct PreviewSound::Impl {};
PreviewSound::PreviewSound() = default;
PreviewSound::~PreviewSound() = default;
bool PreviewSound::open(const std::string&) { return false; }
void PreviewSound::close() {}
bool PreviewSound::isOpen() const { return false; }
void PreviewSound::play(double) {}
void PreviewSound::pause() {}
void PreviewSound::seek(double) {}
void PreviewSound::setRate(double) {}
void PreviewSound::setMuted(bool) {}

}  // namespace rallinox
