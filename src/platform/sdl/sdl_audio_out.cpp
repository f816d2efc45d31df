// The desktop sound device: an SDL audio device at the engine's own rate and
// format (SDL converts if the hardware wants another). SDL's audio thread
// copies straight from the source's buffers and releases each one as soon as
// it has been copied out whole.
#include <fcntl.h>
#include <unistd.h>

#include <SDL.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <span>

#include "platform/sdl/sdl_backend.h"

namespace platform::sdl {

namespace {

constexpr std::uint8_t kSilence = 128;

// Desktop: buffers of about 5.8 ms (64 frames at 11025 Hz), both the
// engine's five and SDL's device buffer, so that a sound is heard at most
// about 35 ms after it is started (the 27 ms buffers of the handheld would
// make it 158 ms). Worst case: up to one buffer until the mixing thread next
// renders, four ready buffers ahead of it, and SDL's buffer.
std::uint32_t DesktopBufferFrames(std::uint32_t rate) { return rate / 172; }

// Starts SDL's audio and opens the default output device, paused, with
// stderr pointed at /dev/null meanwhile: the system's sound library (ALSA)
// writes a screen of errors there when it finds no card, and the program
// says it in one line of its own instead. The main thread opens the device,
// and no other thread of the program writes to stderr then. On success the
// caller owns the device and one start of SDL's audio; on failure, neither.
SDL_AudioDeviceID OpenQuietly(const SDL_AudioSpec& wanted) {
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO), null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved >= 0 && null >= 0) dup2(null, STDERR_FILENO);
    if (null >= 0) ::close(null);
    SDL_AudioSpec got{};
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
        const std::uint64_t dry = underruns_;
        if (dry > 0)
            std::fprintf(stderr, "%s: the sound device ran dry %llu times\n", programName_.c_str(),
                         static_cast<unsigned long long>(dry));
    }

    std::uint32_t bufferFrames(std::uint32_t rate, std::uint32_t) const override { return DesktopBufferFrames(rate); }

    bool open(const AudioFormat& format, AudioSource& source) override {
        if (device_ != 0) return false;
        SDL_AudioSpec wanted{};
        wanted.freq = static_cast<int>(format.rate);
        wanted.format = AUDIO_U8;
        wanted.channels = static_cast<Uint8>(format.channels);
        wanted.samples = static_cast<Uint16>(DesktopBufferFrames(format.rate));
        wanted.callback = &SdlAudioOut::fill;
        wanted.userdata = this;
        source_ = &source;
        pending_ = {};
        primed_ = false;
        fullBytes_ = DesktopBufferFrames(format.rate) * format.channels;
        // Opened paused; SDL converts if the hardware wants another rate or format.
        device_ = OpenQuietly(wanted);
        if (device_ == 0) {
            source_ = nullptr;
            return refuse();
        }
        return true;
    }

    void pause() override {
        if (device_ != 0) SDL_PauseAudioDevice(device_, 1);
    }

    void resume() override {
        if (device_ != 0) SDL_PauseAudioDevice(device_, 0);
    }

    void close() override {
        if (device_ == 0) return;
        // Waits for a callback that is running, and none follows.
        SDL_CloseAudioDevice(device_);
        device_ = 0;
        source_ = nullptr;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    // SDL asks the system (a nicer value, or RealtimeKit) and quietly keeps
    // the thread as it is when refused.
    void promoteFillingThread() override { SDL_SetThreadPriority(SDL_THREAD_PRIORITY_HIGH); }

    std::uint64_t underruns() const override { return underruns_; }

private:
    bool refuse() {
        if (!noDeviceNote_.empty() && !noted_) std::fprintf(stderr, "%s\n", noDeviceNote_.c_str());
        noted_ = true;
        return false;
    }

    static void SDLCALL fill(void* self, Uint8* stream, int length) {
        static_cast<SdlAudioOut*>(self)->fill(stream, static_cast<std::size_t>(length));
    }

    // SDL's audio thread: copies the ready buffers in order; what they do
    // not cover is silence, never old sound played again.
    void fill(Uint8* stream, std::size_t length) {
        while (length > 0) {
            if (pending_.empty()) {
                pending_ = source_->nextBuffer();
                if (pending_.empty()) break;
                // The short silent buffers that start the engine do not count.
                if (pending_.size() >= fullBytes_) primed_ = true;
            }
            const std::size_t part = pending_.size() < length ? pending_.size() : length;
            std::memcpy(stream, pending_.data(), part);
            stream += part;
            length -= part;
            pending_ = pending_.subspan(part);
            if (pending_.empty()) source_->release();
        }
        if (length > 0) {
            std::memset(stream, kSilence, length);
            if (primed_) ++underruns_;
        }
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
    std::atomic<std::uint64_t> underruns_{0};
};

}  // namespace

std::unique_ptr<AudioOut> MakeSdlAudioOut(std::string programName, std::string noDeviceNote) {
    return std::make_unique<SdlAudioOut>(std::move(programName), std::move(noDeviceNote));
}

}  // namespace platform::sdl
