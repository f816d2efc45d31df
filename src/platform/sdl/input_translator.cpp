#include "platform/sdl/input_translator.h"

#include <algorithm>
#include <utility>

#include "platform/sdl/key_bindings.h"

namespace platform::sdl {

namespace {

constexpr SDL_JoystickID kKeyboard = -1;
// Stick directions share a gamepad's codes with its buttons, above them.
constexpr int kStickLeft = SDL_CONTROLLER_BUTTON_MAX;
constexpr int kStickRight = SDL_CONTROLLER_BUTTON_MAX + 1;

}  // namespace

InputTranslator::InputTranslator(Post post) : post_(std::move(post)) {}

WindowRequest InputTranslator::handle(const SDL_Event& event) {
    switch (event.type) {
    case SDL_QUIT:  // the window system, or SIGINT / SIGTERM
        postClose();
        return WindowRequest::None;
    case SDL_KEYDOWN: return keyDown(event.key);
    case SDL_KEYUP: release(kKeyboard, event.key.keysym.scancode); return WindowRequest::None;
    case SDL_CONTROLLERBUTTONDOWN: {
        const int virtualKey = VirtualKeyForButton(static_cast<SDL_GameControllerButton>(event.cbutton.button));
        if (virtualKey != 0) {
            press(event.cbutton.which, event.cbutton.button, virtualKey);
            post_({InputEvent::Kind::KeyDown, virtualKey});
        }
        return WindowRequest::None;
    }
    case SDL_CONTROLLERBUTTONUP: release(event.cbutton.which, event.cbutton.button); return WindowRequest::None;
    case SDL_CONTROLLERAXISMOTION:
        if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) stickMoved(event.caxis.which, event.caxis.value);
        return WindowRequest::None;
    case SDL_CONTROLLERDEVICEREMOVED: releaseDevice(event.cdevice.which); return WindowRequest::None;
    case SDL_WINDOWEVENT: return windowEvent(event.window);
    default: return WindowRequest::None;
    }
}

bool InputTranslator::keyHeld(int virtualKey) const {
    return std::any_of(held_.begin(), held_.end(), [&](const Held& h) { return h.virtualKey == virtualKey; });
}

WindowRequest InputTranslator::keyDown(const SDL_KeyboardEvent& key) {
    if (IsFullScreenToggle(key.keysym.sym, key.keysym.mod))
        return key.repeat ? WindowRequest::None : WindowRequest::ToggleFullScreen;
    // Desktop: F12 and Print Screen save the picture; the game never sees them.
    if (key.keysym.sym == SDLK_F12 || key.keysym.sym == SDLK_PRINTSCREEN)
        return key.repeat ? WindowRequest::None : WindowRequest::Screenshot;
    const KeyBinding binding = BindingForKey(key.keysym.sym);
    if (binding.virtualKey == 0 || (key.repeat && !binding.repeats)) return WindowRequest::None;
    press(kKeyboard, key.keysym.scancode, binding.virtualKey);
    post_({InputEvent::Kind::KeyDown, binding.virtualKey});
    return WindowRequest::None;
}

void InputTranslator::stickMoved(SDL_JoystickID device, Sint16 value) {
    const int direction = value <= -kStickThreshold ? kStickLeft : value >= kStickThreshold ? kStickRight : 0;
    if (direction != kStickLeft) release(device, kStickLeft);
    if (direction != kStickRight) release(device, kStickRight);
    if (direction == 0 || isHeld(device, direction)) return;
    const int virtualKey = direction == kStickLeft ? VK_LEFT : VK_RIGHT;
    press(device, direction, virtualKey);
    post_({InputEvent::Kind::KeyDown, virtualKey});
}

WindowRequest InputTranslator::windowEvent(const SDL_WindowEvent& window) {
    switch (window.event) {
    case SDL_WINDOWEVENT_CLOSE: postClose(); return WindowRequest::None;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        // Keys released while another window has the keyboard are never
        // reported, so none counts as held any more.
        releaseDevice(kKeyboard);
        post_({InputEvent::Kind::FocusLost, 0});
        return WindowRequest::None;
    case SDL_WINDOWEVENT_FOCUS_GAINED: post_({InputEvent::Kind::FocusGained, 0}); return WindowRequest::None;
    case SDL_WINDOWEVENT_EXPOSED: return WindowRequest::Redraw;
    case SDL_WINDOWEVENT_SIZE_CHANGED: return WindowRequest::Redraw;
    default: return WindowRequest::None;
    }
}

void InputTranslator::press(SDL_JoystickID device, int code, int virtualKey) {
    for (Held& h : held_)
        if (h.device == device && h.code == code) {
            h.virtualKey = virtualKey;
            return;
        }
    held_.push_back({device, code, virtualKey});
}

bool InputTranslator::isHeld(SDL_JoystickID device, int code) const {
    return std::any_of(held_.begin(), held_.end(), [&](const Held& h) { return h.device == device && h.code == code; });
}

void InputTranslator::release(SDL_JoystickID device, int code) {
    releaseWhere([&](const Held& h) { return h.device == device && h.code == code; });
}

void InputTranslator::releaseDevice(SDL_JoystickID device) {
    releaseWhere([&](const Held& h) { return h.device == device; });
}

void InputTranslator::releaseWhere(const std::function<bool(const Held&)>& released) {
    std::vector<Held> ended;
    std::erase_if(held_, [&](const Held& h) { return released(h) && (ended.push_back(h), true); });
    for (const Held& h : ended) post_({InputEvent::Kind::KeyUp, h.virtualKey});
}

void InputTranslator::postClose() {
    // The close box brings both a window close and a quit event; the program
    // needs one close request.
    if (closePosted_) return;
    closePosted_ = true;
    post_({InputEvent::Kind::Close, 0});
}

}  // namespace platform::sdl
