// The engine's life: start, shutdown, pause and resume, master volumes and
// the mapping of handles to channels.
#include "sound/sound_system.h"

#include <cstring>
#include <new>
#include <system_error>

#include "sound/music_channel.h"
#include "sound/period_tables.h"
#include "sound/sample_voice.h"

using namespace platform;

namespace {

constexpr std::uint32_t kMaxMusicChannels = 3;
constexpr std::uint32_t kMinVoices = 8;
constexpr std::uint32_t kMaxVoices = 64;
constexpr std::uint32_t kMaxVolume = 64;
// The first writes are this short so that they come back almost at once and
// set the refill cycle going.
constexpr std::uint32_t kStartingWriteBytes = 8;

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
    bufferFrames_ = choice.bufferFrames;
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

    stopEvent_.reset();
    doneEvent_.reset();
    runEvent_.reset();  // the thread is created held, as if suspended
    messages_.clear();
    try {
        thread_ = std::thread(&SoundSystem::mixingThreadMain, this);
    } catch (const std::system_error&) {
        releaseAll();
        return 0;
    }
    if (!openDevice()) {
        stopMixingThread();
        releaseAll();
        return 0;
    }
    waveOutPause(device_);
    queueStartingBuffers();
    // The platform's highest normal priority is not given to the thread: a
    // desktop refuses it to an ordinary user and the buffers keep 135 ms.
    // FIX: start does not sleep 100 ms for the device to settle: the starting
    // writes wait in a paused device, so there is nothing to wait for, and
    // the program's clock does not lose 100 ms at start-up.
    runEvent_.set();
    waveOutRestart(device_);
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
    const std::uint16_t channels = static_cast<std::uint16_t>(1 + stereo_);
    format_ = WAVEFORMATEX{};
    format_.wFormatTag = WAVE_FORMAT_PCM;
    format_.nChannels = channels;
    format_.nSamplesPerSec = rate_;
    format_.nAvgBytesPerSec = rate_ * channels;
    format_.nBlockAlign = channels;
    format_.wBitsPerSample = 8;
    format_.cbSize = 0;
    const std::uint32_t devices = waveOutGetNumDevs();
    for (std::uint32_t id = 0; id < devices; ++id) {
        if (waveOutOpen(&device_, id, &format_, &messages_, reinterpret_cast<std::uintptr_t>(this), CALLBACK_THREAD) ==
            MMSYSERR_NOERROR)
            return true;
    }
    device_ = nullptr;
    return false;
}

void SoundSystem::queueStartingBuffers() {
    const std::uint32_t bufferBytes = bufferFrames_ << stereo_;
    for (std::uint32_t i = 0; i < kBufferCount; ++i) {
        WAVEHDR& header = headers_[i];
        header = WAVEHDR{};
        header.lpData = mixBuffer_.get() + i * bufferBytes;
        header.dwBufferLength = kStartingWriteBytes;
        waveOutPrepareHeader(device_, &header, sizeof header);
        waveOutWrite(device_, &header, sizeof header);
    }
}

int SoundSystem::shutdown() {
    if (!started_) return 1;
    stopMixingThread();
    // FIX: the device is reset as soon as the mixing thread has ended, with no
    // 100 ms pause before it: a device that played on would hand its buffers
    // to a thread that is gone, and the program's clock would lose 100 ms.
    waveOutReset(device_);
    for (WAVEHDR& header : headers_) waveOutUnprepareHeader(device_, &header, sizeof header);
    waveOutClose(device_);
    device_ = nullptr;
    releaseAll();
    started_ = false;
    return 1;
}

void SoundSystem::stopMixingThread() {
    stopEvent_.set();
    // A held thread is let go so that it can see the stop.
    runEvent_.set();
    messages_.post(0, 0, 0);  // ends its wait at once
    doneEvent_.wait();
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
    waveOutPause(device_);
    runEvent_.reset();
}

void SoundSystem::resume() {
    if (!started_) return;
    runEvent_.set();
    waveOutRestart(device_);
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
