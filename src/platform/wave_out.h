// Wave output: the few waveOut calls the sound engine makes, with the
// platform's names, over the active backend's device (headless: a capture
// that plays in step with the virtual clock; sdl: the desktop's audio).
//
// A device plays the buffers written to it one after the other and hands
// each one back, when it has played, as MM_WOM_DONE (lParam = the WAVEHDR)
// posted to the ThreadMessageQueue given to waveOutOpen.
//
// The engine calls these from the main thread (open, pause, restart, reset,
// close) and from its mixing thread (prepare, write, unprepare).
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>

namespace platform {

// The thread message that carries a played buffer back to the mixing thread.
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
struct MSG {
    void* hwnd = nullptr;
    std::uint32_t message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

using MMRESULT = std::uint32_t;
constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMSYSERR_ERROR = 1;
constexpr MMRESULT MMSYSERR_BADDEVICEID = 2;
constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
constexpr MMRESULT WAVERR_BADFORMAT = 32;
constexpr MMRESULT WAVERR_STILLPLAYING = 33;
constexpr MMRESULT WAVERR_UNPREPARED = 34;

constexpr std::uint32_t MM_WOM_DONE = 0x3BD;
constexpr std::uint32_t CALLBACK_THREAD = 0x00020000;
constexpr std::uint16_t WAVE_FORMAT_PCM = 1;

constexpr std::uint32_t WHDR_DONE = 0x01;
constexpr std::uint32_t WHDR_PREPARED = 0x02;
constexpr std::uint32_t WHDR_INQUEUE = 0x10;

struct WAVEFORMATEX {
    std::uint16_t wFormatTag = 0;
    std::uint16_t nChannels = 0;
    std::uint32_t nSamplesPerSec = 0;
    std::uint32_t nAvgBytesPerSec = 0;
    std::uint16_t nBlockAlign = 0;
    std::uint16_t wBitsPerSample = 0;
    std::uint16_t cbSize = 0;
};

struct WAVEHDR {
    std::uint8_t* lpData = nullptr;
    std::uint32_t dwBufferLength = 0;  // bytes
    std::uint32_t dwBytesRecorded = 0;
    std::uintptr_t dwUser = 0;
    std::uint32_t dwFlags = 0;
    std::uint32_t dwLoops = 0;
    WAVEHDR* lpNext = nullptr;
    std::uintptr_t reserved = 0;
};

// A thread's message queue, the callback target of a device. Fixed capacity:
// posting never allocates; a post to a full queue is dropped and reported.
class ThreadMessageQueue {
public:
    // Any thread. False when the queue is full.
    bool post(std::uint32_t message, WPARAM wParam, LPARAM lParam);
    // The owning thread: takes the oldest message, false when there is none.
    bool peek(MSG* msg);
    // The owning thread: waits until a message is waiting, at most `ms`
    // milliseconds of real time.
    void waitForMessage(std::uint32_t ms);
    void clear();

private:
    static constexpr std::size_t kCapacity = 32;
    std::mutex mutex_;
    std::condition_variable arrived_;
    MSG messages_[kCapacity];
    std::size_t head_ = 0;
    std::size_t count_ = 0;
};

// What a backend's sound device does beneath the waveOut calls. At most one
// stream is open at a time.
class WaveDevice {
public:
    virtual ~WaveDevice() = default;
    virtual std::uint32_t deviceCount() = 0;
    // Opened paused or playing as the platform's device is: playing.
    virtual MMRESULT open(const WAVEFORMATEX& format, ThreadMessageQueue* callback) = 0;
    // Queues a prepared header behind those already written.
    virtual MMRESULT write(WAVEHDR* header) = 0;
    virtual MMRESULT pause() = 0;
    virtual MMRESULT restart() = 0;
    // Stops playing and hands every queued buffer back at once.
    virtual MMRESULT reset() = 0;
    virtual MMRESULT close() = 0;
};

using HWAVEOUT = WaveDevice*;

// The device the waveOut calls reach; set by the backend, null for none.
void SetWaveDevice(WaveDevice* device);

std::uint32_t waveOutGetNumDevs();
// `callback` must be a ThreadMessageQueue and `flags` CALLBACK_THREAD; only
// 8-bit PCM with one or two channels is accepted.
MMRESULT waveOutOpen(HWAVEOUT* device, std::uint32_t deviceId, const WAVEFORMATEX* format, ThreadMessageQueue* callback,
                     std::uintptr_t instance, std::uint32_t flags);
MMRESULT waveOutPrepareHeader(HWAVEOUT device, WAVEHDR* header, std::uint32_t headerSize);
MMRESULT waveOutUnprepareHeader(HWAVEOUT device, WAVEHDR* header, std::uint32_t headerSize);
MMRESULT waveOutWrite(HWAVEOUT device, WAVEHDR* header, std::uint32_t headerSize);
MMRESULT waveOutPause(HWAVEOUT device);
MMRESULT waveOutRestart(HWAVEOUT device);
MMRESULT waveOutReset(HWAVEOUT device);
MMRESULT waveOutClose(HWAVEOUT device);

}  // namespace platform
