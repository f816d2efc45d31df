// The deterministic hook for tests: the headless program (orbitfend-headless.wasm,
// the very code of `orbitfend --headless`) run inside the page, in a fresh
// instance each time, since the program's state is global and every run must
// start from nothing. The page's own game runs on undisturbed.
//
// headlessRun({script, until, options, screenshots}) gives what the native
// program writes for the same arguments: the trace lines, the screenshots
// (RGBA, 176 x 220 x 4, and the PNG bytes) and the WAV bytes (null with
// --no-sound).
import { ProgramExit } from './wasi.js';
import { FOLDER, wasiFolderImports } from './wasi-folder.js';

let compiled = null;

async function rgbaOfPng(png) {
  const bitmap = await createImageBitmap(new Blob([png], { type: 'image/png' }));
  const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
  const context = canvas.getContext('2d');
  context.drawImage(bitmap, 0, 0);
  return context.getImageData(0, 0, bitmap.width, bitmap.height).data;
}

export async function headlessRun({ script = '', until, options = [], screenshots = [] }) {
  compiled ??= await WebAssembly.compileStreaming(fetch('orbitfend-headless.wasm'));
  const sound = !options.includes('--no-sound');
  const files = new Map([['keys', new TextEncoder().encode(script)]]);
  const args = [
    '--headless', '--keys', `${FOLDER}/keys`, '--until', String(until), '--trace', `${FOLDER}/trace`,
    ...(sound ? ['--wav', `${FOLDER}/wav`] : []), ...options,
    ...screenshots.flatMap((ms) => ['--screenshot', `${ms}:${FOLDER}/${ms}.png`]),
  ];
  let instance = null;
  const memory = () => instance.exports.memory;
  instance = await WebAssembly.instantiate(compiled, {
    wasi_snapshot_preview1: wasiFolderImports(compiled, memory, { args, files }),
  });
  let exitCode = 0;
  try {
    instance.exports._start();
  } catch (error) {
    if (!(error instanceof ProgramExit)) throw error;
    exitCode = error.code;
  }
  const shots = [];
  for (const ms of screenshots) {
    const png = files.get(`${ms}.png`);
    shots.push({ tick: ms, png, rgba: png ? await rgbaOfPng(png) : null });
  }
  const trace = new TextDecoder().decode(files.get('trace') ?? new Uint8Array(0));
  return {
    exitCode,
    trace: trace.split('\n').filter((line) => line !== ''),
    screenshots: shots,
    wav: sound ? (files.get('wav') ?? null) : null,
  };
}
