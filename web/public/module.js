// The game's WebAssembly module and the small C interface the page drives
// (documented in web/README.md).
import { wasiImports } from './wasi.js';
import { readSetting, writeSetting } from './settings.js';

const REQUIRED = [
  'of_init', 'of_run_due_passes', 'of_key', 'of_focus', 'of_frame_rgba', 'of_overlay_rgba', 'of_mix', 'of_sound_rate',
];
const FRAME_BYTES = 176 * 220 * 4;

export class MissingInterface extends Error {}

export class GameModule {
  static async load(url) {
    const module = await WebAssembly.compileStreaming(fetch(url));
    const exportNames = new Set(WebAssembly.Module.exports(module).map((e) => e.name));
    const missing = REQUIRED.filter((name) => !exportNames.has(name));
    if (missing.length > 0) throw new MissingInterface(`the module has no ${missing.join(', ')}`);
    const game = new GameModule();
    const memory = () => game.exports.memory;
    const instance = await WebAssembly.instantiate(module, {
      wasi_snapshot_preview1: wasiImports(module, memory),
      orbitfend: {
        settings_load: (name, nameLength, out, capacity) => game.loadSetting(name, nameLength, out, capacity),
        settings_save: (name, nameLength, text, textLength) => game.saveSetting(name, nameLength, text, textLength),
      },
    });
    game.exports = instance.exports;
    game.exports._initialize?.();
    return game;
  }

  bytes(ptr, length) {
    return new Uint8Array(this.exports.memory.buffer, ptr, length);
  }
  text(ptr, length) {
    return new TextDecoder().decode(this.bytes(ptr, length));
  }

  // The settings through localStorage: a value the page cannot use is absent.
  loadSetting(name, nameLength, out, capacity) {
    const value = readSetting(this.text(name, nameLength));
    if (value === undefined) return -1;
    const encoded = new TextEncoder().encode(JSON.stringify(value));
    if (encoded.length > capacity) return -1;
    this.bytes(out, encoded.length).set(encoded);
    return encoded.length;
  }
  saveSetting(name, nameLength, text, textLength) {
    try {
      return writeSetting(this.text(name, nameLength), JSON.parse(this.text(text, textLength))) ? 1 : 0;
    } catch {
      return 0;
    }
  }

  init() {
    return this.exports.of_init() !== 0;
  }
  runDuePasses(nowMs) {
    return this.exports.of_run_due_passes(nowMs >>> 0) !== 0;
  }
  key(vk, down) {
    this.exports.of_key(vk, down ? 1 : 0);
  }
  focus(active) {
    this.exports.of_focus(active ? 1 : 0);
  }
  frame() {
    return this.bytes(this.exports.of_frame_rgba(), FRAME_BYTES).slice();
  }
  // What is laid over the frame at the page's time (the volume bar, the
  // sound-off note): RGBA with alpha 0 where the frame shows, or null.
  overlay(nowMs) {
    const ptr = this.exports.of_overlay_rgba(nowMs >>> 0);
    return ptr === 0 ? null : this.bytes(ptr, FRAME_BYTES).slice();
  }
  get soundRate() {
    return this.exports.of_sound_rate();
  }
  mix(frames) {
    return this.bytes(this.exports.of_mix(frames), frames).slice();
  }
}
