// The playable module in a real Chromium, against the native program: the
// title picture, a game starting and pausing, the headless hook's output to the byte,
// sound after fire, and a high score kept across a reload.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { holdKey, moduleMissing, nativeProgram, openPage, repository, withBrowser } from './browser.mjs';

const skip = moduleMissing ?? (existsSync(nativeProgram) ? false : 'the native program is not built');
const demoKeys = readFileSync(path.join(repository, 'tests/data/demo_game.keys'), 'utf8');
const invasionKeys = readFileSync(path.join(repository, 'tests/data/invasion_game.keys'), 'utf8');

// The native headless program's output for a script: trace lines, PNG
// screenshots and the WAV bytes.
function nativeRun({ script, until, options = [], screenshots = [] }) {
  const dir = mkdtempSync(path.join(os.tmpdir(), 'orbitfend-native-'));
  try {
    writeFileSync(path.join(dir, 'keys'), script);
    const shots = screenshots.flatMap((ms) => ['--screenshot', `${ms}:${path.join(dir, `${ms}.png`)}`]);
    execFileSync(nativeProgram, [
      '--headless', '--keys', path.join(dir, 'keys'), '--until', String(until), '--trace', path.join(dir, 'trace'),
      ...(options.includes('--no-sound') ? [] : ['--wav', path.join(dir, 'wav')]), ...options, ...shots,
    ]);
    return {
      trace: readFileSync(path.join(dir, 'trace'), 'utf8').split('\n').filter((l) => l !== ''),
      pngs: screenshots.map((ms) => readFileSync(path.join(dir, `${ms}.png`))),
      wav: options.includes('--no-sound') ? null : readFileSync(path.join(dir, 'wav')),
    };
  } finally {
    rmSync(dir, { recursive: true, force: true });
  }
}

// RGBA of a PNG, decoded by the browser itself.
function decodePng(page, png) {
  return page.evaluate(async (base64) => {
    const bitmap = await createImageBitmap(await (await fetch(`data:image/png;base64,${base64}`)).blob());
    const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
    const context = canvas.getContext('2d');
    context.drawImage(bitmap, 0, 0);
    return Array.from(context.getImageData(0, 0, bitmap.width, bitmap.height).data);
  }, png.toString('base64'));
}

// The headless hook's output in the page, as plain arrays.
const hookedRun = (page, run) =>
  page.evaluate(async (r) => {
    const out = await window.orbitfend.headlessRun(r);
    const shots = out.screenshots.map((s) => ({ png: Array.from(s.png), rgba: Array.from(s.rgba) }));
    return { ...out, screenshots: shots, wav: out.wav && Array.from(out.wav) };
  }, run);

// The hook's trace, screenshots and WAV equal the native program's.
async function assertHookEqualsNative(page, run) {
  const native = nativeRun(run);
  const hooked = await hookedRun(page, run);
  assert.equal(hooked.exitCode, 0);
  assert.deepEqual(hooked.trace, native.trace, `trace, until ${run.until}`);
  for (let i = 0; i < native.pngs.length; ++i) {
    assert.ok(Buffer.from(hooked.screenshots[i].png).equals(native.pngs[i]), `screenshot ${i}, until ${run.until}`);
    assert.deepEqual(hooked.screenshots[i].rgba, await decodePng(page, native.pngs[i]), `RGBA ${i}`);
  }
  assert.ok(Buffer.from(hooked.wav).equals(native.wav), `sound, until ${run.until}`);
}

const canvasPixels = (page) =>
  page.evaluate(() => Array.from(document.getElementById('screen').getContext('2d').getImageData(0, 0, 176, 220).data));

test('the title screen on the canvas equals the native title screenshot', { skip }, () =>
  withBrowser(async (context) => {
    const { page } = await openPage(context);
    await page.waitForTimeout(1500);
    const native = nativeRun({ script: '', until: 1100, screenshots: [1000] });
    assert.deepEqual(await canvasPixels(page), await decodePng(page, native.pngs[0]));
  }),
);

test('Enter starts a game that moves, and losing the page focus holds it still', { skip }, () =>
  withBrowser(async (context) => {
    const { page } = await openPage(context);
    await page.waitForTimeout(500);
    const title = await canvasPixels(page);
    await page.keyboard.press('Enter');
    await page.waitForTimeout(2500); // past the round's start
    const playing = await canvasPixels(page);
    assert.notDeepEqual(playing, title);
    await page.waitForTimeout(300);
    assert.notDeepEqual(await canvasPixels(page), playing); // the formation marched
    await page.evaluate(() => {
      document.hasFocus = () => false;
      window.dispatchEvent(new Event('blur'));
    });
    await page.waitForTimeout(300);
    const paused = await canvasPixels(page);
    await page.waitForTimeout(700);
    assert.deepEqual(await canvasPixels(page), paused);
  }),
);

test('the headless hook gives what the native program gives, byte for byte', { skip }, () =>
  withBrowser(async (context) => {
    const { page } = await openPage(context);
    const runs = [
      { script: '', until: 3000, options: ['--trace-world'], screenshots: [1000, 2900] },
      { script: demoKeys, until: 160000, options: ['--trace-world'], screenshots: [60000, 152000] },
      { script: invasionKeys, until: 90000, options: ['--layout', 'rot90', '--pixel-format', '555'], screenshots: [89000] },
    ];
    for (const run of runs) await assertHookEqualsNative(page, run);
  }),
);

// The pixels where the canvas differs from the module's last frame: what the
// page laid over it. Read in one go, so that canvas and frame are of the same
// animation frame.
const overlaid = (page) =>
  page.evaluate(() => {
    const canvas = document.getElementById('screen').getContext('2d').getImageData(0, 0, 176, 220).data;
    const frame = window.orbitfend.game.frame();
    const pixels = [];
    for (let i = 0; i < frame.length; i += 4) {
      if (canvas[i] === frame[i] && canvas[i + 1] === frame[i + 1] && canvas[i + 2] === frame[i + 2]) continue;
      pixels.push({ x: (i / 4) % 176, y: Math.floor(i / 4 / 176), rgb: [canvas[i], canvas[i + 1], canvas[i + 2]] });
    }
    return pixels;
  });
// Waits until the canvas pixel (x, y) shows (or no longer shows) something
// other than the frame.
const waitForOverlayAt = (page, x, y, shown) =>
  page.waitForFunction(
    ({ x, y, shown }) => {
      const canvas = document.getElementById('screen').getContext('2d').getImageData(x, y, 1, 1).data;
      const frame = window.orbitfend.game.frame().subarray((y * 176 + x) * 4);
      return [0, 1, 2].some((c) => canvas[c] !== frame[c]) === shown;
    },
    { x, y, shown },
    { timeout: 8000, polling: 50 },
  );
const within = (box) => (p) => p.x >= box.left && p.x < box.right && p.y >= box.top && p.y < box.bottom;
const overlayInks = ['16,16,40', '96,224,96', '255,255,255'];

test('the volume overlay lies over the canvas as on the desktop, never in the frame', { skip }, () =>
  withBrowser(async (context) => {
    // Started silent: the sound-off note on the title, in a box across the middle.
    const { page } = await openPage(context, { beforeLoad: () => localStorage.setItem('orbitfend.volume', '0') });
    await waitForOverlayAt(page, 88, 166, true);
    const note = await overlaid(page);
    assert.ok(note.every(within({ left: 0, right: 176, top: 164, bottom: 175 })), 'the note is a line across');
    assert.ok(note.every((p) => overlayInks.includes(p.rgb.join())), 'in the overlay colours');

    // A volume key: the bar near the foot, for a second and a half after the change.
    // The volume keys are read as held at each pass, and the page runs its
    // passes on animation frames: a press shorter than a frame may be missed,
    // as a human's tap is not.
    const pressed = Date.now();
    await page.keyboard.down('Equal');
    await page.waitForTimeout(100);
    await page.keyboard.up('Equal');
    await waitForOverlayAt(page, 30, 200, true);
    const bar = await overlaid(page);
    assert.ok(bar.every(within({ left: 28, right: 148, top: 198, bottom: 211 })), 'only the bar, the note gone');
    assert.ok(bar.every((p) => overlayInks.includes(p.rgb.join())), 'in the overlay colours');
    await waitForOverlayAt(page, 30, 200, false);
    assert.ok(Date.now() - pressed >= 1500, 'the bar stays a second and a half');
    assert.deepEqual(await overlaid(page), [], 'and then the canvas is the frame again');

    // The headless program in the page is untouched by it: the same output as native.
    const volumeKeys = '600 down 117\n660 up 117\n900 down 118\n960 up 118\n';
    await assertHookEqualsNative(page, { script: volumeKeys, until: 2000, screenshots: [700, 1900] });
  }),
);

test('after fire the AudioWorklet plays something other than silence', { skip }, () =>
  withBrowser(async (context) => {
    const { page } = await openPage(context);
    await page.keyboard.press('Enter'); // also the gesture that lets sound start
    await page.waitForTimeout(2500);
    await holdKey(page, 'Space');
    await page.waitForFunction(() => window.orbitfend.sound?.stats.peak > 0.02, null, { timeout: 5000 });
  }),
);

test('a reload keeps the high score a game set', { skip }, () =>
  withBrowser(async (context) => {
    const { page } = await openPage(context);
    await page.keyboard.press('Enter');
    await page.waitForTimeout(2500);
    // Shots from a few places, so that a busy machine's timing cannot send
    // every one of them through the same gap in the formation.
    for (let i = 0; i < 30; ++i) {
      await holdKey(page, 'Space');
      await page.waitForTimeout(300);
      if (i % 6 === 5) {
        await page.keyboard.down('ArrowRight');
        await page.waitForTimeout(150);
        await page.keyboard.up('ArrowRight');
      }
    }
    await page.keyboard.press('Escape'); // leaving saves, as on the desktop
    await page.waitForFunction(() => window.orbitfend.settings.read('highScore') > 0);
    const highScore = await page.evaluate(() => window.orbitfend.settings.read('highScore'));
    await page.reload();
    // A loaded machine may take long to compile the module again.
    await page.waitForFunction(() => window.orbitfend && window.orbitfend.state === 'running', null, {
      timeout: 120000,
    });
    assert.equal(await page.evaluate(() => window.orbitfend.settings.read('highScore')), highScore);
  }),
);
