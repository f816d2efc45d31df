// One channel of the sound engine: the base of the sample voices and the
// music channels. The single-channel operations write one word or one byte
// without the engine lock; the mixing thread sees the change at its next frame.
#pragma once

#include <atomic>
#include <cstdint>

class Channel {
public:
    Channel() = default;
    virtual ~Channel() = default;
    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;

    // Out-of-range values become 64; effectiveVolume = master * v >> 6.
    virtual void setVolume(int v);
    // Out-of-range values become 255. 0 full left, 128 centre, 255 full right.
    virtual void setPan(int p);

    // The volume used in mixing: master * own volume >> 6.
    std::uint32_t volume() const { return effectiveVolume; }
    // The channel's own volume, 0..64, as last given to setVolume.
    std::uint32_t ownVolume() const { return volume_; }
    void setLoop(bool on) { loop_ = on; }
    bool loop() const { return loop_; }
    std::uint32_t pan() const { return pan_; }

    // Frees the channel: the mixer leaves it alone from its next frame on.
    void stop();
    void pause();
    void resume();
    bool isPlaying() const { return !paused_ && !stopped_; }
    bool isStopped() const { return stopped_; }
    bool isPaused() const { return paused_; }
    // Used by the play operations, under the engine lock: playing from now on.
    void begin();

    // The engine's master volume of this channel's kind; set by SoundSystem::start.
    const std::atomic<std::uint32_t>* masterVolume = nullptr;

protected:
    std::uint32_t volume_ = 0;  // 0..64, the channel's own
    std::atomic<std::uint32_t> effectiveVolume{0};
    std::atomic<std::uint32_t> pan_{0};
    std::atomic<bool> loop_{false};
    std::atomic<bool> paused_{false};
    std::atomic<bool> stopped_{true};
};
