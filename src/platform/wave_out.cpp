// The waveOut calls, checked and handed to the active backend's device.
#include "platform/wave_out.h"

#include <chrono>

namespace platform {

bool ThreadMessageQueue::post(std::uint32_t message, WPARAM wParam, LPARAM lParam) {
    {
        std::lock_guard<std::mutex> hold(mutex_);
        if (count_ == kCapacity) return false;
        MSG& slot = messages_[(head_ + count_) % kCapacity];
        slot = MSG{nullptr, message, wParam, lParam};
        ++count_;
    }
    arrived_.notify_one();
    return true;
}

bool ThreadMessageQueue::peek(MSG* msg) {
    std::lock_guard<std::mutex> hold(mutex_);
    if (count_ == 0) return false;
    *msg = messages_[head_];
    head_ = (head_ + 1) % kCapacity;
    --count_;
    return true;
}

void ThreadMessageQueue::waitForMessage(std::uint32_t ms) {
    std::unique_lock<std::mutex> hold(mutex_);
    arrived_.wait_for(hold, std::chrono::milliseconds(ms), [this] { return count_ > 0; });
}

void ThreadMessageQueue::clear() {
    std::lock_guard<std::mutex> hold(mutex_);
    head_ = count_ = 0;
}

namespace {

WaveDevice* activeDevice = nullptr;
WaveDevice* backendDevice() { return activeDevice; }

bool acceptable(const WAVEFORMATEX& f) {
    return f.wFormatTag == WAVE_FORMAT_PCM && (f.nChannels == 1 || f.nChannels == 2) && f.wBitsPerSample == 8 &&
           f.nBlockAlign == f.nChannels && f.nSamplesPerSec > 0;
}

}  // namespace

void SetWaveDevice(WaveDevice* device) { activeDevice = device; }

std::uint32_t waveOutGetNumDevs() {
    WaveDevice* device = backendDevice();
    return device ? device->deviceCount() : 0;
}

MMRESULT waveOutOpen(HWAVEOUT* device, std::uint32_t deviceId, const WAVEFORMATEX* format, ThreadMessageQueue* callback,
                     std::uintptr_t /*instance*/, std::uint32_t flags) {
    if (device == nullptr || format == nullptr || callback == nullptr || flags != CALLBACK_THREAD)
        return MMSYSERR_INVALPARAM;
    WaveDevice* chosen = backendDevice();
    if (chosen == nullptr || deviceId >= chosen->deviceCount()) return MMSYSERR_BADDEVICEID;
    if (!acceptable(*format)) return WAVERR_BADFORMAT;
    MMRESULT result = chosen->open(*format, callback);
    *device = result == MMSYSERR_NOERROR ? chosen : nullptr;
    return result;
}

MMRESULT waveOutPrepareHeader(HWAVEOUT device, WAVEHDR* header, std::uint32_t headerSize) {
    if (device == nullptr) return MMSYSERR_INVALHANDLE;
    if (header == nullptr || headerSize < sizeof(WAVEHDR) || header->lpData == nullptr) return MMSYSERR_INVALPARAM;
    header->dwFlags |= WHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT waveOutUnprepareHeader(HWAVEOUT device, WAVEHDR* header, std::uint32_t headerSize) {
    if (device == nullptr) return MMSYSERR_INVALHANDLE;
    if (header == nullptr || headerSize < sizeof(WAVEHDR)) return MMSYSERR_INVALPARAM;
    if (header->dwFlags & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
    header->dwFlags &= ~WHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT waveOutWrite(HWAVEOUT device, WAVEHDR* header, std::uint32_t headerSize) {
    if (device == nullptr) return MMSYSERR_INVALHANDLE;
    if (header == nullptr || headerSize < sizeof(WAVEHDR)) return MMSYSERR_INVALPARAM;
    if (!(header->dwFlags & WHDR_PREPARED)) return WAVERR_UNPREPARED;
    if (header->dwFlags & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
    header->dwFlags = (header->dwFlags & ~WHDR_DONE) | WHDR_INQUEUE;
    return device->write(header);
}

MMRESULT waveOutPause(HWAVEOUT device) { return device ? device->pause() : MMSYSERR_INVALHANDLE; }
MMRESULT waveOutRestart(HWAVEOUT device) { return device ? device->restart() : MMSYSERR_INVALHANDLE; }
MMRESULT waveOutReset(HWAVEOUT device) { return device ? device->reset() : MMSYSERR_INVALHANDLE; }
MMRESULT waveOutClose(HWAVEOUT device) { return device ? device->close() : MMSYSERR_INVALHANDLE; }

}  // namespace platform
