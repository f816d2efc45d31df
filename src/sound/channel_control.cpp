// Starting samples and modules on free channels, and the operations on all
// channels of one kind. Each runs under the engine lock, so the mixing thread
// never sees a channel half set up.
#include "sound/module.h"
#include "sound/music_channel.h"
#include "sound/sample.h"
#include "sound/sample_voice.h"
#include "sound/sound_system.h"

std::uint32_t SoundSystem::playSample(const Sample& sample) {
    if (!started_ || sample.data() == nullptr) return kNoChannel;
    std::lock_guard<std::mutex> hold(lock_);
    for (std::uint32_t i = 0; i < voiceCount_; ++i) {
        SampleVoice& voice = voices_[i];
        if (voice.isStopped() && !voice.isPaused()) {
            voice.startSample(sample, rate_);
            return musicCount_ + i;
        }
    }
    return kNoChannel;
}

std::uint32_t SoundSystem::playModule(const Module& module) {
    if (!started_ || module.data() == nullptr) return kNoChannel;
    std::lock_guard<std::mutex> hold(lock_);
    for (std::uint32_t i = 0; i < musicCount_; ++i) {
        MusicChannel& channel = music_[i];
        if (channel.isStopped() && !channel.isPaused()) {
            channel.startModule(module, stepTable_, rate_);
            return i;
        }
    }
    return kNoChannel;
}

template <typename Action>
void SoundSystem::forEachVoiceLocked(Action action) {
    if (!started_) return;
    std::lock_guard<std::mutex> hold(lock_);
    for (std::uint32_t i = 0; i < voiceCount_; ++i) action(voices_[i]);
}

template <typename Action>
void SoundSystem::forEachMusicLocked(Action action) {
    if (!started_) return;
    std::lock_guard<std::mutex> hold(lock_);
    for (std::uint32_t i = 0; i < musicCount_; ++i) action(music_[i]);
}

void SoundSystem::stopAllVoices() {
    forEachVoiceLocked([](Channel& c) { c.stop(); });
}
void SoundSystem::pauseAllVoices() {
    forEachVoiceLocked([](Channel& c) { c.pause(); });
}
void SoundSystem::resumeAllVoices() {
    forEachVoiceLocked([](Channel& c) { c.resume(); });
}
void SoundSystem::stopAllMusic() {
    forEachMusicLocked([](Channel& c) { c.stop(); });
}
void SoundSystem::pauseAllMusic() {
    forEachMusicLocked([](Channel& c) { c.pause(); });
}
void SoundSystem::resumeAllMusic() {
    forEachMusicLocked([](Channel& c) { c.resume(); });
}
