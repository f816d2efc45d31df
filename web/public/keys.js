// The desktop's keys and the gamepad's buttons as the game's virtual-key codes.

export const VK = {
  RETURN: 13, ESCAPE: 27, LEFT: 37, UP: 38, RIGHT: 39, DOWN: 40,
  DIGIT4: 52, DIGIT5: 53, DIGIT6: 54,
  F1: 112, F2: 113, F6: 117, F7: 118, F8: 119, F9: 120, F10: 121,
};

// KeyboardEvent.code -> virtual key, as on the desktop: the device's keys,
// then Space to fire, P to pause, + and - for the volume.
const KEYBOARD = {
  ArrowLeft: VK.LEFT,     ArrowUp: VK.UP,         ArrowRight: VK.RIGHT,   ArrowDown: VK.DOWN,
  Enter: VK.RETURN,       NumpadEnter: VK.RETURN, Escape: VK.ESCAPE,
  F1: VK.F1,              F2: VK.F2,              F6: VK.F6,              F7: VK.F7,
  F8: VK.F8,              F9: VK.F9,              F10: VK.F10,
  Digit4: VK.DIGIT4,      Digit5: VK.DIGIT5,      Digit6: VK.DIGIT6,
  Numpad4: VK.DIGIT4,     Numpad5: VK.DIGIT5,     Numpad6: VK.DIGIT6,
  Space: VK.F9,           KeyP: VK.F10,
  Equal: VK.F6,           NumpadAdd: VK.F6,       Minus: VK.F7,           NumpadSubtract: VK.F7,
};

// Keys that act once per press: held, they do not repeat.
const NO_REPEAT = new Set(['KeyP']);

// Standard-mapping gamepad buttons -> virtual key: the d-pad, A or B to fire,
// Start for the action key, Back to pause, the shoulders for the volume.
const GAMEPAD = [
  [14, VK.LEFT], [15, VK.RIGHT], [0, VK.F9], [1, VK.F9],
  [9, VK.RETURN], [8, VK.F10], [5, VK.F6], [4, VK.F7],
];
const STICK_DEAD_ZONE = 0.5;

// The virtual key of a keyboard event, or 0 for a key the game does not use.
export function virtualKeyOf(event) {
  if (event.repeat && NO_REPEAT.has(event.code)) return 0;
  return KEYBOARD[event.code] ?? 0;
}

// The set of virtual keys the connected gamepads hold down now.
export function gamepadKeysDown(gamepads) {
  const down = new Set();
  for (const pad of gamepads) {
    if (!pad || !pad.connected) continue;
    for (const [button, vk] of GAMEPAD) if (pad.buttons[button]?.pressed) down.add(vk);
    const x = pad.axes[0] ?? 0;
    if (x < -STICK_DEAD_ZONE) down.add(VK.LEFT);
    if (x > STICK_DEAD_ZONE) down.add(VK.RIGHT);
  }
  return down;
}
