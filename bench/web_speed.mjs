// The WebAssembly build beside the native one, on the same key script:
// frames per second of each headless run and their ratio, and the page's
// size gzipped.
//   node --no-warnings bench/web_speed.mjs [--keys FILE] [--until MS] [--rounds N] [--sound]
// Needs build/default/orbitfend (preset default or bench) and build/web
// (bash tools/dev.sh web --no-serve). Both run --no-sound unless --sound is
// given; then both capture a WAV, and the two captures are compared too.
// Speeds are by the wall clock; the processor time of each is given too
// (the native program's through bash's `times`, a few milliseconds of bash
// included in its wall time).
import { spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, readdirSync, rmSync, existsSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { WASI } from 'node:wasi';
import { gzipSync } from 'node:zlib';
import { parseArgs } from 'node:util';

const repository = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
const { values } = parseArgs({
  options: {
    keys: { type: 'string', default: path.join(repository, 'tests/data/demo_game.keys') },
    until: { type: 'string', default: '160000' },
    rounds: { type: 'string', default: '3' },
    native: { type: 'string', default: path.join(repository, 'build/default/orbitfend') },
    web: { type: 'string', default: path.join(repository, 'build/web') },
    sound: { type: 'boolean', default: false },
  },
});
const wasmPath = path.join(values.web, 'orbitfend-headless.wasm');
for (const needed of [values.native, wasmPath, values.keys]) {
  if (!existsSync(needed)) {
    console.error(`web_speed: ${needed} is missing`);
    process.exit(1);
  }
}

const work = mkdtempSync(path.join(os.tmpdir(), 'orbitfend-speed-'));
const args = (trace) => [
  '--headless', '--keys', values.keys, '--until', values.until, '--trace', trace,
  ...(values.sound ? ['--wav', trace.replace(/\.jsonl$/, '.wav')] : ['--no-sound']),
];
const frames = (trace) => readFileSync(trace, 'utf8').split('\n').filter((l) => l !== '').length;

// The processor time the native program used, from bash's `times` (its
// children's user and system time, the last line), in seconds.
function childCpuSeconds(timesOutput) {
  const last = timesOutput.trim().split('\n').pop();
  const seconds = [...last.matchAll(/(\d+)m([\d.]+)s/g)].map((m) => Number(m[1]) * 60 + Number(m[2]));
  return seconds.reduce((a, b) => a + b, 0);
}

function runNative() {
  const trace = path.join(work, 'native.jsonl');
  const start = process.hrtime.bigint();
  const result = spawnSync('bash', ['-c', '"$@" >&2 && times', 'orbitfend', values.native, ...args(trace)], {
    stdio: ['ignore', 'pipe', 'inherit'],
    encoding: 'utf8',
  });
  const seconds = Number(process.hrtime.bigint() - start) / 1e9;
  if (result.status !== 0) throw new Error(`the native program exited with ${result.status}`);
  return { seconds, cpu: childCpuSeconds(result.stdout), frames: frames(trace), trace };
}

const module = await WebAssembly.compile(readFileSync(wasmPath));
async function runWasm() {
  const trace = path.join(work, 'wasm.jsonl');
  const wasi = new WASI({
    version: 'preview1',
    args: ['orbitfend', ...args(trace)],
    preopens: { '/': '/' },
    returnOnExit: true,
  });
  const instance = await WebAssembly.instantiate(module, { wasi_snapshot_preview1: wasi.wasiImport });
  const start = process.hrtime.bigint();
  const cpuStart = process.cpuUsage();
  const status = wasi.start(instance);
  const cpu = process.cpuUsage(cpuStart);
  const seconds = Number(process.hrtime.bigint() - start) / 1e9;
  if (status !== 0) throw new Error(`the WebAssembly program exited with ${status}`);
  // Node's processor time counts its own helper threads too (compiling, GC).
  return { seconds, cpu: (cpu.user + cpu.system) / 1e6, frames: frames(trace), trace };
}

try {
  let native = null;
  let wasm = null;
  let nativeCpu = Infinity;
  let wasmCpu = Infinity;
  // Alternating rounds; the fastest of each counts, as the least disturbed.
  for (let round = 0; round < Number(values.rounds); ++round) {
    const n = runNative();
    const w = await runWasm();
    if (!native || n.seconds < native.seconds) native = n;
    if (!wasm || w.seconds < wasm.seconds) wasm = w;
    nativeCpu = Math.min(nativeCpu, n.cpu);
    wasmCpu = Math.min(wasmCpu, w.cpu);
  }
  const wav = (run) => readFileSync(run.trace.replace(/\.jsonl$/, '.wav'));
  const same =
    readFileSync(native.trace).equals(readFileSync(wasm.trace)) && (!values.sound || wav(native).equals(wav(wasm)));
  const fps = (r) => r.frames / r.seconds;
  console.log(`script ${path.basename(values.keys)} until ${values.until} ms, ${native.frames} frames, best of ${values.rounds}`);
  console.log(`native       ${fps(native).toFixed(0).padStart(8)} frames/s  (${native.seconds.toFixed(3)} s)`);
  console.log(`WebAssembly  ${fps(wasm).toFixed(0).padStart(8)} frames/s  (${wasm.seconds.toFixed(3)} s, Node ${process.version})`);
  console.log(`ratio        ${(fps(wasm) / fps(native)).toFixed(2)} (WebAssembly / native; the goal is at least 0.5)`);
  // On a busy machine the wall clock counts the waits for a processor too;
  // the processor time each used is the steadier comparison there.
  console.log(
    `processor    native ${nativeCpu.toFixed(3)} s, WebAssembly ${wasmCpu.toFixed(3)} s: ratio ${(nativeCpu / wasmCpu).toFixed(2)}`,
  );
  console.log(`${values.sound ? 'traces, WAVs' : 'traces      '} ${same ? 'identical' : 'DIFFERENT'}`);

  let total = 0;
  const lines = [];
  for (const name of readdirSync(values.web).sort()) {
    // The page loads its own module; the headless program is not part of it.
    if (!/\.(wasm|js|html)$/.test(name) || name === 'orbitfend-headless.wasm') continue;
    const gz = gzipSync(readFileSync(path.join(values.web, name)), { level: 9 }).length;
    total += gz;
    lines.push(`  ${name.padEnd(18)} ${(gz / 1024).toFixed(1).padStart(7)} KiB`);
  }
  console.log(`page size, gzipped: ${(total / 1024).toFixed(1)} KiB`);
  console.log(lines.join('\n'));
  if (!same) process.exitCode = 1;
} finally {
  rmSync(work, { recursive: true, force: true });
}
