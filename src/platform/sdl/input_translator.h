// Turns the desktop's input and window events into the program's input
// events and held keys.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include <SDL.h>

#include "platform/input.h"

namespace platform::sdl {

// What the desktop window itself must do after an event.
enum class WindowRequest { None, ToggleFullScreen, Redraw, Screenshot };

class InputTranslator {
public:
    // Receives every input event meant for the program, in order.
    using Post = std::function<void(const InputEvent& event)>;
    explicit InputTranslator(Post post);

    WindowRequest handle(const SDL_Event& event);

    // Whether any key, button or stick direction that stands for
    // `virtualKey` is held down.
    bool keyHeld(int virtualKey) const;

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
    void releaseWhere(const std::function<bool(const Held&)>& released);
    void postClose();

    Post post_;
    std::vector<Held> held_;
    bool closePosted_ = false;
};

}  // namespace platform::sdl
