// The desktop sound device: an SDL audio device at the engine's own rate and
// format, with a small device buffer so that it adds little to the engine's
// five buffers. SDL's audio thread copies from the written buffers and hands
// each one back as soon as it has been copied out whole.
#include "platform/sdl/sdl_wave_out.h"

#include <SDL.h>

#include <cstring>
#include <mutex>

namespace platform::sdl {

namespace {

// About 23 ms at 11025 Hz, 6 ms at 44100 Hz.
constexpr Uint16 kDeviceFrames = 256;
constexpr std::uint8_t kSilence = 128;

class SdlDevice final : public WaveDevice {
public:
    // One device, the desktop's default output, when SDL has an audio driver.
    std::uint32_t deviceCount() override { return ensureAudio() ? 1 : 0; }

    MMRESULT open(const WAVEFORMATEX& format, ThreadMessageQueue* callback) override {
        if (device_ != 0 || !ensureAudio()) return MMSYSERR_ERROR;
        SDL_AudioSpec wanted{}, got{};
        wanted.freq = static_cast<int>(format.nSamplesPerSec);
        wanted.format = AUDIO_U8;
        wanted.channels = static_cast<Uint8>(format.nChannels);
        wanted.samples = kDeviceFrames;
        wanted.callback = &SdlDevice::fill;
        wanted.userdata = this;
        {
            std::lock_guard<std::mutex> hold(mutex_);
            callback_ = callback;
            head_ = count_ = 0;
            offset_ = 0;
        }
        // SDL converts if the hardware wants another rate or format.
        device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &got, 0);
        if (device_ == 0) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            audioStarted_ = false;
            return MMSYSERR_ERROR;
        }
        SDL_PauseAudioDevice(device_, 0);
        return MMSYSERR_NOERROR;
    }

    MMRESULT write(WAVEHDR* header) override {
        std::lock_guard<std::mutex> hold(mutex_);
        if (device_ == 0 || count_ == kQueueCapacity) return MMSYSERR_ERROR;
        queue_[(head_ + count_) % kQueueCapacity] = header;
        ++count_;
        return MMSYSERR_NOERROR;
    }

    MMRESULT pause() override {
        if (device_ == 0) return MMSYSERR_INVALHANDLE;
        SDL_PauseAudioDevice(device_, 1);
        return MMSYSERR_NOERROR;
    }

    MMRESULT restart() override {
        if (device_ == 0) return MMSYSERR_INVALHANDLE;
        SDL_PauseAudioDevice(device_, 0);
        return MMSYSERR_NOERROR;
    }

    MMRESULT reset() override {
        if (device_ == 0) return MMSYSERR_INVALHANDLE;
        SDL_PauseAudioDevice(device_, 1);
        std::lock_guard<std::mutex> hold(mutex_);
        while (count_ > 0) handBackHead();
        offset_ = 0;
        return MMSYSERR_NOERROR;
    }

    MMRESULT close() override {
        if (device_ == 0) return MMSYSERR_INVALHANDLE;
        SDL_CloseAudioDevice(device_);
        device_ = 0;
        {
            std::lock_guard<std::mutex> hold(mutex_);
            while (count_ > 0) handBackHead();
            callback_ = nullptr;
        }
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        audioStarted_ = false;
        return MMSYSERR_NOERROR;
    }

private:
    static constexpr std::size_t kQueueCapacity = 16;

    bool ensureAudio() {
        if (!audioStarted_) audioStarted_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
        return audioStarted_;
    }

    // SDL's audio thread: copies the queued buffers in order; what they do
    // not cover is silence, never old sound played again.
    static void SDLCALL fill(void* self, Uint8* stream, int length) {
        static_cast<SdlDevice*>(self)->fill(stream, static_cast<std::size_t>(length));
    }

    void fill(Uint8* stream, std::size_t length) {
        std::lock_guard<std::mutex> hold(mutex_);
        while (length > 0 && count_ > 0) {
            WAVEHDR* header = queue_[head_];
            const std::size_t left = header->dwBufferLength - offset_;
            const std::size_t part = left < length ? left : length;
            std::memcpy(stream, header->lpData + offset_, part);
            stream += part;
            length -= part;
            offset_ += part;
            if (offset_ == header->dwBufferLength) {
                offset_ = 0;
                handBackHead();
            }
        }
        std::memset(stream, kSilence, length);
    }

    void handBackHead() {
        WAVEHDR* header = queue_[head_];
        head_ = (head_ + 1) % kQueueCapacity;
        --count_;
        header->dwFlags = (header->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
        if (callback_ != nullptr)
            callback_->post(MM_WOM_DONE, 0, static_cast<LPARAM>(reinterpret_cast<std::uintptr_t>(header)));
    }

    std::mutex mutex_;
    SDL_AudioDeviceID device_ = 0;
    bool audioStarted_ = false;
    ThreadMessageQueue* callback_ = nullptr;
    WAVEHDR* queue_[kQueueCapacity] = {};
    std::size_t head_ = 0;
    std::size_t count_ = 0;
    std::size_t offset_ = 0;  // bytes of the head buffer already copied out
};

}  // namespace

WaveDevice* SdlWaveDevice() {
    static SdlDevice device;
    return &device;
}

}  // namespace platform::sdl
