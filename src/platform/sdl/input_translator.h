// Turns the desktop's input and window events into the program's window
// messages and asynchronous key states.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include <SDL.h>

#include "platform/platform.h"

namespace platform::sdl {

// What the desktop window itself must do after an event.
enum class WindowRequest { None, ToggleFullScreen, Redraw };

class InputTranslator {
public:
    // Receives every message meant for the program's window (PostMessage).
    using Post = std::function<void(std::uint32_t message, WPARAM wParam)>;
    explicit InputTranslator(Post post);

    WindowRequest handle(const SDL_Event& event);

    // 0x8000 while any key, button or stick direction that stands for
    // `virtualKey` is held down, 0 otherwise.
    std::int16_t keyState(int virtualKey) const;

private:
    // One held key: the keyboard (device -1) and a scancode, or a gamepad
    // and a button or stick direction.
    struct Held {
        SDL_JoystickID device;
        int code;
        int virtualKey;
    };

    WindowRequest keyDown(const SDL_KeyboardEvent& key);
    void stickMoved(SDL_JoystickID device, Sint16 value);
    WindowRequest windowEvent(const SDL_WindowEvent& window);
    void press(SDL_JoystickID device, int code, int virtualKey);
    bool isHeld(SDL_JoystickID device, int code) const;
    void release(SDL_JoystickID device, int code);
    void releaseDevice(SDL_JoystickID device);
    void postClose();

    Post post_;
    std::vector<Held> held_;
    bool closePosted_ = false;
};

}  // namespace platform::sdl
