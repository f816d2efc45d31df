// The sound engine: the wave-output device, five output buffers in rotation,
// a mixing thread that refills each buffer as the device hands it back, up to
// three music channels and 8 to 64 sample voices, and two master volumes.
//
// Every operation is called from the main thread. Handles name channels in
// one sequence, music channels first; 65535 names none. An engine that is not
// started refuses every operation quietly.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/wave_out.h"
#include "sound/channel.h"
#include "sound/thread_event.h"

class Module;
class MusicChannel;
class Sample;
class SampleVoice;

constexpr std::uint32_t kNoChannel = 65535;

class SoundSystem {
public:
    static constexpr std::uint32_t kBufferCount = 5;

    SoundSystem();
    ~SoundSystem();  // shuts down
    SoundSystem(const SoundSystem&) = delete;
    SoundSystem& operator=(const SoundSystem&) = delete;

    // 1 when the device plays; 0 on any failure or when already started.
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
    // Frames per output buffer: 298, 588 or 1176 by the rate.
    std::uint32_t bufferFrames() const { return bufferFrames_; }

    // Renders `frames` output frames (frames << stereo bytes) under the
    // engine lock. The mixing thread's work; tests call it on a started
    // engine whose device is not handing buffers back.
    void renderBuffer(std::uint8_t* out, std::uint32_t frames);

private:
    bool allocateChannels(std::uint32_t musicChannels, std::uint32_t voices);
    bool openDevice();
    void queueStartingBuffers();
    void stopMixingThread();
    void releaseAll();
    void mixingThreadMain();
    void refill(platform::WAVEHDR* header);
    template <typename Action>
    void forEachVoiceLocked(Action action);
    template <typename Action>
    void forEachMusicLocked(Action action);

    platform::HWAVEOUT device_ = nullptr;
    platform::WAVEFORMATEX format_;
    platform::WAVEHDR headers_[kBufferCount];
    std::thread thread_;
    platform::ThreadMessageQueue messages_;  // the mixing thread's queue; the device posts here
    std::mutex lock_;
    ThreadEvent stopEvent_;
    ThreadEvent doneEvent_;
    ThreadEvent runEvent_;  // clear while the mixing thread is held (created suspended, paused)
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
