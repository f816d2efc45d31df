// WASI for the headless program run inside the page: the calls of wasi.js,
// plus the command line and one folder in memory ("/run") that the program
// reads its key script from and writes its trace, screenshots and WAV to.

import { wasiImports } from './wasi.js';

const ERRNO_SUCCESS = 0;
const ERRNO_BADF = 8;
const ERRNO_INVAL = 28;
const ERRNO_NOENT = 44;
const FILETYPE_DIRECTORY = 3;
const FILETYPE_REGULAR_FILE = 4;
const OFLAGS_CREAT = 1;
const OFLAGS_TRUNC = 8;
const FOLDER_FD = 3;
export const FOLDER = '/run';

// `files`: a Map from a name in the folder to its bytes (Uint8Array), which
// the program's writes replace. `args`: the command line after the program's name.
export function wasiFolderImports(module, memory, { args, files }) {
  const view = () => new DataView(memory().buffer);
  const bytes = () => new Uint8Array(memory().buffer);
  const text = (ptr, length) => new TextDecoder().decode(bytes().slice(ptr, ptr + length));
  const argv = ['orbitfend', ...args].map((a) => new TextEncoder().encode(`${a}\0`));
  const open = new Map(); // fd -> { name, position }
  let nextFd = FOLDER_FD + 1;

  // The file's bytes with room for `size`, grown by doubling so that many small writes stay cheap.
  const grow = (name, size) => {
    const old = files.get(name);
    const length = Math.max(size, old.length);
    if (old.byteOffset + length <= old.buffer.byteLength) return new Uint8Array(old.buffer, old.byteOffset, length);
    const bigger = new Uint8Array(Math.max(length, old.length * 2, 4096));
    bigger.set(old);
    return bigger.subarray(0, length);
  };
  const iovecs = (iovs, count) =>
    Array.from({ length: count }, (_, i) => [view().getUint32(iovs + 8 * i, true), view().getUint32(iovs + 8 * i + 4, true)]);

  const base = wasiImports(module, memory);
  const own = {
    args_sizes_get(countPtr, sizePtr) {
      view().setUint32(countPtr, argv.length, true);
      view().setUint32(sizePtr, argv.reduce((n, a) => n + a.length, 0), true);
      return ERRNO_SUCCESS;
    },
    args_get(argvPtr, bufferPtr) {
      argv.forEach((arg, i) => {
        view().setUint32(argvPtr + 4 * i, bufferPtr, true);
        bytes().set(arg, bufferPtr);
        bufferPtr += arg.length;
      });
      return ERRNO_SUCCESS;
    },
    fd_prestat_get(fd, ptr) {
      if (fd !== FOLDER_FD) return ERRNO_BADF;
      view().setUint8(ptr, 0);
      view().setUint32(ptr + 4, FOLDER.length, true);
      return ERRNO_SUCCESS;
    },
    fd_prestat_dir_name(fd, ptr, length) {
      if (fd !== FOLDER_FD) return ERRNO_BADF;
      bytes().set(new TextEncoder().encode(FOLDER).subarray(0, length), ptr);
      return ERRNO_SUCCESS;
    },
    path_open(dirFd, _lookup, pathPtr, pathLength, oflags, _rights, _inheriting, _fdflags, fdPtr) {
      if (dirFd !== FOLDER_FD) return ERRNO_BADF;
      const name = text(pathPtr, pathLength);
      if (!files.has(name)) {
        if (!(oflags & OFLAGS_CREAT)) return ERRNO_NOENT;
        files.set(name, new Uint8Array(0));
      }
      if (oflags & OFLAGS_TRUNC) files.set(name, new Uint8Array(0));
      open.set(nextFd, { name, position: 0 });
      view().setUint32(fdPtr, nextFd++, true);
      return ERRNO_SUCCESS;
    },
    fd_close(fd) {
      return open.delete(fd) || fd === FOLDER_FD ? ERRNO_SUCCESS : ERRNO_BADF;
    },
    fd_fdstat_get(fd, ptr) {
      if (fd > 2 && fd !== FOLDER_FD && !open.has(fd)) return ERRNO_BADF;
      view().setUint8(ptr, fd === FOLDER_FD ? FILETYPE_DIRECTORY : fd > 2 ? FILETYPE_REGULAR_FILE : 2);
      view().setUint16(ptr + 2, 0, true);
      view().setBigUint64(ptr + 8, 0xffffffffffffffffn, true);
      view().setBigUint64(ptr + 16, 0xffffffffffffffffn, true);
      return ERRNO_SUCCESS;
    },
    fd_fdstat_set_flags: () => ERRNO_SUCCESS,
    path_filestat_get(dirFd, _flags, pathPtr, pathLength, ptr) {
      if (dirFd !== FOLDER_FD) return ERRNO_BADF;
      const file = files.get(text(pathPtr, pathLength));
      if (!file) return ERRNO_NOENT;
      for (let i = 0; i < 64; i += 8) view().setBigUint64(ptr + i, 0n, true);
      view().setUint8(ptr + 16, FILETYPE_REGULAR_FILE);
      view().setBigUint64(ptr + 24, 1n, true);
      view().setBigUint64(ptr + 32, BigInt(file.length), true);
      return ERRNO_SUCCESS;
    },
    fd_read(fd, iovs, count, readPtr) {
      const handle = open.get(fd);
      if (!handle) return ERRNO_BADF;
      const file = files.get(handle.name);
      let read = 0;
      for (const [ptr, length] of iovecs(iovs, count)) {
        const piece = file.subarray(handle.position, handle.position + length);
        bytes().set(piece, ptr);
        handle.position += piece.length;
        read += piece.length;
      }
      view().setUint32(readPtr, read, true);
      return ERRNO_SUCCESS;
    },
    fd_write(fd, iovs, count, writtenPtr) {
      const handle = open.get(fd);
      if (!handle) return base.fd_write(fd, iovs, count, writtenPtr);
      let written = 0;
      for (const [ptr, length] of iovecs(iovs, count)) {
        const file = grow(handle.name, handle.position + length);
        file.set(bytes().subarray(ptr, ptr + length), handle.position);
        files.set(handle.name, file);
        handle.position += length;
        written += length;
      }
      view().setUint32(writtenPtr, written, true);
      return ERRNO_SUCCESS;
    },
    fd_seek(fd, offset, whence, positionPtr) {
      const handle = open.get(fd);
      if (!handle) return ERRNO_BADF;
      const from = [0, handle.position, files.get(handle.name).length][whence];
      const position = from + Number(offset);
      if (from === undefined || position < 0) return ERRNO_INVAL;
      handle.position = position;
      view().setBigUint64(positionPtr, BigInt(position), true);
      return ERRNO_SUCCESS;
    },
  };
  const imports = {};
  for (const entry of WebAssembly.Module.imports(module)) {
    if (entry.module !== 'wasi_snapshot_preview1' || entry.kind !== 'function') continue;
    imports[entry.name] = own[entry.name] ?? base[entry.name];
  }
  return imports;
}
