// Audio out: a device that plays 8-bit unsigned PCM (128 is silence; in
// stereo each frame is the left byte, then the right), pulling it buffer by
// buffer from the source that opened it; the source keeps the buffers and
// fills them again once played. Implementations: sdl, headless (in step with
// the virtual clock), web (pulled by the page) and null (no device).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace platform {

struct AudioFormat {
    std::uint32_t rate = 0;      // frames per second
    std::uint16_t channels = 1;  // 1 or 2
};

// What an open device plays. Every call comes from the device's own thread
// (SDL's audio thread; the headless device calls from inside the virtual
// clock, on the main thread) and must not wait for long.
class AudioSource {
public:
    virtual ~AudioSource() = default;
    // The next buffer in play order, or an empty span when none is ready yet
    // (the device then plays silence). The bytes stay as they are until
    // release().
    virtual std::span<const std::uint8_t> nextBuffer() = 0;
    // The buffer nextBuffer() gave has been played, or copied out whole; the
    // source may fill it again.
    virtual void release() = 0;
    // How many buffers are ready, the one nextBuffer() gives included.
    virtual std::size_t readyCount() = 0;
    // Waits until every released buffer has been filled again, or the source
    // has stopped filling. For a device whose clock stands still meanwhile.
    virtual void awaitRefill() = 0;
};

class AudioOut {
public:
    virtual ~AudioOut() = default;
    // Frames per buffer that a source should use at `rate`, given the length
    // its own rules give (`ruleFrames`). The device's choice, so that a
    // desktop can answer sooner.
    virtual std::uint32_t bufferFrames(std::uint32_t rate, std::uint32_t ruleFrames) const {
        (void)rate;
        return ruleFrames;
    }
    // Opens the device, paused, to play from `source`, which must outlive the
    // close(). False when there is no device or one is open already. These
    // four are called from one thread (the main thread).
    virtual bool open(const AudioFormat& format, AudioSource& source) = 0;
    // Stops and restarts the play; what has been pulled keeps its place.
    virtual void pause() = 0;
    virtual void resume() = 0;
    // Stops playing: once it returns the source is never called again.
    virtual void close() = 0;
    // Called once by the thread that fills the source's buffers, as it
    // starts: gives it a priority near the device's own audio thread where
    // the system allows it, so that a busy machine does not starve it.
    virtual void promoteFillingThread() {}
    // Frames the device itself holds between taking sound and playing it,
    // once open (0 for a device that plays as it takes); main thread.
    virtual std::uint32_t deviceBufferFrames() const { return 0; }
    // Times the device found no buffer ready while it played; any thread.
    virtual std::uint64_t underruns() const { return 0; }
};

// The device used by the sound engine; the null device (no device at all)
// until one is set. The caller keeps ownership; null restores the null device.
void SetActiveAudioOut(AudioOut* out);
AudioOut& ActiveAudioOut();

}  // namespace platform
