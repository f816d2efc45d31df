// Runs build/web/orbitfend-headless.wasm, the headless program compiled for
// wasm32-wasi, under Node's WASI with the current directory and /tmp open:
//   node web/tools/run-wasi.mjs [--module FILE] -- --headless --keys ... (the program's own arguments)
// Exits with the program's exit code.
import { readFile } from 'node:fs/promises';
import { argv, exit, cwd } from 'node:process';
import { WASI } from 'node:wasi';
import { fileURLToPath } from 'node:url';
import path from 'node:path';

const here = path.dirname(fileURLToPath(import.meta.url));
let modulePath = path.join(here, '../../build/web/orbitfend-headless.wasm');
const args = argv.slice(2);
if (args[0] === '--module') {
  modulePath = args[1];
  args.splice(0, 2);
}
if (args[0] === '--') args.shift();

const wasi = new WASI({
  version: 'preview1',
  args: ['orbitfend', ...args],
  env: {},
  preopens: { '.': cwd(), '/tmp': '/tmp' },
  returnOnExit: true,
});
const module = await WebAssembly.compile(await readFile(modulePath));
const instance = await WebAssembly.instantiate(module, { wasi_snapshot_preview1: wasi.wasiImport });
exit(wasi.start(instance));
