#include "platform/web/web_platform.h"

namespace platform::web {

PageBackend::PageBackend(Overlay& overlay)
    : overlay_(overlay),
      pixels_(static_cast<std::size_t>(kScreenWidth) * kScreenHeight),
      rgba_(static_cast<std::size_t>(kScreenWidth) * kScreenHeight * 4, 0) {
    for (std::size_t i = 3; i < rgba_.size(); i += 4) rgba_[i] = 255;
    makeActive();
}

void PageBackend::key(int vk, bool down) {
    // A key that is already down repeats only when the page says so again,
    // which is what a held key does on the desktop.
    if (down)
        held_.insert(vk);
    else
        held_.erase(vk);
    events_.push_back(InputEvent{down ? InputEvent::Kind::KeyDown : InputEvent::Kind::KeyUp, vk});
}

void PageBackend::focus(bool active) {
    // A page that loses focus no longer hears its keys go up.
    if (!active) held_.clear();
    events_.push_back(InputEvent{active ? InputEvent::Kind::FocusGained : InputEvent::Kind::FocusLost, 0});
}

void PageBackend::present(bool changed) {
    if (!changed) return;
    for (std::size_t i = 0; i < pixels_.size(); ++i) NativeToRgb(pixels_[i], kFormat565, &rgba_[i * 4]);
}

void PageBackend::passEnded(const PassReport& report) {
    overlay_.report(pageMs_, report.volume, report.maxVolume, report.onTitle);
}

const std::uint8_t* PageBackend::overlayRgba(std::uint32_t pageMs) {
    if (!overlay_.visible(pageMs)) return nullptr;
    overlay_.paint(pageMs, *picture_);
    overlayRgba_.assign(picture_->ink.size() * 4, 0);
    for (std::size_t i = 0; i < picture_->ink.size(); ++i) {
        const OverlayInk ink = picture_->ink[i];
        if (ink == OverlayInk::None) continue;
        const OverlayColour& colour = kOverlayColours[static_cast<std::size_t>(ink)];
        std::uint8_t* pixel = &overlayRgba_[i * 4];
        pixel[0] = colour.red;
        pixel[1] = colour.green;
        pixel[2] = colour.blue;
        pixel[3] = 255;
    }
    return overlayRgba_.data();
}

bool PulledAudioOut::open(const AudioFormat&, AudioSource&) {
    if (open_) return false;
    open_ = true;
    playing_ = false;  // opened paused
    return true;
}

}  // namespace platform::web
