// The engine's life: start, shutdown, pause and resume, master volumes and
// the mapping of handles to channels.
#include "sound/sound_system.h"

#include <cstring>
#include <new>
#include <system_error>

#include "sound/music_channel.h"
#include "sound/period_tables.h"
#include "sound/sample_voice.h"

using platform::ActiveAudioOut;
using platform::AudioFormat;

namespace {

constexpr std::uint32_t kMaxMusicChannels = 3;
constexpr std::uint32_t kMinVoices = 8;
constexpr std::uint32_t kMaxVoices = 64;
constexpr std::uint32_t kMaxVolume = 64;
constexpr std::uint32_t kStartingBytes = 8;

struct RateChoice {
    std::uint32_t rate;
    std::uint32_t bufferFrames;  // about 27 ms each
};

constexpr RateChoice kRates[] = {
    {11025, 298},
    {22050, 588},
    {44100, 1176},
};
constexpr RateChoice kOtherRate = {22050, 588};

RateChoice chooseRate(std::uint32_t requested) {
    for (const RateChoice& choice : kRates)
        if (choice.rate == requested) return choice;
    return kOtherRate;
}

int clampVolume(int v) { return v < 0 || v > static_cast<int>(kMaxVolume) ? static_cast<int>(kMaxVolume) : v; }

}  // namespace

SoundSystem::SoundSystem() = default;

SoundSystem::~SoundSystem() { shutdown(); }

int SoundSystem::start(std::uint32_t rate, std::uint8_t stereo) { return start(rate, 1, 8, stereo); }

int SoundSystem::start(std::uint32_t rate, std::uint32_t musicChannels, std::uint32_t voices, std::uint8_t stereo) {
    if (started_) return 0;
    const RateChoice choice = chooseRate(rate);
    device_ = &ActiveAudioOut();
    bufferFrames_ = device_->bufferFrames(choice.rate, choice.bufferFrames);
    stepTable_ = StepTableFor(choice.rate);
    stereo_ = stereo ? 1 : 0;
    if (!allocateChannels(musicChannels, voices)) return 0;
    rate_ = choice.rate;

    mixBufferSize_ = kBufferCount * (bufferFrames_ << stereo_);
    mixBuffer_.reset(new (std::nothrow) std::uint8_t[mixBufferSize_]);
    if (!mixBuffer_) {
        releaseAll();
        return 0;
    }
    std::memset(mixBuffer_.get(), 128, mixBufferSize_);

    queueStartingBuffers();
    running_ = false;  // the thread is created held, as if suspended
    stopping_ = false;
    try {
        if (!kDeviceMixes)
            thread_ = std::thread([this, device = device_] {
                device->promoteFillingThread();
                mixingThreadMain();
            });
    } catch (const std::system_error&) {
        releaseAll();
        return 0;
    }
    if (!openDevice()) {
        stopMixingThread();
        releaseAll();
        return 0;
    }
    // The thread asks the device for a higher priority as it starts; a
    // desktop may refuse it to an ordinary user.
    // FIX: start does not sleep 100 ms for the device to settle: the starting
    // buffers wait in a paused device, so there is nothing to wait for, and
    // the program's clock does not lose 100 ms at start-up.
    {
        std::lock_guard<std::mutex> hold(ringMutex_);
        running_ = true;
    }
    ringChanged_.notify_all();
    device_->resume();
    started_ = true;
    return 1;
}

bool SoundSystem::allocateChannels(std::uint32_t musicChannels, std::uint32_t voices) {
    musicCount_ = musicChannels == 0 ? 1 : (musicChannels > kMaxMusicChannels ? kMaxMusicChannels : musicChannels);
    music_.reset(new (std::nothrow) MusicChannel[musicCount_]);
    if (!music_) {
        musicCount_ = 0;
        return false;
    }
    musicVolume_ = kMaxVolume;
    for (std::uint32_t i = 0; i < musicCount_; ++i) music_[i].masterVolume = &musicVolume_;

    voiceCount_ = voices < kMinVoices ? kMinVoices : (voices > kMaxVoices ? kMaxVoices : voices);
    voices_.reset(new (std::nothrow) SampleVoice[voiceCount_]);
    if (!voices_) {
        voiceCount_ = 0;
        releaseAll();
        return false;
    }
    sampleVolume_ = kMaxVolume;
    for (std::uint32_t i = 0; i < voiceCount_; ++i) voices_[i].masterVolume = &sampleVolume_;
    return true;
}

bool SoundSystem::openDevice() {
    format_ = AudioFormat{rate_, static_cast<std::uint16_t>(1 + stereo_)};
    if (device_->open(format_, *this)) return true;
    device_ = nullptr;
    return false;
}

// The first buffers are this short and silent, so that the device is done
// with them almost at once and the refill cycle gets going.
void SoundSystem::queueStartingBuffers() {
    const std::uint32_t bufferBytes = bufferFrames_ << stereo_;
    std::lock_guard<std::mutex> hold(ringMutex_);
    for (std::uint32_t i = 0; i < kBufferCount; ++i)
        slots_[i] = Slot{mixBuffer_.get() + i * bufferBytes, kStartingBytes};
    playSlot_ = 0;
    readySlots_ = kBufferCount;
}

int SoundSystem::shutdown() {
    if (!started_) return 1;
    // The device stops pulling first: it would find the rotation running dry.
    device_->pause();
    stopMixingThread();
    // FIX: the device is closed as soon as the mixing thread has ended, with
    // no 100 ms pause before it: the program's clock would lose 100 ms.
    device_->close();
    device_ = nullptr;
    releaseAll();
    started_ = false;
    return 1;
}

void SoundSystem::stopMixingThread() {
    {
        std::lock_guard<std::mutex> hold(ringMutex_);
        stopping_ = true;  // a held thread sees it too
    }
    ringChanged_.notify_all();
    thread_.join();
}

void SoundSystem::releaseAll() {
    mixBuffer_.reset();
    mixBufferSize_ = 0;
    current_ = nullptr;
    music_.reset();
    musicCount_ = 0;
    voices_.reset();
    voiceCount_ = 0;
}

void SoundSystem::pause() {
    if (!started_) return;
    device_->pause();
    std::lock_guard<std::mutex> hold(ringMutex_);
    running_ = false;
}

void SoundSystem::resume() {
    if (!started_) return;
    {
        std::lock_guard<std::mutex> hold(ringMutex_);
        running_ = true;
    }
    ringChanged_.notify_all();
    device_->resume();
}

void SoundSystem::setSampleVolume(int v) {
    sampleVolume_ = static_cast<std::uint32_t>(clampVolume(v));
    for (std::uint32_t i = 0; i < voiceCount_; ++i) voices_[i].setVolume(static_cast<int>(voices_[i].ownVolume()));
}

void SoundSystem::setMusicVolume(int v) {
    musicVolume_ = static_cast<std::uint32_t>(clampVolume(v));
    for (std::uint32_t i = 0; i < musicCount_; ++i) music_[i].setVolume(static_cast<int>(music_[i].ownVolume()));
}

Channel* SoundSystem::channelAt(std::uint32_t handle) {
    if (handle < musicCount_) return &music_[handle];
    if (handle - musicCount_ < voiceCount_) return &voices_[handle - musicCount_];
    return nullptr;
}

std::uint32_t SoundSystem::playingMusicCount() const {
    std::uint32_t playing = 0;
    for (std::uint32_t i = 0; i < musicCount_; ++i) playing += music_[i].isPlaying() ? 1 : 0;
    return playing;
}

std::uint32_t SoundSystem::playingVoiceCount() const {
    std::uint32_t playing = 0;
    for (std::uint32_t i = 0; i < voiceCount_; ++i) playing += voices_[i].isPlaying() ? 1 : 0;
    return playing;
}
