#include "platform/web/web_platform.h"

#include "platform/frame_pixels.h"

namespace platform::web {

void PageInput::key(int vk, bool down) {
    // A key that is already down repeats only when the page says so again,
    // which is what a held key does on the desktop.
    if (down)
        held_.insert(vk);
    else
        held_.erase(vk);
    events_.push_back(InputEvent{down ? InputEvent::Kind::KeyDown : InputEvent::Kind::KeyUp, vk});
}

void PageInput::focus(bool active) {
    // A page that loses focus no longer hears its keys go up.
    if (!active) held_.clear();
    events_.push_back(InputEvent{active ? InputEvent::Kind::FocusGained : InputEvent::Kind::FocusLost, 0});
}

bool PageInput::takeEvent(InputEvent& event) {
    if (events_.empty()) return false;
    event = events_.front();
    events_.pop_front();
    return true;
}

CanvasFrame::CanvasFrame()
    : pixels_(static_cast<std::size_t>(kScreenWidth) * kScreenHeight),
      rgba_(static_cast<std::size_t>(kScreenWidth) * kScreenHeight * 4, 0) {
    for (std::size_t i = 3; i < rgba_.size(); i += 4) rgba_[i] = 255;
}

FrameGeometry CanvasFrame::geometry() { return GeometryFor(FrameLayout::Normal, kFormat565); }

void CanvasFrame::present(bool changed) {
    if (!changed) return;
    const std::uint32_t format = geometry().format;
    for (std::size_t i = 0; i < pixels_.size(); ++i) NativeToRgb(pixels_[i], format, &rgba_[i * 4]);
}

void PageDesktop::passEnded(const PassReport& report) {
    overlay_.report(pageMs_, report.volume, report.maxVolume, report.onTitle);
}

const std::uint8_t* PageDesktop::overlayRgba(std::uint32_t pageMs) {
    if (!overlay_.visible(pageMs)) return nullptr;
    overlay_.paint(pageMs, *picture_);
    rgba_.assign(picture_->ink.size() * 4, 0);
    for (std::size_t i = 0; i < picture_->ink.size(); ++i) {
        const sdl::OverlayInk ink = picture_->ink[i];
        if (ink == sdl::OverlayInk::None) continue;
        const sdl::OverlayColour& colour = sdl::kOverlayColours[static_cast<std::size_t>(ink)];
        std::uint8_t* pixel = &rgba_[i * 4];
        pixel[0] = colour.red;
        pixel[1] = colour.green;
        pixel[2] = colour.blue;
        pixel[3] = 255;
    }
    return rgba_.data();
}

bool PulledAudioOut::open(const AudioFormat&, AudioSource&) {
    if (open_) return false;
    open_ = true;
    playing_ = false;  // opened paused
    return true;
}

}  // namespace platform::web
