// STAND-IN: a music channel that stays silent until the replay lands.
#include "sound/music_channel.h"

MusicChannel::MusicChannel() = default;
void MusicChannel::setVolume(int v) { Channel::setVolume(v); }
void MusicChannel::setPan(int separation) { Channel::setPan(separation); }
void MusicChannel::startModule(const Module&, const std::uint16_t*, std::uint32_t) { stop(); }
void MusicChannel::renderFrame(std::int32_t&, std::int32_t&, bool) { stop(); }
