// The sound engine: the wave-output device, five output buffers in rotation,
// a mixing thread that refills each buffer as the device hands it back, up to
// three music channels and 8 to 64 sample voices, and two master volumes.
//
// Every operation is called from the main thread. Handles name channels in
// one sequence, music channels first; 65535 names none.
#pragma once

#include <cstdint>

#include "sound/channel.h"

class Sample;

constexpr std::uint32_t kNoChannel = 65535;

class SoundSystem {
public:
    SoundSystem();
    ~SoundSystem();  // shuts down
    SoundSystem(const SoundSystem&) = delete;
    SoundSystem& operator=(const SoundSystem&) = delete;

    // 1 when the device plays; 0 on any failure or when already started.
    int start(std::uint32_t rate, std::uint32_t musicChannels, std::uint32_t voices, std::uint8_t stereo);
    int start(std::uint32_t rate, std::uint8_t stereo);
    int shutdown();
    void pause();
    void resume();

    void setSampleVolume(int v);  // out of range: 64
    void setMusicVolume(int v);
    std::uint32_t sampleVolume() const;
    std::uint32_t musicVolume() const;

    Channel* channelAt(std::uint32_t handle);
    std::uint32_t musicChannelCount() const;
    std::uint32_t voiceCount() const;
    std::uint32_t playingMusicCount() const;
    std::uint32_t playingVoiceCount() const;

    // Starts a sample on the first free voice; its handle, or 65535.
    std::uint32_t playSample(const Sample& sample);
    void stopAllVoices();
    void pauseAllVoices();
    void resumeAllVoices();

    bool started() const;
};
