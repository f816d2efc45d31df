// The WebAssembly build's own memcmp (sixteen bytes at a time, in place of
// wasi-libc's) against the C standard's word, by a WASI command of its own.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { existsSync, readFileSync } from 'node:fs';
import path from 'node:path';
import { WASI } from 'node:wasi';
import { builtPage } from './browser.mjs';

const checkPath = path.join(builtPage, 'web/memcmp-check.wasm');
const skip = existsSync(checkPath) ? false : 'build/web/web/memcmp-check.wasm is not built';

test('memcmp answers as the C standard says at every length, alignment and place of difference', { skip }, async () => {
  const wasi = new WASI({ version: 'preview1', args: ['memcmp-check'], returnOnExit: true });
  const instance = await WebAssembly.instantiate(await WebAssembly.compile(readFileSync(checkPath)), {
    wasi_snapshot_preview1: wasi.wasiImport,
  });
  assert.equal(wasi.start(instance), 0);
});
