// The page: the user's looks and frame, the job settings from the library's camera table,
// the jobs sent to the worker, and each look file's results (check, preview, save).
'use strict';

const $ = (id) => document.getElementById(id);
const state = { cameras: [], looks: [], frame: null, results: [], worker: null, busy: false,
  created: null };
window.zelPage = state;  // what the page made, for the browser tests and the benchmark
state.timings = { usable: null };  // ms from navigation to the controls filled and enabled

const imageTypes = /\.(png|jpe?g)$/i;

function setStatus(text) { $('status').textContent = text; }

// ---- the camera table: defaults and refusals --------------------------------------------
function cameraInfo() { return state.cameras.find((c) => c.name === $('camera').value); }

function updateLayouts(chooseDefault) {
  const camera = cameraInfo();
  if (!camera) return;
  const standard = $('layout').options[0];
  const extended = $('layout').options[1];
  standard.disabled = !camera.standardLayoutFits;
  standard.textContent = camera.standardLayoutFits ? 'standard'
    : 'standard (does not fit this camera\'s look)';
  extended.textContent = camera.extendedLayoutCarriesLook ? 'extended'
    : 'extended (carries no look)';
  if (chooseDefault || (standard.disabled && $('layout').value === 'standard')) {
    $('layout').value = camera.extendedIsDefault || !camera.standardLayoutFits
      ? 'extended' : 'standard';
  }
  const isExtended = $('layout').value === 'extended';
  $('full-domain').disabled = isExtended;
  if (isExtended) $('full-domain').checked = false;
  $('layout-note').textContent = isExtended && !camera.extendedLayoutCarriesLook
    ? 'The extended look file of ' + camera.name + ' carries no look data: the camera will ' +
      'not apply this look. Choose the standard layout for a look file that holds the look.'
    : '';
}

function fillCameras(cameras) {
  state.cameras = cameras;
  for (const camera of cameras) {
    const option = document.createElement('option');
    option.value = camera.name;
    option.textContent = camera.name;
    $('camera').appendChild(option);
  }
  updateLayouts(true);
}

// ---- looks and frame ---------------------------------------------------------------------
function stemOf(name) {
  const stem = name.replace(/\.[^.]*$/, '') || name;
  return stem.replace(/[\/\\]/g, '_');
}

function showLooks() {
  const list = $('look-list');
  list.textContent = '';
  state.looks.forEach((look, i) => {
    const item = document.createElement('li');
    const label = document.createElement('label');
    label.htmlFor = 'look-name-' + i;
    label.textContent = look.file.name + ' \u2192 name';
    const name = document.createElement('input');
    name.type = 'text';
    name.id = 'look-name-' + i;
    name.value = look.lookName;
    name.maxLength = 124;
    name.addEventListener('input', () => { look.lookName = name.value.replace(/[\/\\]/g, '_'); });
    const remove = document.createElement('button');
    remove.type = 'button';
    remove.textContent = 'Remove';
    remove.setAttribute('aria-label', 'Remove ' + look.file.name);
    remove.addEventListener('click', () => { state.looks.splice(i, 1); showLooks(); });
    item.append(label, name, remove);
    list.appendChild(item);
  });
  $('make').disabled = state.busy || !state.cameras.length || !state.looks.length;
}

async function useFrame(file) {
  try {
    const bitmap = await createImageBitmap(file,
      { colorSpaceConversion: 'none', premultiplyAlpha: 'none' });
    const canvas = document.createElement('canvas');
    canvas.width = bitmap.width;
    canvas.height = bitmap.height;
    const context = canvas.getContext('2d');
    context.drawImage(bitmap, 0, 0);
    const rgba = context.getImageData(0, 0, bitmap.width, bitmap.height).data;
    const raw = new Uint8Array(12 + bitmap.width * bitmap.height * 3);
    raw.set([0x5a, 0x52, 0x47, 0x42]);
    const view = new DataView(raw.buffer);
    view.setUint32(4, bitmap.width, true);
    view.setUint32(8, bitmap.height, true);
    for (let p = 0, q = 12; p < rgba.length; p += 4) {
      raw[q++] = rgba[p]; raw[q++] = rgba[p + 1]; raw[q++] = rgba[p + 2];
    }
    state.frame = raw;
    $('frame-status').textContent = 'Previews use ' + file.name + ' (' + bitmap.width + ' x ' +
      bitmap.height + ').';
  } catch (error) {
    state.frame = null;
    $('frame-status').textContent = file.name + ': the browser cannot decode this picture; ' +
      'previews use the built-in chart.';
  }
}

function addFiles(files) {
  for (const file of files) {
    if (imageTypes.test(file.name) || /^image\//.test(file.type)) {
      useFrame(file);
    } else {
      state.looks.push({ file, lookName: stemOf(file.name) });
    }
  }
  showLooks();
}

// ---- jobs in the worker ------------------------------------------------------------------
function startWorker() {
  const worker = new Worker('worker.js');
  worker.onmessage = (event) => onWorkerMessage(event.data);
  worker.onerror = (event) => { setStatus('The look maker stopped: ' + event.message); };
  state.worker = worker;
}

function settings() {
  return {
    model: $('camera').value,
    extended: $('layout').value === 'extended',
    source: Number($('source').value),
    curve: Number($('curve').value),
    range: Number($('range').value),
    longChain: $('long-chain').checked,
    fullDomain: $('full-domain').checked,
    note: $('note').value,
    created: state.created,
  };
}

function setBusy(busy) {
  state.busy = busy;
  $('cancel').disabled = !busy;
  $('make').disabled = busy || !state.looks.length;
  $('save-zip').disabled = busy || state.results.filter((r) => r && r.zel).length < 1;
}

function make() {
  if (!state.looks.length || state.busy) return;
  state.job = { looks: state.looks.slice(), started: performance.now() };
  state.results = [];
  $('results').textContent = '';
  $('progress').value = 0;
  setBusy(true);
  setStatus('Making ' + state.job.looks.length + ' look file(s)...');
  state.worker.postMessage({ type: 'make', settings: settings(), frame: state.frame,
    looks: state.job.looks.map((l) => ({ file: l.file, lookName: l.lookName })) });
}

function cancel() {
  if (!state.busy) return;
  state.worker.terminate();
  startWorker();
  setBusy(false);
  $('progress').value = 0;
  setStatus('Cancelled: the look files not shown below were not made.');
}

function onWorkerMessage(message) {
  if (message.type === 'ready') {
    if (!state.cameras.length) fillCameras(message.cameras);
    if (!state.busy) setStatus('Ready. Nothing you load leaves this computer.');
    showLooks();
    if (state.timings.usable === null) state.timings.usable = performance.now();
  } else if (message.type === 'fatal') {
    setStatus(message.message);
  } else if (message.type === 'progress') {
    const count = state.job.looks.length;
    $('progress').value = (100 * message.index + message.value) / count;
  } else if (message.type === 'result') {
    state.results[message.index] = message;
    showResult(message);
  } else if (message.type === 'done') {
    state.job.seconds = (performance.now() - state.job.started) / 1000;
    $('progress').value = 100;
    const made = state.results.filter((r) => r && r.make.ok).length;
    setBusy(false);
    setStatus(made + ' of ' + state.job.looks.length + ' look file(s) made.');
  }
}

// ---- results -----------------------------------------------------------------------------
function save(bytes, name, type) {
  const url = URL.createObjectURL(new Blob([bytes], { type }));
  const link = document.createElement('a');
  link.href = url;
  link.download = name;
  document.body.appendChild(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 10000);
}

function saveZip() {
  const entries = {};
  for (const r of state.results) {
    if (!r || !r.zel) continue;
    entries[r.name + '.zel'] = r.zel;
    if (r.cube) entries[r.name + '.cube'] = r.cube;
  }
  save(fflate.zipSync(entries, { level: 6 }), 'looks.zip', 'application/zip');
}

function hueName(rgb) {
  const [r, g, b] = rgb;
  const max = Math.max(r, g, b), min = Math.min(r, g, b);
  const light = max < 0.25 ? 'dark ' : max > 0.75 ? 'bright ' : '';
  if (max - min < 0.05) return light + 'grey';
  let h;
  if (max === r) h = ((g - b) / (max - min) + 6) % 6;
  else if (max === g) h = (b - r) / (max - min) + 2;
  else h = (r - g) / (max - min) + 4;
  const names = ['red', 'orange', 'yellow', 'yellow-green', 'green', 'green-cyan', 'cyan',
    'azure', 'blue', 'violet', 'magenta', 'pink'];
  const saturation = (max - min) / max < 0.4 ? 'pale ' : '';
  return light + saturation + names[Math.round(h * 2) % 12];
}

function cell(row, text, header) {
  const c = document.createElement(header ? 'th' : 'td');
  c.textContent = text;
  row.appendChild(c);
  return c;
}

function checkTable(report) {
  const table = document.createElement('table');
  table.className = 'check';
  const head = table.insertRow();
  ['Pass', 'Input', 'Code values max', 'CIEDE2000 max', 'mean', 'p99', 'Limits (p99, max)',
    'Worst colour'].forEach((t) => cell(head, t, true));
  for (const p of (report.fidelity && report.fidelity.passes) || []) {
    const row = table.insertRow();
    row.dataset.pass = p.pass;
    cell(row, String(p.pass));
    cell(row, p.inputSpace);
    cell(row, Math.max(...p.cube.codeValueMax).toFixed(1));
    cell(row, p.cube.deltaE2000Max.toFixed(2));
    cell(row, p.cube.deltaE2000Mean.toFixed(3));
    cell(row, p.cube.deltaE2000P99.toFixed(2));
    cell(row, p.limits.deltaE2000P99.toFixed(1) + ', ' + p.limits.deltaE2000Max.toFixed(1) +
      (p.withinLimits ? ' within' : ' OUTSIDE'));
    const worst = cell(row, '');
    const swatch = document.createElement('span');
    swatch.className = 'swatch';
    const w = p.cube.worstInput;
    swatch.style.backgroundColor = 'rgb(' + w.map((v) => Math.round(255 * Math.min(1, Math.max(0, v)))).join(',') + ')';
    worst.append(swatch, ' ' + hueName(w) + ' (' + w.map((v) => v.toFixed(3)).join(' ') + ')');
  }
  return table;
}

function showResult(result) {
  const card = document.createElement('article');
  card.className = 'card';
  card.id = 'result-' + result.index;
  card.setAttribute('aria-label', 'Look file ' + result.name);
  const left = document.createElement('div');
  const title = document.createElement('h3');
  title.textContent = result.name + '.zel';
  left.appendChild(title);
  card.appendChild(left);
  if (!result.make.ok) {
    const message = document.createElement('p');
    message.className = 'failed';
    message.setAttribute('role', 'alert');
    message.textContent = 'zelgen: ' + result.make.message;
    left.appendChild(message);
    $('results').appendChild(card);
    return;
  }
  const summary = document.createElement('p');
  summary.className = 'summary';
  summary.textContent = result.make.summary + ' (' + result.seconds.toFixed(2) + ' s)';
  left.appendChild(summary);
  const report = result.check && result.check.report;
  if (report && typeof report === 'object') {
    const verdict = document.createElement('p');
    const faithful = report.fidelity && report.fidelity.withinLimits && !report.damaged;
    verdict.className = faithful ? 'verdict-good' : 'verdict-bad';
    verdict.textContent = 'check: ' + (report.damaged ? 'the look file is damaged'
      : faithful ? 'the camera renders the look faithfully'
        : 'the camera does NOT render the look faithfully');
    left.appendChild(verdict);
    left.appendChild(checkTable(report));
  }
  const buttons = document.createElement('div');
  buttons.className = 'row';
  const saveZel = document.createElement('button');
  saveZel.type = 'button';
  saveZel.className = 'save-zel';
  saveZel.textContent = 'Save ' + result.name + '.zel';
  saveZel.addEventListener('click', () => save(result.zel, result.name + '.zel', 'application/octet-stream'));
  buttons.appendChild(saveZel);
  if (result.cube) {
    const saveCube = document.createElement('button');
    saveCube.type = 'button';
    saveCube.className = 'save-cube';
    saveCube.textContent = 'Save re-indexed ' + result.name + '.cube';
    saveCube.addEventListener('click', () => save(result.cube, result.name + '.cube', 'text/plain'));
    buttons.appendChild(saveCube);
  }
  left.appendChild(buttons);
  const right = document.createElement('figure');
  right.style.margin = '0';
  if (result.preview) {
    const canvas = document.createElement('canvas');
    canvas.className = 'preview';
    canvas.width = result.preview.width;
    canvas.height = result.preview.height;
    canvas.setAttribute('role', 'img');
    canvas.setAttribute('aria-label', 'Preview of ' + result.name +
      ': source look, camera, difference times ten');
    const image = canvas.getContext('2d').createImageData(canvas.width, canvas.height);
    const rgb = result.preview.pixels;
    for (let p = 0, q = 0; q < rgb.length; p += 4, q += 3) {
      image.data[p] = rgb[q]; image.data[p + 1] = rgb[q + 1]; image.data[p + 2] = rgb[q + 2];
      image.data[p + 3] = 255;
    }
    canvas.getContext('2d').putImageData(image, 0, 0);
    right.appendChild(canvas);
  } else {
    const message = document.createElement('p');
    message.className = 'failed';
    message.textContent = 'No preview: ' + (result.previewMessage || 'the look file has no pass to draw');
    right.appendChild(message);
  }
  card.appendChild(right);
  $('results').appendChild(card);
}

// ---- wiring ------------------------------------------------------------------------------
function init() {
  const created = new URLSearchParams(location.search).get('created');
  if (created && /^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d$/.test(created)) {
    state.created = created.split(/[-T:]/).map(Number);
  }
  const drop = $('drop');
  drop.addEventListener('click', () => $('cube-input').click());
  drop.addEventListener('keydown', (e) => {
    if (e.key === 'Enter' || e.key === ' ') { e.preventDefault(); $('cube-input').click(); }
  });
  drop.addEventListener('dragover', (e) => { e.preventDefault(); drop.classList.add('over'); });
  drop.addEventListener('dragleave', () => drop.classList.remove('over'));
  drop.addEventListener('drop', (e) => {
    e.preventDefault();
    drop.classList.remove('over');
    addFiles(e.dataTransfer.files);
  });
  $('cube-input').addEventListener('change', (e) => { addFiles(e.target.files); e.target.value = ''; });
  $('image-input').addEventListener('change', (e) => { if (e.target.files[0]) useFrame(e.target.files[0]); });
  $('image-clear').addEventListener('click', () => {
    state.frame = null;
    $('image-input').value = '';
    $('frame-status').textContent = 'Previews use the built-in chart.';
  });
  $('camera').addEventListener('change', () => updateLayouts(true));
  $('layout').addEventListener('change', () => updateLayouts(false));
  $('make').addEventListener('click', make);
  $('cancel').addEventListener('click', cancel);
  $('save-zip').addEventListener('click', saveZip);
  startWorker();
}

init();
