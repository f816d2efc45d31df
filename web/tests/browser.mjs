// What the browser tests share: the built page served on a free port, and a
// headless Chromium (Debian's) with a fresh profile for each test.
import { after, before } from 'node:test';
import { existsSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';
import { serve } from '../tools/serve.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
export const repository = path.resolve(here, '../..');
export const builtPage = path.join(repository, 'build/web');
export const nativeProgram = path.join(repository, 'build/default/orbitfend');
const chromiumPath = process.env.ORBITFEND_CHROMIUM ?? '/usr/bin/chromium';

// Why the page cannot be tested at all, or null.
export const pageMissing = !existsSync(path.join(builtPage, 'index.html'))
  ? 'build/web is not built (bash tools/dev.sh web)'
  : !existsSync(chromiumPath)
    ? `no Chromium at ${chromiumPath}`
    : null;

// Why the tests that need the playable module must wait, or null.
export const moduleMissing = (() => {
  if (pageMissing) return pageMissing;
  const wasm = path.join(builtPage, 'orbitfend.wasm');
  if (!existsSync(wasm)) return 'build/web/orbitfend.wasm is not built';
  const exports = WebAssembly.Module.exports(new WebAssembly.Module(readFileSync(wasm))).map((e) => e.name);
  return exports.includes('of_init')
    ? null
    : 'the module has no page interface yet (of_init): it waits for the web platform backend';
})();

let served = null;
before(async () => {
  if (!pageMissing) served = await serve(builtPage, 0);
});
after(() => served?.server.close());

export function pageUrl() {
  return served.url;
}

// A fresh browser profile, closed with its folder when `use` is done.
export async function withBrowser(use) {
  const profile = mkdtempSync(path.join(os.tmpdir(), 'orbitfend-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: chromiumPath,
    headless: true,
    args: [
      '--no-sandbox',
      '--disable-gpu',
      '--disable-quic',
      '--no-first-run',
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
      '--autoplay-policy=no-user-gesture-required',
    ],
  });
  try {
    return await use(context);
  } finally {
    await context.close();
    rmSync(profile, { recursive: true, force: true });
  }
}

// Opens the page and collects what it says on the console and every error it throws.
export async function openPage(context, { beforeLoad } = {}) {
  const page = context.pages()[0] ?? (await context.newPage());
  const problems = [];
  page.on('console', (message) => {
    if (message.type() === 'error') problems.push(`console: ${message.text()}`);
  });
  page.on('pageerror', (error) => problems.push(`page error: ${error.message}`));
  if (beforeLoad) await page.addInitScript(beforeLoad);
  await page.goto(pageUrl());
  await page.waitForFunction(() => window.orbitfend && window.orbitfend.state !== 'starting');
  return { page, problems };
}

// Holds `key` down until the page has run at least one animation frame, and
// so at least one of the game's passes: the game reads fire as a held key,
// and a press shorter than a frame (a loaded machine's frames can be long)
// is never seen.
export async function holdKey(page, key) {
  await page.keyboard.down(key);
  await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
  await page.keyboard.up(key);
}
