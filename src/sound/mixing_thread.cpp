// The mixing thread: refills each buffer the device hands back and queues it
// again, so the device always has sound to play.
#include "sound/mixer.h"
#include "sound/sound_system.h"

using namespace platform;

namespace {

// Between rounds of message taking the thread waits at most this long; a
// message that arrives ends the wait at once.
constexpr std::uint32_t kWaitMs = 5;

}  // namespace

void SoundSystem::mixingThreadMain() {
    runEvent_.wait();
    for (;;) {
        messages_.waitForMessage(kWaitMs);
        if (stopEvent_.isSet()) break;
        if (!runEvent_.isSet()) {
            // Paused: held here, between two buffers, until resumed.
            runEvent_.wait();
            continue;
        }
        MSG msg;
        while (messages_.peek(&msg)) {
            if (msg.message != MM_WOM_DONE) continue;
            auto* header = reinterpret_cast<WAVEHDR*>(msg.lParam);
            if (header == nullptr) break;
            refill(header);
        }
    }
    doneEvent_.set();
}

void SoundSystem::refill(WAVEHDR* header) {
    current_ = header->lpData;
    renderBuffer(current_, bufferFrames_);
    waveOutUnprepareHeader(device_, header, sizeof *header);
    *header = WAVEHDR{};
    header->lpData = current_;
    header->dwBufferLength = bufferFrames_ << stereo_;
    waveOutPrepareHeader(device_, header, sizeof *header);
    waveOutWrite(device_, header, sizeof *header);
}

void SoundSystem::renderBuffer(std::uint8_t* out, std::uint32_t frames) {
    std::lock_guard<std::mutex> hold(lock_);
    RenderFrames(out, frames, ChannelPools{music_.get(), musicCount_, voices_.get(), voiceCount_}, stereo_ != 0);
}
