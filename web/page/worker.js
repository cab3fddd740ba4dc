// The page's worker: runs the look maker (the WebAssembly module) away from the page, so the
// page never freezes. The user's files are mounted read in place, never copied whole; each
// look's results are sent back as bytes and the module's copies removed.
'use strict';
importScripts('zel_web.js');

// The user's files are read in place through the browser, a piece at a time; each read of
// the browser's file costs far more than the copy, so the reads the look maker makes (a few
// kilobytes each) are served from one 8 MB piece read ahead.
const kReadAhead = 8 << 20;

function readAhead(module) {
  const reader = new FileReaderSync();
  module.WORKERFS.stream_ops.read = (stream, buffer, offset, length, position) => {
    const file = stream.node.contents;
    if (position >= file.size) return 0;
    let piece = stream.readAhead;
    if (!piece || position < piece.start || position + Math.min(length, file.size - position) >
        piece.start + piece.bytes.length) {
      const end = Math.min(file.size, position + Math.max(length, kReadAhead));
      piece = { start: position, bytes: new Uint8Array(reader.readAsArrayBuffer(file.slice(position, end))) };
      stream.readAhead = piece;
    }
    const from = position - piece.start;
    const count = Math.min(length, piece.bytes.length - from);
    buffer.set(piece.bytes.subarray(from, from + count), offset);
    return count;
  };
}

// A fresh module runs in the browser's quick first-tier code, which makes the first look
// about twice as slow as the next; the browser optimises a function once it has run a while.
// So as soon as the page is usable, while the user picks files, a small look (9 x 9 x 9) is
// made, checked and previewed here and thrown away. A job asked for meanwhile waits for it.
function warmUp(camera) {
  let text = 'LUT_3D_SIZE 9\n';
  for (let b = 0; b < 9; ++b) {
    for (let g = 0; g < 9; ++g) {
      for (let r = 0; r < 9; ++r) text += (r / 8) + ' ' + (g / 8) + ' ' + (1 - b / 8) + '\n';
    }
  }
  try {
    zel.FS.mkdir('/warm');
    zel.FS.writeFile('/warm/look.cube', text);
    const made = JSON.parse(zel.makeLook(JSON.stringify({
      model: camera.name, input: '/warm/look.cube', output: '/warm/look.zel',
      cubeOut: '/warm/re-indexed.cube',
      extended: camera.extendedIsDefault || !camera.standardLayoutFits,
    }), () => {}));
    if (made.ok) {
      zel.checkLook('/warm/look.zel', '/warm/look.cube');
      zel.previewLook('/warm/look.zel', '/warm/look.cube', '/warm/preview.raw', '');
    }
    for (const name of zel.FS.readdir('/warm')) {
      if (name !== '.' && name !== '..') zel.FS.unlink('/warm/' + name);
    }
  } catch (e) {
    // Only a head start: a look that could not be made here changes nothing.
  }
}

let zel = null;
const ready = createZelModule().then((module) => {
  zel = module;
  readAhead(zel);
  zel.FS.mkdir('/in');
  zel.FS.mkdir('/out');
  const cameras = JSON.parse(zel.cameraModels());
  postMessage({ type: 'ready', cameras });
  warmUp(cameras[0]);
}).catch((error) => {
  postMessage({ type: 'fatal', message: 'The look maker could not start: ' + error });
});

function readOut(path) {
  try {
    const bytes = zel.FS.readFile(path);
    zel.FS.unlink(path);
    return bytes;
  } catch (e) {
    return null;
  }
}

// The preview as raw 8-bit RGB: "ZRGB", width, height (32-bit little-endian), the rows.
function decodeRaw(bytes) {
  if (!bytes || bytes.length < 12) return null;
  const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  const width = view.getUint32(4, true);
  const height = view.getUint32(8, true);
  return { width, height, pixels: bytes.subarray(12) };
}

function makeOne(job, look, index) {
  const folder = '/in/' + index;
  zel.FS.mkdir(folder);
  zel.FS.mount(zel.WORKERFS, { files: [look.file] }, folder);
  zel.FS.chdir(folder);
  const zelPath = '/out/' + look.lookName + '.zel';
  const cubePath = '/out/' + look.lookName + '.cube';
  const settings = Object.assign({}, job.settings, {
    input: look.file.name,
    output: zelPath,
    cubeOut: job.settings.source <= 1 ? cubePath : '',
  });
  const result = { type: 'result', index, name: look.lookName };
  try {
    const started = performance.now();
    result.make = JSON.parse(zel.makeLook(JSON.stringify(settings), (value) => {
      postMessage({ type: 'progress', index, value });
    }));
    result.seconds = (performance.now() - started) / 1000;
    if (result.make.ok) {
      result.zel = readOut(zelPath);
      result.cube = settings.cubeOut ? readOut(cubePath) : null;
      zel.FS.writeFile(zelPath, result.zel);
      result.check = JSON.parse(zel.checkLook(zelPath, look.file.name));
      const rawPath = '/out/preview.raw';
      const preview = JSON.parse(zel.previewLook(zelPath, look.file.name, rawPath,
        job.frame ? '/frame.raw' : ''));
      result.preview = preview.status === 0 ? decodeRaw(readOut(rawPath)) : null;
      result.previewMessage = preview.message;
      zel.FS.unlink(zelPath);
    }
  } finally {
    zel.FS.chdir('/');
    zel.FS.unmount(folder);
    zel.FS.rmdir(folder);
  }
  const transfer = [result.zel, result.cube, result.preview && result.preview.pixels]
    .filter(Boolean).map((b) => b.buffer);
  postMessage(result, transfer);
}

onmessage = async (event) => {
  const job = event.data;
  await ready;
  if (job.type !== 'make' || !zel) return;
  if (job.frame) zel.FS.writeFile('/frame.raw', job.frame);
  for (let i = 0; i < job.looks.length; ++i) {
    try {
      makeOne(job, job.looks[i], i);
    } catch (error) {
      postMessage({ type: 'result', index: i, name: job.looks[i].lookName,
        make: { ok: false, message: job.looks[i].file.name + ': ' + error } });
    }
  }
  postMessage({ type: 'done' });
};
