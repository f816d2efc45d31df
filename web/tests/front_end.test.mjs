// The page and its front end in a real Chromium: loading, the settings in
// localStorage, and the plain message for a browser that lacks WebAssembly.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { openPage, pageMissing, withBrowser } from './browser.mjs';

test('the page loads with no console error', { skip: pageMissing ?? false }, () =>
  withBrowser(async (context) => {
    const { page, problems } = await openPage(context);
    await page.waitForTimeout(500); // a frame or two of play, when there is a game
    assert.deepEqual(problems, []);
  }),
);

test('the canvas is scaled by a whole number with crisp pixels and follows the window', { skip: pageMissing ?? false }, () =>
  withBrowser(async (context) => {
    const { page } = await openPage(context);
    const canvasSize = () =>
      page.evaluate(() => {
        const canvas = document.getElementById('screen');
        return { width: canvas.clientWidth, height: canvas.clientHeight, rendering: getComputedStyle(canvas).imageRendering };
      });
    await page.setViewportSize({ width: 800, height: 700 }); // room for 3 x 220 rows, not 4
    await page.waitForFunction(() => document.getElementById('screen').clientHeight === 660);
    const { rendering, ...size } = await canvasSize();
    assert.deepEqual(size, { width: 528, height: 660 });
    assert.match(rendering, /^(pixelated|crisp-edges)$/); // no smoothing between the game's pixels
    await page.setViewportSize({ width: 300, height: 200 }); // too small for even 1: stays at 1
    await page.waitForFunction(() => document.getElementById('screen').clientHeight === 220);
    assert.equal((await canvasSize()).width, 176);
  }),
);

test('settings come back after a reload, and unusable stored values give the defaults', { skip: pageMissing ?? false }, () =>
  withBrowser(async (context) => {
    const { page } = await openPage(context);
    assert.deepEqual(await page.evaluate(() => window.orbitfend.settings.all()), {
      highScore: 0,
      volume: 16,
      bindings: {},
    });
    assert.equal(await page.evaluate(() => window.orbitfend.settings.write('highScore', 1230)), true);
    assert.equal(await page.evaluate(() => window.orbitfend.settings.write('volume', 40)), true);
    // Values the game could not use are refused rather than stored.
    assert.equal(await page.evaluate(() => window.orbitfend.settings.write('volume', 65)), false);
    assert.equal(await page.evaluate(() => window.orbitfend.settings.write('highScore', -1)), false);

    await page.reload();
    await page.waitForFunction(() => window.orbitfend && window.orbitfend.state !== 'starting');
    assert.deepEqual(await page.evaluate(() => window.orbitfend.settings.all()), {
      highScore: 1230,
      volume: 40,
      bindings: {},
    });

    // Corrupt entries written behind the page's back: each falls back alone.
    const corrupt = {
      'orbitfend.highScore': '12x',
      'orbitfend.volume': '1e3',
      'orbitfend.bindings': '[1, 2]',
    };
    await page.evaluate((entries) => {
      for (const [key, value] of Object.entries(entries)) localStorage.setItem(key, value);
    }, corrupt);
    await page.reload();
    await page.waitForFunction(() => window.orbitfend && window.orbitfend.state !== 'starting');
    assert.deepEqual(await page.evaluate(() => window.orbitfend.settings.all()), {
      highScore: 0,
      volume: 16,
      bindings: {},
    });
    await page.evaluate(() => localStorage.setItem('orbitfend.volume', '"16"')); // a string, not a number
    assert.equal(await page.evaluate(() => window.orbitfend.settings.read('volume')), undefined);
  }),
);

test('a browser without WebAssembly gets a plain message on the page', { skip: pageMissing ?? false }, () =>
  withBrowser(async (context) => {
    const { page, problems } = await openPage(context, { beforeLoad: () => delete window.WebAssembly });
    assert.equal(await page.evaluate(() => window.orbitfend.state), 'unsupported');
    assert.match(await page.textContent('#message'), /cannot run WebAssembly/);
    assert.deepEqual(problems, []);
  }),
);
