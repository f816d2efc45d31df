// The headless program compiled to WebAssembly, run under Node's WASI, beside
// the native one on the same key scripts: the traces and screenshots must be
// the same bytes. This is what makes a recording play alike on every system,
// whichever C library the build has (wasi-libc's rand() is not glibc's).
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { existsSync, mkdirSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { WASI } from 'node:wasi';
import { builtPage, nativeProgram, repository } from './browser.mjs';

const wasmPath = path.join(builtPage, 'orbitfend-headless.wasm');
const skip = !existsSync(wasmPath)
  ? 'build/web/orbitfend-headless.wasm is not built (bash tools/dev.sh web --no-serve)'
  : !existsSync(nativeProgram)
    ? 'the native program is not built'
    : false;
const data = path.join(repository, 'tests/data');

// The files one run writes into `dir`: the trace and each screenshot.
function outputs(dir, screenshots) {
  return {
    trace: readFileSync(path.join(dir, 'trace.jsonl')),
    screenshots: screenshots.map((ms) => readFileSync(path.join(dir, `${ms}.png`))),
  };
}

function programArguments(dir, { keys, until, options, screenshots }) {
  return [
    '--headless', '--until', String(until), '--no-sound', '--trace', path.join(dir, 'trace.jsonl'),
    ...(keys ? ['--keys', path.join(data, keys)] : []), ...options,
    ...screenshots.flatMap((ms) => ['--screenshot', `${ms}:${path.join(dir, `${ms}.png`)}`]),
  ];
}

async function runWasm(module, dir, run) {
  const wasi = new WASI({
    version: 'preview1',
    args: ['orbitfend', ...programArguments(dir, run)],
    preopens: { '/': '/' },
    returnOnExit: true,
  });
  const instance = await WebAssembly.instantiate(module, { wasi_snapshot_preview1: wasi.wasiImport });
  assert.equal(wasi.start(instance), 0);
  return outputs(dir, run.screenshots);
}

function runNative(dir, run) {
  execFileSync(nativeProgram, programArguments(dir, run));
  return outputs(dir, run.screenshots);
}

test('the WebAssembly program writes the native program\'s trace and screenshots', { skip }, async (t) => {
  const module = await WebAssembly.compile(readFileSync(wasmPath));
  const runs = [
    { name: 'the title screen', until: 3000, options: ['--trace-world'], screenshots: [1000, 2900] },
    { name: 'the demo game, 160 s', keys: 'demo_game.keys', until: 160000, options: ['--trace-world'], screenshots: [60000, 152000] },
    { name: 'the invasion, rotated, 555', keys: 'invasion_game.keys', until: 90000, options: ['--layout', 'rot90', '--pixel-format', '555'], screenshots: [30000, 89000] },
  ];
  for (const run of runs) {
    await t.test(run.name, async () => {
      const work = mkdtempSync(path.join(os.tmpdir(), 'orbitfend-wasi-'));
      try {
        for (const side of ['native', 'wasm']) mkdirSync(path.join(work, side));
        const native = runNative(path.join(work, 'native'), run);
        const wasm = await runWasm(module, path.join(work, 'wasm'), run);
        assert.ok(native.trace.length > 0);
        assert.ok(wasm.trace.equals(native.trace), 'the traces differ');
        wasm.screenshots.forEach((png, i) =>
          assert.ok(png.equals(native.screenshots[i]), `the screenshot at ${run.screenshots[i]} ms differs`),
        );
      } finally {
        rmSync(work, { recursive: true, force: true });
      }
    });
  }
});
