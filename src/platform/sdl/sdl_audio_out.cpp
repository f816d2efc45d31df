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
#include "platform/sdl/sound_thread_priority.h"
#include "platform/sound_timeline.h"

namespace platform::sdl {

namespace {

constexpr std::uint8_t kSilence = 128;
// Real-time levels, under the sound server's IO thread (about 5).
constexpr int kDeviceLevel = 4;
constexpr int kFillingLevel = 3;

// Desktop: the engine's five buffers hold about 3.6 ms each (40 frames at
// 11025 Hz) and SDL's device buffer four of them (14.5 ms), so that a sound
// is heard at most about 33 ms after it is started (the 27 ms buffers of the
// handheld would make it 158 ms). The engine renders only as the device
// pulls, so a sound started just after a pull waits one device buffer for
// its render; it then plays behind the one buffer that pull left in the ring
// and through SDL's buffer: one device buffer twice and one of the engine's.
// The device buffer is what the sound server holds for the program, so it
// must outlast the late wakings of SDL's audio thread (up to about 7 ms past
// its time on a loaded machine); the mixing thread, which refills the ring
// within a millisecond of a pull, has a whole device buffer of slack.
constexpr std::uint32_t kBuffersPerPull = 4;
std::uint32_t DesktopBufferFrames(std::uint32_t rate) { return rate / 275; }
std::uint32_t DeviceFrames(std::uint32_t rate) { return kBuffersPerPull * DesktopBufferFrames(rate); }

// Starts SDL's audio and opens the default output device, paused, with
// stderr pointed at /dev/null meanwhile: the system's sound library (ALSA)
// writes a screen of errors there when it finds no card, and the program
// says it in one line of its own instead. The main thread opens the device,
// and no other thread of the program writes to stderr then. On success the
// caller owns the device and one start of SDL's audio, and `got` holds what
// the device plays; on failure, neither.
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

    // Desktop: the real-time class where the system grants it, one step
    // below SDL's audio thread, which waits on this one; else SDL's high
    // priority (a nicer value, or RealtimeKit's).
    void promoteFillingThread() override {
        if (!EnterRealTimeClass(kFillingLevel)) SDL_SetThreadPriority(SDL_THREAD_PRIORITY_HIGH);
    }

    std::uint32_t deviceBufferFrames() const override { return deviceFrames_; }

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
        // Desktop: SDL's audio thread asks only for a nicer value; it enters
        // the real-time class on its first pull after each open, where the
        // system grants it, and keeps SDL's choice where not.
        if (!deviceThreadRaised_) {
            EnterRealTimeClass(kDeviceLevel);
            deviceThreadRaised_ = true;
        }
        NoteSoundStep(SoundStep::DevicePull, static_cast<std::uint32_t>(length));
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
            NoteSoundStep(SoundStep::DeviceDry, static_cast<std::uint32_t>(length));
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
    bool deviceThreadRaised_ = false;
    std::uint32_t deviceFrames_ = 0;
    std::atomic<std::uint64_t> underruns_{0};
};

}  // namespace

std::unique_ptr<AudioOut> MakeSdlAudioOut(std::string programName, std::string noDeviceNote) {
    return std::make_unique<SdlAudioOut>(std::move(programName), std::move(noDeviceNote));
}

}  // namespace platform::sdl
