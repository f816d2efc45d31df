// Desktop keys, gamepad and window events as the program's input events and
// held keys.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/sdl/input_translator.h"
#include "platform/sdl/key_bindings.h"
#include "shell/key_bindings.h"

using namespace platform;
using namespace platform::sdl;

namespace {

using Kind = InputEvent::Kind;
using Posted = std::vector<std::pair<Kind, int>>;
constexpr SDL_JoystickID kPad = 3;

SDL_Event Event(Uint32 type) {
    SDL_Event e{};
    e.type = type;
    return e;
}

struct Desktop {
    Desktop() { UseBindings(DefaultBindings()); }
    Posted posted;
    InputTranslator input{[this](const InputEvent& e) { posted.emplace_back(e.kind, e.key); }};

    // Keys get distinct scancodes: the scancode inside a special keycode,
    // the character itself for the others.
    WindowRequest key(Uint32 type, SDL_Keycode key, bool repeat = false, Uint16 modifiers = KMOD_NONE) {
        SDL_Event e = Event(type);
        e.key.keysym.sym = key;
        e.key.keysym.scancode = static_cast<SDL_Scancode>((key & SDLK_SCANCODE_MASK) ? key & ~SDLK_SCANCODE_MASK : key);
        e.key.keysym.mod = modifiers;
        e.key.repeat = repeat ? 1 : 0;
        return input.handle(e);
    }
    WindowRequest down(SDL_Keycode k, bool repeat = false, Uint16 mods = KMOD_NONE) {
        return key(SDL_KEYDOWN, k, repeat, mods);
    }
    void up(SDL_Keycode k) { key(SDL_KEYUP, k); }
    void button(Uint32 type, SDL_GameControllerButton b) {
        SDL_Event e = Event(type);
        e.cbutton.which = kPad;
        e.cbutton.button = static_cast<Uint8>(b);
        input.handle(e);
    }
    void stick(Sint16 x) {
        SDL_Event e = Event(SDL_CONTROLLERAXISMOTION);
        e.caxis.which = kPad;
        e.caxis.axis = SDL_CONTROLLER_AXIS_LEFTX;
        e.caxis.value = x;
        input.handle(e);
    }
    WindowRequest window(Uint8 event) {
        SDL_Event e = Event(SDL_WINDOWEVENT);
        e.window.event = event;
        return input.handle(e);
    }
    bool held(int vk) const { return input.keyHeld(vk); }
    Posted take() { return std::exchange(posted, {}); }
};

Posted keyDown(int vk) { return {{Kind::KeyDown, vk}}; }
Posted keyUp(int vk) { return {{Kind::KeyUp, vk}}; }

}  // namespace

// Which keys stand for which device key is the key bindings' test; here, how
// a key's press and release reach the program, that a key without a binding
// does not, and that auto-repeat reaches it for every key but P.
TEST(SdlInput, AKeyPostsItsDownsAndUpAndIsHeldWhileAnyOfItsKeysIsDown) {
    Desktop d;
    for (SDL_Keycode key : {SDLK_LEFT, SDLK_KP_4, SDLK_F1}) {
        d.down(key);
        d.down(key, true);
        EXPECT_EQ(d.take(), (Posted{{Kind::KeyDown, VK_LEFT}, {Kind::KeyDown, VK_LEFT}})) << SDL_GetKeyName(key);
        EXPECT_TRUE(d.held(VK_LEFT));
        d.up(key);
        EXPECT_EQ(d.take(), keyUp(VK_LEFT)) << SDL_GetKeyName(key);
        EXPECT_FALSE(d.held(VK_LEFT));
    }
    d.down(SDLK_SPACE);
    d.down(SDLK_F9);
    d.up(SDLK_SPACE);
    EXPECT_TRUE(d.held(VK_F9));
    d.up(SDLK_F9);
    EXPECT_FALSE(d.held(VK_F9));
    d.take();
    d.down(SDLK_a);
    EXPECT_TRUE(d.take().empty());
    d.down(SDLK_p);
    d.down(SDLK_p, true);
    EXPECT_EQ(d.take(), keyDown(VK_F10));
}

// Desktop: F12 and Print Screen take one picture a press, F11 and Alt+Enter
// toggle full screen once a press; the game never sees them.
TEST(SdlInput, WindowKeysAskTheWindowOnceAPressAndNeverReachTheGame) {
    Desktop d;
    EXPECT_EQ(d.down(SDLK_F12), WindowRequest::Screenshot);
    EXPECT_EQ(d.down(SDLK_PRINTSCREEN), WindowRequest::Screenshot);
    EXPECT_EQ(d.down(SDLK_F12, true), WindowRequest::None) << "holding the key takes one picture";
    EXPECT_EQ(d.down(SDLK_F11), WindowRequest::ToggleFullScreen);
    EXPECT_EQ(d.down(SDLK_F11, true), WindowRequest::None);
    EXPECT_EQ(d.down(SDLK_RETURN, false, KMOD_LALT), WindowRequest::ToggleFullScreen);
    EXPECT_EQ(d.down(SDLK_KP_ENTER, true, KMOD_RALT), WindowRequest::None);
    EXPECT_TRUE(d.take().empty());
    EXPECT_FALSE(d.held(VK_RETURN));
}

TEST(SdlInput, WindowEventsBecomeFocusAndCloseEvents) {
    Desktop d;
    d.down(SDLK_LEFT);
    d.take();
    EXPECT_EQ(d.window(SDL_WINDOWEVENT_FOCUS_LOST), WindowRequest::None);
    EXPECT_EQ(d.take(), (Posted{{Kind::KeyUp, VK_LEFT}, {Kind::FocusLost, 0}}));
    EXPECT_FALSE(d.held(VK_LEFT)) << "its release happens where the program cannot see it";

    d.window(SDL_WINDOWEVENT_FOCUS_GAINED);
    EXPECT_EQ(d.take(), (Posted{{Kind::FocusGained, 0}}));
    EXPECT_EQ(d.window(SDL_WINDOWEVENT_EXPOSED), WindowRequest::Redraw);
    EXPECT_EQ(d.window(SDL_WINDOWEVENT_SIZE_CHANGED), WindowRequest::Redraw);
    EXPECT_TRUE(d.take().empty());

    // The close box brings a close and a quit event; SIGINT and SIGTERM a quit.
    d.window(SDL_WINDOWEVENT_CLOSE);
    d.input.handle(Event(SDL_QUIT));
    EXPECT_EQ(d.take(), (Posted{{Kind::Close, 0}}));
}

TEST(SdlInput, GamepadPlaysWithTheDpadStickAndButtons) {
    Desktop d;
    for (auto b : {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_START,
                   SDL_CONTROLLER_BUTTON_BACK, SDL_CONTROLLER_BUTTON_GUIDE})
        d.button(SDL_CONTROLLERBUTTONDOWN, b);
    EXPECT_EQ(
        d.take(),
        (Posted{
            {Kind::KeyDown, VK_F9}, {Kind::KeyDown, VK_LEFT}, {Kind::KeyDown, VK_RETURN}, {Kind::KeyDown, VK_F10}}));
    d.button(SDL_CONTROLLERBUTTONUP, SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    EXPECT_EQ(d.take(), keyUp(VK_LEFT));
    EXPECT_FALSE(d.held(VK_LEFT));
    EXPECT_TRUE(d.held(VK_F9));

    // The stick posts one key-down when it crosses into a direction.
    d.stick(-30000);
    d.stick(-32000);
    EXPECT_EQ(d.take(), keyDown(VK_LEFT));
    d.stick(20000);
    EXPECT_EQ(d.take(), (Posted{{Kind::KeyUp, VK_LEFT}, {Kind::KeyDown, VK_RIGHT}}));
    EXPECT_FALSE(d.held(VK_LEFT));
    d.stick(100);
    EXPECT_FALSE(d.held(VK_RIGHT));

    // A pad pulled out lets go of everything it held.
    SDL_Event removed = Event(SDL_CONTROLLERDEVICEREMOVED);
    removed.cdevice.which = kPad;
    d.input.handle(removed);
    EXPECT_FALSE(d.held(VK_F9));
}
