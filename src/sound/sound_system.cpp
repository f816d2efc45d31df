// STAND-IN: an engine that never starts, until the mixer and the device land.
#include "sound/sound_system.h"

SoundSystem::SoundSystem() = default;
SoundSystem::~SoundSystem() { shutdown(); }
int SoundSystem::start(std::uint32_t, std::uint32_t, std::uint32_t, std::uint8_t) { return 0; }
int SoundSystem::start(std::uint32_t rate, std::uint8_t stereo) { return start(rate, 1, 8, stereo); }
int SoundSystem::shutdown() { return 1; }
void SoundSystem::pause() {}
void SoundSystem::resume() {}
void SoundSystem::setSampleVolume(int) {}
void SoundSystem::setMusicVolume(int) {}
std::uint32_t SoundSystem::sampleVolume() const { return 0; }
std::uint32_t SoundSystem::musicVolume() const { return 0; }
Channel* SoundSystem::channelAt(std::uint32_t) { return nullptr; }
std::uint32_t SoundSystem::musicChannelCount() const { return 0; }
std::uint32_t SoundSystem::voiceCount() const { return 0; }
std::uint32_t SoundSystem::playingMusicCount() const { return 0; }
std::uint32_t SoundSystem::playingVoiceCount() const { return 0; }
std::uint32_t SoundSystem::playSample(const Sample&) { return kNoChannel; }
void SoundSystem::stopAllVoices() {}
void SoundSystem::pauseAllVoices() {}
void SoundSystem::resumeAllVoices() {}
bool SoundSystem::started() const { return false; }
