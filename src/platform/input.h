// The input family: the player's and the window system's events in the order
// they happened, and which keys are held. Keys are logical key codes with the
// handheld's names, so key scripts stay valid. Main thread only.
#pragma once

#include <cstdint>

namespace platform {

// clang-format off
constexpr int VK_RETURN = 13;
constexpr int VK_ESCAPE = 27;
constexpr int VK_LEFT   = 37;
constexpr int VK_UP     = 38;
constexpr int VK_RIGHT  = 39;
constexpr int VK_DOWN   = 40;
constexpr int VK_4      = 52;
constexpr int VK_5      = 53;
constexpr int VK_6      = 54;
constexpr int VK_F1     = 112;
constexpr int VK_F2     = 113;
constexpr int VK_F6     = 117;
constexpr int VK_F7     = 118;
constexpr int VK_F8     = 119;
constexpr int VK_F9     = 120;
constexpr int VK_F10    = 121;
// clang-format on

struct InputEvent {
    enum class Kind {
        KeyDown,      // `key` went down (or repeats while held, for keys that repeat)
        KeyUp,        // `key` went up
        Close,        // the player asked the program to end (close box, signal, end of a script)
        FocusLost,    // the window no longer gets the keyboard
        FocusGained,  // the window gets the keyboard again
        Deactivated,  // the program was sent to the background
    };
    Kind kind = Kind::KeyDown;
    int key = 0;  // a VK_* code for KeyDown and KeyUp
};

class Input {
public:
    virtual ~Input() = default;
    // Takes the oldest event not yet taken; false when there is none now.
    virtual bool takeEvent(InputEvent& event) = 0;
    // Whether any key, button or stick direction that stands for `key` is held.
    virtual bool keyHeld(int key) = 0;
};

void SetActiveInput(Input* input);  // null: the null input
Input& ActiveInput();

}  // namespace platform
