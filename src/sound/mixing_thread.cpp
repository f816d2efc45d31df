// The mixing thread: fills each buffer again as soon as the device has played
// it, so that the device always finds sound ready. The device takes the
// buffers straight from the rotation, on its own thread.
#include "platform/sound_timeline.h"
#include "sound/mixer.h"
#include "sound/sound_system.h"

void SoundSystem::mixingThreadMain() {
    std::unique_lock<std::mutex> hold(ringMutex_);
    for (;;) {
        // Held here, between two buffers, while paused or while all are ready.
        ringChanged_.wait(hold, [this] { return stopping_ || (running_ && readySlots_ < kBufferCount); });
        if (stopping_) break;
        platform::NoteSoundStep(platform::SoundStep::MixWake, readySlots_);
        const std::uint32_t slot = (playSlot_ + readySlots_) % kBufferCount;
        current_ = slots_[slot].data;
        hold.unlock();
        renderBuffer(current_, bufferFrames_);
        platform::NoteSoundStep(platform::SoundStep::MixRendered);
        hold.lock();
        slots_[slot].bytes = bufferFrames_ << stereo_;
        ++readySlots_;
        ringChanged_.notify_all();
    }
}

void SoundSystem::refillReleased() {
    while (!stopping_ && running_ && readySlots_ < kBufferCount) {
        const std::uint32_t slot = (playSlot_ + readySlots_) % kBufferCount;
        current_ = slots_[slot].data;
        renderBuffer(current_, bufferFrames_);
        slots_[slot].bytes = bufferFrames_ << stereo_;
        ++readySlots_;
    }
}

void SoundSystem::renderBuffer(std::uint8_t* out, std::uint32_t frames) {
    std::lock_guard<std::mutex> hold(lock_);
    platform::NoteSoundStep(platform::SoundStep::MixLocked);
    RenderFrames(out, frames, ChannelPools{music_.get(), musicCount_, voices_.get(), voiceCount_}, stereo_ != 0);
}

std::span<const std::uint8_t> SoundSystem::nextBuffer() {
    std::lock_guard<std::mutex> hold(ringMutex_);
    if (readySlots_ == 0) return {};
    const Slot& slot = slots_[playSlot_];
    return {slot.data, slot.bytes};
}

void SoundSystem::release() {
    {
        std::lock_guard<std::mutex> hold(ringMutex_);
        if (readySlots_ == 0) return;
        playSlot_ = (playSlot_ + 1) % kBufferCount;
        --readySlots_;
    }
    ringChanged_.notify_all();
}

std::size_t SoundSystem::readyCount() {
    std::lock_guard<std::mutex> hold(ringMutex_);
    return readySlots_;
}

void SoundSystem::awaitRefill() {
    if constexpr (kDeviceMixes) {
        refillReleased();
        return;
    }
    std::unique_lock<std::mutex> hold(ringMutex_);
    ringChanged_.wait(hold, [this] { return readySlots_ == kBufferCount || stopping_ || !running_; });
}
