#include "sound/channel.h"

void Channel::setVolume(int v) {
    if (v < 0 || v > 64) v = 64;
    volume_ = static_cast<std::uint32_t>(v);
    const std::uint32_t master = masterVolume ? masterVolume->load(std::memory_order_relaxed) : 0;
    effectiveVolume = (master * volume_) >> 6;
}

void Channel::setPan(int p) {
    if (p < 0 || p > 255) p = 255;
    pan_ = static_cast<std::uint32_t>(p);
}

void Channel::stop() {
    // FIX: stopping frees the channel even when it was paused; a paused flag
    // left behind would keep it from ever being chosen again.
    stopped_ = true;
    paused_ = false;
}

void Channel::pause() {
    if (!stopped_) paused_ = true;
}

void Channel::resume() {
    if (!stopped_) paused_ = false;
}

void Channel::begin() {
    paused_ = false;
    stopped_ = false;
}
