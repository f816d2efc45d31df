// The desktop sound device: an SDL audio device at the engine's own rate and
// format (SDL converts if the hardware wants another). SDL's audio thread
// copies straight from the source's buffers and releases each one as soon as
// it has been copied out whole.
#include <fcntl.h>
#include <unistd.h>

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <optional>
#include <span>

#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/sound_thread_priority.h"
#include "platform/sound_timeline.h"

namespace platform::sdl {

namespace {

constexpr std::uint8_t kSilence = 128;
// Real-time levels, under the sound server's IO thread (about 5).
constexpr int kDeviceLevel = 4;
constexpr int kFillingLevel = 3;

// Desktop: the engine's five buffers hold about 2.5 ms each (28 frames at
// 11025 Hz) and SDL's device buffer all five (12.7 ms). A sound started just
// after a render waits a device buffer for its render, one for its copy-out,
// and plays through SDL's: at most about 38 ms (the handheld's 27 ms buffers
// would make it 158 ms). A pull takes the whole ring, since any buffer kept
// back would add latency without adding slack against late threads.
constexpr std::uint32_t kBuffersPerPull = 5;
std::uint32_t DesktopBufferFrames(std::uint32_t rate) { return rate / 390; }
std::uint32_t DeviceFrames(std::uint32_t rate) { return kBuffersPerPull * DesktopBufferFrames(rate); }

// Desktop: a pull that finds the next buffer not ready waits this long for
// the mixing thread before it plays silence: after the machine has held both
// sound threads, SDL's pulls come back to back before the mixing thread is
// scheduled, so those buffers are late by a little, not missing.
constexpr auto kLongestWait = std::chrono::milliseconds(2);
// The ring cannot wake the device, so a waiting pull looks again this often.
constexpr auto kLookEvery = std::chrono::microseconds(50);

// Starts SDL's audio and opens the default output device, paused, with
// stderr pointed at /dev/null meanwhile: ALSA writes a screen of errors
// there when it finds no card, and the program says it in one line instead.
// Main thread only. On success the caller owns the device and one start of
// SDL's audio, and `got` holds what the device plays; on failure, neither.
SDL_AudioDeviceID OpenQuietly(const SDL_AudioSpec& wanted, SDL_AudioSpec& got) {
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO), null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved >= 0 && null >= 0) dup2(null, STDERR_FILENO);
    if (null >= 0) ::close(null);
    SDL_AudioDeviceID device = 0;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
        device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &got, 0);
        if (device == 0) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    if (saved >= 0) {
        dup2(saved, STDERR_FILENO);
        ::close(saved);
    }
    return device;
}

class SdlAudioOut final : public AudioOut {
public:
    SdlAudioOut(std::string programName, std::string noDeviceNote)
        : programName_(std::move(programName)), noDeviceNote_(std::move(noDeviceNote)) {}

    ~SdlAudioOut() override {
        close();
        WriteSoundTimeline();
        const std::uint64_t dry = underruns_;
        if (dry > 0)
            std::fprintf(stderr, "%s: the sound device ran dry %llu times\n", programName_.c_str(),
                         static_cast<unsigned long long>(dry));
    }

    std::uint32_t bufferFrames(std::uint32_t rate, std::uint32_t) const override { return DesktopBufferFrames(rate); }

    bool open(const AudioFormat& format, AudioSource& source) override {
        if (device_ != 0) return false;
        SDL_AudioSpec wanted{}, got{};
        wanted.freq = static_cast<int>(format.rate);
        wanted.format = AUDIO_U8;
        wanted.channels = static_cast<Uint8>(format.channels);
        wanted.samples = static_cast<Uint16>(DeviceFrames(format.rate));
        wanted.callback = &SdlAudioOut::fill;
        wanted.userdata = this;
        source_ = &source;
        holding_ = false;
        pending_ = {};
        primed_ = false;
        deviceThreadRaised_ = false;
        fullBytes_ = DesktopBufferFrames(format.rate) * format.channels;
        // Opened paused; SDL converts if the hardware wants another rate or format.
        device_ = OpenQuietly(wanted, got);
        if (device_ == 0) {
            source_ = nullptr;
            return refuse();
        }
        deviceFrames_ = got.samples;
        return true;
    }

    void pause() override {
        if (device_ == 0) return;
        hold();
        SDL_PauseAudioDevice(device_, 1);
    }

    void resume() override {
        if (device_ == 0) return;
        holding_ = false;
        SDL_PauseAudioDevice(device_, 0);
    }

    void close() override {
        if (device_ == 0) return;
        hold();
        // Waits for a callback that is running, and none follows.
        SDL_CloseAudioDevice(device_);
        device_ = 0;
        source_ = nullptr;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    // Desktop: the real-time class where the system grants it, one step
    // below SDL's audio thread, which waits on this one; else SDL's high
    // priority (a nicer value, or RealtimeKit's).
    void promoteFillingThread() override {
        if (!EnterRealTimeClass(kFillingLevel)) SDL_SetThreadPriority(SDL_THREAD_PRIORITY_HIGH);
    }

    std::uint32_t deviceBufferFrames() const override { return deviceFrames_; }

    std::uint64_t underruns() const override { return underruns_; }

private:
    using Clock = std::chrono::steady_clock;

    // Ends a pull's wait at once: SDL's pause and close wait for the callback.
    void hold() {
        {
            std::lock_guard<std::mutex> guard(wakeMutex_);
            holding_ = true;
        }
        woken_.notify_all();
    }

    bool refuse() {
        if (!noDeviceNote_.empty() && !noted_) std::fprintf(stderr, "%s\n", noDeviceNote_.c_str());
        noted_ = true;
        return false;
    }

    static void SDLCALL fill(void* self, Uint8* stream, int length) {
        static_cast<SdlAudioOut*>(self)->fill(stream, static_cast<std::size_t>(length));
    }

    // SDL's audio thread: copies the ready buffers in order, and silence for
    // what they do not cover, never old sound. A pull that runs dry counts
    // once, unless a pause or close cut it short (nobody hears it) or it
    // plays the silent starting buffers.
    void fill(Uint8* stream, std::size_t length) {
        // Desktop: SDL asks only for a nicer value; the thread enters the
        // real-time class on its first pull after each open, where allowed.
        if (!deviceThreadRaised_) {
            EnterRealTimeClass(kDeviceLevel);
            deviceThreadRaised_ = true;
        }
        NoteSoundStep(SoundStep::DevicePull, static_cast<std::uint32_t>(length));
        const bool starting = !primed_;
        std::optional<Clock::time_point> giveUp;  // set by the pull's first wait
        while (length > 0) {
            if (pending_.empty() && !takeNextBuffer(giveUp, length, starting)) break;
            const std::size_t part = pending_.size() < length ? pending_.size() : length;
            std::memcpy(stream, pending_.data(), part);
            stream += part;
            length -= part;
            pending_ = pending_.subspan(part);
            if (pending_.empty()) source_->release();
        }
        if (length > 0) {
            std::memset(stream, kSilence, length);
            if (!starting && !holding_) ++underruns_;
            NoteSoundStep(SoundStep::DeviceDry, static_cast<std::uint32_t>(length));
        }
    }

    // Makes the next buffer the pending one, waiting for it until `giveUp`
    // (from now on, at the pull's first wait). False when it did not come,
    // or the device is pausing or closing, or when `starting` and the buffer
    // does not fit whole in the `wanted` bytes.
    bool takeNextBuffer(std::optional<Clock::time_point>& giveUp, std::size_t wanted, bool starting) {
        Clock::time_point waitStarted;
        for (;;) {
            pending_ = source_->nextBuffer();
            if (!pending_.empty()) break;
            const Clock::time_point now = Clock::now();
            if (!giveUp) giveUp = now + kLongestWait;
            if (waitStarted == Clock::time_point{}) {
                waitStarted = now;
                NoteSoundStep(SoundStep::DeviceWait, static_cast<std::uint32_t>(wanted));
            }
            // Tested after a look, so that a wait that woke late still looks once more.
            if (now >= *giveUp) return false;
            std::unique_lock<std::mutex> guard(wakeMutex_);
            if (woken_.wait_for(guard, kLookEvery, [this] { return holding_.load(); })) return false;
        }
        if (waitStarted != Clock::time_point{}) {
            const auto waited = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - waitStarted);
            NoteSoundStep(SoundStep::DeviceFound, static_cast<std::uint32_t>(waited.count()));
        }
        // The pull that plays the short starting buffers ends in silence
        // rather than with part of a full buffer, so each later pull takes
        // whole buffers and the mixing thread has a device buffer's time to
        // render them, not the moments between the copies of one pull.
        if (starting && pending_.size() > wanted) {
            pending_ = {};
            return false;
        }
        if (pending_.size() >= fullBytes_) primed_ = true;
        return true;
    }

    const std::string programName_;
    const std::string noDeviceNote_;
    bool noted_ = false;
    SDL_AudioDeviceID device_ = 0;
    // SDL's audio thread alone while the device is open.
    AudioSource* source_ = nullptr;
    std::span<const std::uint8_t> pending_;  // what is left of the buffer being copied
    std::size_t fullBytes_ = 0;
    bool primed_ = false;
    bool deviceThreadRaised_ = false;
    std::uint32_t deviceFrames_ = 0;
    std::atomic<std::uint64_t> underruns_{0};
    // Set by the main thread as it pauses or closes the device, under
    // wakeMutex_ so that a waiting pull cannot miss it.
    std::atomic<bool> holding_{false};
    std::mutex wakeMutex_;
    std::condition_variable woken_;
};

}  // namespace

std::unique_ptr<AudioOut> MakeSdlAudioOut(std::string programName, std::string noDeviceNote) {
    return std::make_unique<SdlAudioOut>(std::move(programName), std::move(noDeviceNote));
}

}  // namespace platform::sdl
