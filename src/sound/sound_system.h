// The sound engine: the audio-out device, five output buffers in rotation,
// a mixing thread that fills each buffer again as soon as the device has
// played it, up to three music channels and 8 to 64 sample voices, and two
// master volumes.
//
// Every operation is called from the main thread. Handles name channels in
// one sequence, music channels first; 65535 names none. An engine that is not
// started refuses every operation quietly.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <thread>

#include "platform/audio_out.h"
#include "sound/channel.h"

class Module;
class MusicChannel;
class Sample;
class SampleVoice;

constexpr std::uint32_t kNoChannel = 65535;

class SoundSystem final : private platform::AudioSource {
public:
    static constexpr std::uint32_t kBufferCount = 5;
#ifdef _LIBCPP_HAS_NO_THREADS
    // A build without threads (WebAssembly) makes no mixing thread: the
    // device's own wait for the refill (awaitRefill) renders the buffers it
    // released, in the order the thread would have.
    static constexpr bool kDeviceMixes = true;
#else
    static constexpr bool kDeviceMixes = false;
#endif

    SoundSystem();
    ~SoundSystem();  // shuts down
    SoundSystem(const SoundSystem&) = delete;
    SoundSystem& operator=(const SoundSystem&) = delete;

    // 1 when the device plays; 0 on any failure or when already started. The
    // device is the active audio out at the time of the call.
    // rate: 11025, 22050 or 44100 frames per second (any other: 22050);
    // musicChannels 1..3 (0 makes 1); voices 8..64; stereo: nonzero for two
    // output channels.
    int start(std::uint32_t rate, std::uint32_t musicChannels, std::uint32_t voices, std::uint8_t stereo);
    // One music channel and eight voices.
    int start(std::uint32_t rate, std::uint8_t stereo);
    // Stops the mixing thread and closes the device; always 1.
    int shutdown();
    // Pauses the device and holds the mixing thread at its next buffer boundary.
    void pause();
    void resume();

    // 0..64; out of range: 64. Re-applies every channel's own volume of that
    // kind under the new master. Any state, no lock.
    void setSampleVolume(int v);
    void setMusicVolume(int v);
    std::uint32_t sampleVolume() const { return sampleVolume_; }
    std::uint32_t musicVolume() const { return musicVolume_; }

    // The channel a handle names, or null. No lock.
    Channel* channelAt(std::uint32_t handle);
    std::uint32_t musicChannelCount() const { return musicCount_; }
    std::uint32_t voiceCount() const { return voiceCount_; }
    std::uint32_t playingMusicCount() const;
    std::uint32_t playingVoiceCount() const;

    // Starts a sample on the first free voice; its handle, or 65535 when the
    // engine is not started, the sample is empty or every voice is busy (no
    // playing voice is cut short). The Sample must outlive the playing.
    std::uint32_t playSample(const Sample& sample);
    void stopAllVoices();
    void pauseAllVoices();
    void resumeAllVoices();

    // Starts a module on the first free music channel; its handle (the music
    // channel's index), or 65535. The Module must outlive the playing.
    std::uint32_t playModule(const Module& module);
    void stopAllMusic();
    void pauseAllMusic();
    void resumeAllMusic();

    bool started() const { return started_; }
    std::uint32_t rate() const { return rate_; }
    bool stereo() const { return stereo_ != 0; }
    // Frames per output buffer, as the device chose them: by the rate, 298,
    // 588 or 1176 (about 27 ms), or fewer on a desktop.
    std::uint32_t bufferFrames() const { return bufferFrames_; }

    // Renders `frames` output frames (frames << stereo bytes) under the
    // engine lock. The mixing thread's work; tests call it on a started
    // engine whose device is not pulling.
    void renderBuffer(std::uint8_t* out, std::uint32_t frames);

private:
    // One of the five output buffers; `bytes` is what it holds to play.
    struct Slot {
        std::uint8_t* data = nullptr;
        std::uint32_t bytes = 0;
    };

    bool allocateChannels(std::uint32_t musicChannels, std::uint32_t voices);
    bool openDevice();
    void queueStartingBuffers();
    void stopMixingThread();
    void releaseAll();
    void mixingThreadMain();
    // The mixing thread's work on the caller's thread, where there is no other thread.
    void refillReleased();
    template <typename Action>
    void forEachVoiceLocked(Action action);
    template <typename Action>
    void forEachMusicLocked(Action action);

    // AudioSource: the device's thread.
    std::span<const std::uint8_t> nextBuffer() override;
    void release() override;
    std::size_t readyCount() override;
    void awaitRefill() override;

    platform::AudioOut* device_ = nullptr;
    platform::AudioFormat format_;
    std::thread thread_;
    std::mutex lock_;  // the engine lock: channels, held for one buffer's rendering

    // The rotation, under ringMutex_: from playSlot_ on, readySlots_ buffers
    // are ready to play; the mixing thread fills the one after them.
    std::mutex ringMutex_;
    std::condition_variable ringChanged_;
    Slot slots_[kBufferCount];
    std::uint32_t playSlot_ = 0;
    std::uint32_t readySlots_ = 0;
    bool running_ = false;   // clear while the mixing thread is held (created held, paused)
    bool stopping_ = false;  // set by shutdown to end the mixing thread

    bool started_ = false;
    std::uint32_t rate_ = 0;
    std::uint32_t musicCount_ = 0;
    std::unique_ptr<MusicChannel[]> music_;
    std::uint32_t voiceCount_ = 0;
    std::unique_ptr<SampleVoice[]> voices_;
    const std::uint16_t* stepTable_ = nullptr;
    std::unique_ptr<std::uint8_t[]> mixBuffer_;
    std::uint32_t bufferFrames_ = 0;
    std::uint32_t mixBufferSize_ = 0;
    std::uint8_t* current_ = nullptr;
    std::uint32_t stereo_ = 0;
    std::atomic<std::uint32_t> musicVolume_{0};
    std::atomic<std::uint32_t> sampleVolume_{0};
};

// The program's one engine, built but not started. It exists only between
// ConstructSoundObjects and DestroySoundObjects, which the program calls once
// its Surfaces are built and before they are destroyed.
extern SoundSystem& soundSystem;

// Builds soundSystem, then the sample table `samples` (sound/sample.h), slot 0 first.
void ConstructSoundObjects();
// Destroys the sample table, slot 14 first, then soundSystem.
void DestroySoundObjects();
