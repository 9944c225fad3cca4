// PLACEHOLDER until the real player lands.
#include "video/preview_player.h"

#include "video/preview_sound.h"

namespace rallinox {

PreviewPlayer::PreviewPlayer() = default;
PreviewPlayer::~PreviewPlayer() = default;
bool PreviewPlayer::open(const std::string&) { return false; }
void PreviewPlayer::close() {}
bool PreviewPlayer::isOpen() const { return open_; }
void PreviewPlayer::play() {}
void PreviewPlayer::pause() {}
void PreviewPlayer::seek(double seconds) { position_ = seconds; }
void PreviewPlayer::setRate(double rate) { rate_ = rate; }
double PreviewPlayer::rate() const { return rate_; }
void PreviewPlayer::setMuted(bool) {}
bool PreviewPlayer::takeFrame(PreviewFrame&) { return false; }
void PreviewPlayer::decodeLoop(std::string) {}

}  // namespace rallinox
