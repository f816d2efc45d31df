// The page: checks what the browser offers, loads the game's module and runs
// it on every animation frame, with the keyboard, gamepads, focus and sound.
import { GameModule, MissingInterface } from './module.js';
import { headlessRun } from './headless.js';
import { Screen } from './screen.js';
import { Sound, audioWorkletAvailable } from './sound.js';
import { virtualKeyOf, gamepadKeysDown } from './keys.js';
import { readSetting, writeSetting, allSettings } from './settings.js';

const messageBox = document.getElementById('message');
const canvas = document.getElementById('screen');

function say(text) {
  messageBox.textContent = text;
}

// What tests and the curious can reach from the console.
const page = {
  state: 'starting', // starting, running, ended, unsupported, no-module
  settings: { read: readSetting, write: writeSetting, all: allSettings },
  game: null,
  sound: null,
  headlessRun,
};
window.orbitfend = page;

function hasWebAssembly() {
  return typeof WebAssembly === 'object' && typeof WebAssembly.instantiate === 'function';
}

function fullScreen() {
  if (document.fullscreenElement) document.exitFullscreen();
  else document.documentElement.requestFullscreen?.();
}

function play(game, screen) {
  const sound = audioWorkletAvailable() ? new Sound(game.soundRate, (n) => game.mix(n)) : null;
  page.sound = sound;
  if (!sound) say('This browser has no AudioWorklet: the game plays without sound.');
  const start = performance.now();
  const now = () => performance.now() - start;

  window.addEventListener('keydown', (event) => {
    if ((event.code === 'Enter' && event.altKey) || event.code === 'F11') {
      fullScreen();
      event.preventDefault();
      return;
    }
    sound?.start();
    const vk = virtualKeyOf(event);
    if (vk === 0) return;
    event.preventDefault();
    game.key(vk, true);
  });
  window.addEventListener('keyup', (event) => {
    const vk = virtualKeyOf(event);
    if (vk !== 0) game.key(vk, false);
  });

  // Losing the page's visibility or focus pauses the game, as on the desktop.
  const active = () => document.visibilityState === 'visible' && document.hasFocus();
  let wasActive = active();
  const followFocus = () => {
    const isActive = active();
    if (isActive === wasActive) return;
    wasActive = isActive;
    game.focus(isActive);
    if (isActive) sound?.resume();
    else sound?.suspend();
  };
  window.addEventListener('blur', followFocus);
  window.addEventListener('focus', followFocus);
  document.addEventListener('visibilitychange', followFocus);

  let padKeys = new Set();
  const pollGamepads = () => {
    const down = gamepadKeysDown(navigator.getGamepads ? navigator.getGamepads() : []);
    for (const vk of down) if (!padKeys.has(vk)) game.key(vk, true);
    for (const vk of padKeys) if (!down.has(vk)) game.key(vk, false);
    padKeys = down;
  };

  const frame = () => {
    pollGamepads();
    const pageMs = now();
    const running = game.runDuePasses(pageMs);
    screen.show(game.frame(), game.overlay(pageMs));
    if (!running) {
      page.state = 'ended';
      say('orbitfend has ended. Reload the page to play again.');
      return;
    }
    requestAnimationFrame(frame);
  };
  page.state = 'running';
  requestAnimationFrame(frame);
}

async function main() {
  const screen = new Screen(canvas);
  if (!hasWebAssembly()) {
    page.state = 'unsupported';
    say('This browser cannot run WebAssembly, which orbitfend needs.');
    return;
  }
  let game;
  try {
    game = await GameModule.load('orbitfend.wasm');
  } catch (error) {
    page.state = 'no-module';
    say(
      error instanceof MissingInterface
        ? `orbitfend.wasm is not the playable module: ${error.message}.`
        : `The game could not be loaded: ${error.message}`,
    );
    return;
  }
  page.game = game;
  if (!game.init()) {
    page.state = 'ended';
    say('The game could not start.');
    return;
  }
  play(game, screen);
}

main();
