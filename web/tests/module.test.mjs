// The playable module in a real Chromium, against the native program: the
// title picture, a game starting and pausing, the headless hook's output to the byte,
// sound after fire, and a high score kept across a reload.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { moduleMissing, nativeProgram, openPage, repository, withBrowser } from './browser.mjs';

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
    for (const run of runs) {
      const native = nativeRun(run);
      const hooked = await page.evaluate(async (r) => {
        const out = await window.orbitfend.headlessRun(r);
        const shots = out.screenshots.map((s) => ({ png: Array.from(s.png), rgba: Array.from(s.rgba) }));
        return { ...out, screenshots: shots, wav: out.wav && Array.from(out.wav) };
      }, run);
      assert.equal(hooked.exitCode, 0);
      assert.deepEqual(hooked.trace, native.trace, `trace, until ${run.until}`);
      for (let i = 0; i < native.pngs.length; ++i) {
        assert.ok(Buffer.from(hooked.screenshots[i].png).equals(native.pngs[i]), `screenshot ${i}, until ${run.until}`);
        assert.deepEqual(hooked.screenshots[i].rgba, await decodePng(page, native.pngs[i]), `RGBA ${i}`);
      }
      assert.ok(Buffer.from(hooked.wav).equals(native.wav), `sound, until ${run.until}`);
    }
  }),
);

test('after fire the AudioWorklet plays something other than silence', { skip }, () =>
  withBrowser(async (context) => {
    const { page } = await openPage(context);
    await page.keyboard.press('Enter'); // also the gesture that lets sound start
    await page.waitForTimeout(2500);
    await page.keyboard.press('Space');
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
      await page.keyboard.press('Space');
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
    await page.waitForFunction(() => window.orbitfend && window.orbitfend.state === 'running');
    assert.equal(await page.evaluate(() => window.orbitfend.settings.read('highScore')), highScore);
  }),
);
