// The few WASI calls a wasm32-wasi module makes in a page: text on stdout and
// stderr goes to the console, the clocks and random bytes come from the
// browser, and there are no files (every other call answers ENOSYS).

const ERRNO_SUCCESS = 0;
const ERRNO_BADF = 8;
const ERRNO_NOSYS = 52;

export class ProgramExit extends Error {
  constructor(code) {
    super(`the module exited with ${code}`);
    this.code = code;
  }
}

// The wasi_snapshot_preview1 imports for `module`; memory() gives the
// instance's memory once it exists.
export function wasiImports(module, memory) {
  const view = () => new DataView(memory().buffer);
  const bytes = () => new Uint8Array(memory().buffer);
  const lines = { 1: '', 2: '' };
  const own = {
    fd_write(fd, iovs, iovsLength, writtenPtr) {
      if (fd !== 1 && fd !== 2) return ERRNO_BADF;
      let written = 0;
      for (let i = 0; i < iovsLength; ++i) {
        const base = view().getUint32(iovs + 8 * i, true);
        const length = view().getUint32(iovs + 8 * i + 4, true);
        lines[fd] += new TextDecoder().decode(bytes().subarray(base, base + length));
        written += length;
      }
      let end;
      while ((end = lines[fd].indexOf('\n')) >= 0) {
        (fd === 1 ? console.log : console.warn)(lines[fd].slice(0, end));
        lines[fd] = lines[fd].slice(end + 1);
      }
      view().setUint32(writtenPtr, written, true);
      return ERRNO_SUCCESS;
    },
    clock_time_get(clockId, _precision, timePtr) {
      const ms = clockId === 0 ? Date.now() : performance.now();
      view().setBigUint64(timePtr, BigInt(Math.round(ms * 1e6)), true);
      return ERRNO_SUCCESS;
    },
    random_get(ptr, length) {
      crypto.getRandomValues(bytes().subarray(ptr, ptr + length));
      return ERRNO_SUCCESS;
    },
    args_sizes_get(countPtr, sizePtr) {
      view().setUint32(countPtr, 0, true);
      view().setUint32(sizePtr, 0, true);
      return ERRNO_SUCCESS;
    },
    environ_sizes_get(countPtr, sizePtr) {
      view().setUint32(countPtr, 0, true);
      view().setUint32(sizePtr, 0, true);
      return ERRNO_SUCCESS;
    },
    args_get: () => ERRNO_SUCCESS,
    environ_get: () => ERRNO_SUCCESS,
    fd_prestat_get: () => ERRNO_BADF,
    proc_exit(code) {
      throw new ProgramExit(code);
    },
  };
  const imports = {};
  for (const entry of WebAssembly.Module.imports(module)) {
    if (entry.module !== 'wasi_snapshot_preview1' || entry.kind !== 'function') continue;
    imports[entry.name] = own[entry.name] ?? (() => ERRNO_NOSYS);
  }
  return imports;
}
