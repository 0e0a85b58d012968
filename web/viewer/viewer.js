// The viewer: opens VFK files, converts them in a Worker and shows the
// drawing itself, with its layers, search, what the file says of a parcel or
// building, the report's findings and downloads. Nothing leaves the page.
'use strict';

const strings = self.VORLANE_STRINGS;
const $ = (id) => document.getElementById(id);
const state = {
  language: 'cs',
  files: [],         // { name, bytes }
  drawing: null,     // the drawing shown: Uint8Array
  report: null,
  attributes: {},    // id -> { layer, attributes }
  svg: null,
  panzoom: null,
  found: null,
};

// The Worker, made from its source in this page: a page opened from a
// folder may not start a Worker from a file.
const worker = new Worker(URL.createObjectURL(
  new Blob([self.VORLANE_WORKER_SOURCE], { type: 'text/javascript' })));
let nextRequest = 1;
const waiting = new Map();
worker.onmessage = (event) => {
  const { id, progress, result, attributes, error } = event.data;
  const request = waiting.get(id);
  if (!request) return;
  if (progress !== undefined) {
    request.onProgress(progress);
    return;
  }
  waiting.delete(id);
  if (error) request.reject(new Error(error));
  else request.resolve({ result, attributes });
};

function convertInWorker(options, withAttributes, onProgress = () => {}) {
  const id = nextRequest++;
  return new Promise((resolve, reject) => {
    waiting.set(id, { resolve, reject, onProgress });
    worker.postMessage({ id, files: state.files, options, withAttributes });
  });
}

function text(key) { return strings[state.language][key]; }

function showTexts() {
  document.documentElement.lang = state.language;
  document.title = text('title');
  for (const element of document.querySelectorAll('[data-text]')) {
    element.textContent = text(element.dataset.text);
  }
  $('search').placeholder = text('searchHint');
  if (state.report) showFindings();
}

function say(message, isError = false) {
  $('messages').textContent = message;
  $('messages').classList.toggle('error', isError);
}

// Opening files.

async function open(fileList) {
  const files = Array.from(fileList);
  if (files.length === 0) return;
  state.files = await Promise.all(files.map(async (file) => ({
    name: file.name,
    bytes: await file.arrayBuffer(),
  })));
  await convertAndShow();
}

async function convertAndShow() {
  const total = state.files.reduce((sum, file) => sum + file.bytes.byteLength, 0);
  const progress = $('progress');
  progress.hidden = false;
  progress.max = total;
  progress.value = 0;
  say(text('reading'));
  try {
    const exact = $('drawing').value === 'exact';
    const { result, attributes } = await convertInWorker(
      { exact }, true, (bytes) => { progress.value = bytes; });
    progress.hidden = true;
    state.report = result.report;
    state.attributes = attributes || {};
    const status = state.report && state.report.conversions[0].status;
    if (result.drawing.length === 0 || status === 'refused' || status === 'empty') {
      const why = status === 'refused' ? text('notVfk') : text('nothing');
      say(`${state.files.map((file) => file.name).join(', ')}: ${why}\n${result.messages}`, true);
      clearMap();
      return;
    }
    state.drawing = result.drawing;
    say(`${result.messages}${text('took')} ${Math.round(result.milliseconds)} ms`);
    showDrawing();
  } catch (error) {
    progress.hidden = true;
    say(text('failed') + error.message, true);
  }
}

// The drawing.

function clearMap() {
  if (state.panzoom) state.panzoom.destroy();
  state.panzoom = null;
  state.svg = null;
  $('map').replaceChildren();
  for (const id of ['searching', 'details', 'layering', 'reporting', 'toolbar']) $(id).hidden = true;
}

function showDrawing() {
  clearMap();
  const source = new TextDecoder().decode(state.drawing);
  const parsed = new DOMParser().parseFromString(source, 'image/svg+xml');
  const svg = document.importNode(parsed.documentElement, true);
  $('map').append(svg);
  state.svg = svg;
  if ($('orientation').value === 'north') turnNorthUp(svg);
  state.panzoom = Panzoom(svg, { maxScale: 5000, minScale: 0.5, step: 0.3, canvas: true });
  showLayers();
  showFindings();
  for (const id of ['searching', 'layering', 'reporting', 'toolbar']) $(id).hidden = false;
  $('map').focus();
}

// The drawing's y runs down, as the SVG has it, so that in a CAD program's
// y-up view north is at the top; in the page that puts south at the top.
// North up flips every layer about the middle of the view, and flips each
// text and symbol back about its own place, its angle mirrored, so that it
// reads as it should.
function turnNorthUp(svg) {
  const box = svg.viewBox.baseVal;
  const middle = 2 * box.y + box.height;
  for (const layer of svg.querySelectorAll(':scope > g')) {
    layer.setAttribute('transform', `matrix(1 0 0 -1 0 ${middle})`);
  }
  for (const element of svg.querySelectorAll(':scope > g > text, :scope > g > use')) {
    const x = Number(element.getAttribute('x'));
    const y = Number(element.getAttribute('y'));
    const turned = /rotate\(([-0-9.e]+)/.exec(element.getAttribute('transform') || '');
    const angle = turned ? -Number(turned[1]) : 0;
    element.setAttribute('transform',
      `matrix(1 0 0 -1 0 ${2 * y})` + (angle !== 0 ? ` rotate(${angle} ${x} ${y})` : ''));
  }
}

// Where a point of the drawing (its own coordinates) is drawn, in the
// SVG element's own pixels, before panning and zooming.
function pixelOf(x, y) {
  const svg = state.svg;
  const box = svg.viewBox.baseVal;
  const width = svg.clientWidth;
  const height = svg.clientHeight;
  const scale = Math.min(width / box.width, height / box.height);
  if ($('orientation').value === 'north') y = 2 * box.y + box.height - y;
  return {
    x: (x - box.x) * scale + (width - box.width * scale) / 2,
    y: (y - box.y) * scale + (height - box.height * scale) / 2,
    scale,
  };
}

// Zooms so that the box of the drawing's coordinates fills a third of the
// view, centred.
function zoomTo(left, top, right, bottom) {
  const svg = state.svg;
  const from = pixelOf(left, top);
  const to = pixelOf(right, bottom);
  const size = Math.max(Math.abs(to.x - from.x), Math.abs(to.y - from.y), 0.5);
  const zoom = Math.min(5000, Math.max(1, Math.min(svg.clientWidth, svg.clientHeight) / 3 / size));
  state.panzoom.zoom(zoom, { animate: false, force: true });
  const centreX = (from.x + to.x) / 2;
  const centreY = (from.y + to.y) / 2;
  setTimeout(() => state.panzoom.pan(svg.clientWidth / 2 - centreX, svg.clientHeight / 2 - centreY,
                                     { animate: false, force: true }));
}

function zoomToElement(element) {
  if (state.found) state.found.classList.remove('vorlane-found');
  state.found = element;
  element.classList.add('vorlane-found');
  const box = element.getBBox();
  zoomTo(box.x, box.y, box.x + box.width, box.y + box.height);
}

function elementWithId(id) {
  return state.svg.querySelector(`path[id="${CSS.escape(id)}"]`);
}

// Layers.

function showLayers() {
  const list = $('layers');
  list.replaceChildren();
  const counts = state.report.conversions[0].layers || {};
  for (const group of state.svg.querySelectorAll(':scope > g[layer]')) {
    const name = group.getAttribute('layer');
    const held = counts[name] || {};
    const count = (held.paths || 0) + (held.texts || 0) + (held.symbols || 0) + (held.arrows || 0);
    const item = document.createElement('li');
    const label = document.createElement('label');
    const box = document.createElement('input');
    box.type = 'checkbox';
    box.checked = true;
    box.dataset.layer = name;
    box.addEventListener('change', () => { group.style.display = box.checked ? '' : 'none'; });
    label.append(box, ' ' + name);
    const number = document.createElement('span');
    number.className = 'count';
    number.textContent = String(count);
    item.append(label, number);
    list.append(item);
  }
}

// Search: a parcel by its number as the cadastre writes it, or a building
// by its house number.
function search(query) {
  const wanted = query.trim().replace(/\s+/g, ' ');
  if (wanted === '') return;
  const plot = /^st\.? ?(.+)$/i.exec(wanted);
  const house = /^(?:č\.? ?p\.?|č\.? ?e\.?)? ?(\d+)$/i.exec(wanted);
  let found = null;
  const entries = Object.entries(state.attributes);
  const parcelNumber = plot ? 'st. ' + plot[1] : wanted;
  for (const [id, entry] of entries) {
    if (entry.attributes.cislo === parcelNumber && elementWithId(id)) {
      found = id;
      break;
    }
  }
  if (!found && house) {
    for (const [id, entry] of entries) {
      if (entry.attributes.cislo_domovni === house[1] && elementWithId(id)) {
        found = id;
        break;
      }
    }
  }
  if (!found) {
    $('search-result').textContent = text('notFound') + wanted;
    return;
  }
  $('search-result').textContent = text('found') + wanted;
  zoomToElement(elementWithId(found));
  showAttributes(found);
}

// What the file says of a parcel or building.
function showAttributes(id) {
  const list = $('attributes');
  list.replaceChildren();
  const element = elementWithId(id);
  const entry = state.attributes[id];
  const rows = [[text('id'), id],
                [text('layer'), entry ? entry.layer : element.parentNode.getAttribute('layer')]];
  if (entry) for (const [name, value] of Object.entries(entry.attributes)) rows.push([name, value]);
  for (const [name, value] of rows) {
    const term = document.createElement('dt');
    term.textContent = name;
    const description = document.createElement('dd');
    description.textContent = value;
    list.append(term, description);
  }
  $('details').hidden = false;
}

// Findings, each one click away from its place.
function findingText(finding) {
  const what = [finding.kind];
  for (const key of ['of', 'label', 'reason', 'block', 'line', 'text']) {
    if (finding[key] !== undefined && typeof finding[key] !== 'object') what.push(finding[key]);
  }
  if (finding.parcels) what.push(finding.parcels.filter(Boolean).join(', '));
  else if (finding.ids) what.push(finding.ids.join(', '));
  return what.join(' · ');
}

function showFindings() {
  const list = $('findings');
  list.replaceChildren();
  const findings = state.report.conversions[0].findings || [];
  if (findings.length === 0) {
    const item = document.createElement('li');
    item.textContent = text('noFindings');
    list.append(item);
  }
  for (const finding of findings) {
    const item = document.createElement('li');
    item.textContent = findingText(finding);
    item.addEventListener('click', () => {
      const place = finding.places && finding.places[0];
      const element = finding.ids && finding.ids[0] && elementWithId(finding.ids[0]);
      if (place) zoomTo(place[0] - 2, place[1] - 2, place[0] + 2, place[1] + 2);
      else if (element) zoomToElement(element);
      if (element) showAttributes(finding.ids[0]);
    });
    list.append(item);
  }
}

// Downloads.

function save(bytes, name, type) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([bytes], { type }));
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 60000);
}

function drawingName(extension) {
  const name = state.report.conversions[0].drawing;
  return name.replace(/\.svg$/, extension);
}

async function downloadDxf() {
  const exact = $('drawing').value === 'exact';
  const { result } = await convertInWorker({ exact, format: 'dxf' }, false);
  save(result.drawing, drawingName('.dxf'), 'image/vnd.dxf');
}

// Wiring.

$('files').addEventListener('change', (event) => open(event.target.files));
document.addEventListener('dragover', (event) => {
  event.preventDefault();
  document.body.classList.add('dragging');
});
document.addEventListener('dragleave', () => document.body.classList.remove('dragging'));
document.addEventListener('drop', (event) => {
  event.preventDefault();
  document.body.classList.remove('dragging');
  open(event.dataTransfer.files);
});
$('drawing').addEventListener('change', () => { if (state.files.length) convertAndShow(); });
$('orientation').addEventListener('change', () => { if (state.drawing) showDrawing(); });
$('language').addEventListener('click', () => {
  state.language = state.language === 'cs' ? 'en' : 'cs';
  showTexts();
});
$('search-form').addEventListener('submit', (event) => {
  event.preventDefault();
  search($('search').value);
});
$('fit').addEventListener('click', () => state.panzoom && state.panzoom.reset({ animate: false }));
$('download-svg').addEventListener('click', () => save(state.drawing, drawingName('.svg'),
                                                       'image/svg+xml'));
$('download-dxf').addEventListener('click', downloadDxf);
$('download-report').addEventListener('click', () => save(
  JSON.stringify(state.report, null, 2) + '\n', drawingName('.json'), 'application/json'));

const map = $('map');
map.addEventListener('wheel', (event) => {
  if (state.panzoom) state.panzoom.zoomWithWheel(event);
}, { passive: false });
map.addEventListener('keydown', (event) => {
  const panzoom = state.panzoom;
  if (!panzoom) return;
  const step = 60 / panzoom.getScale();
  const moves = { ArrowLeft: [step, 0], ArrowRight: [-step, 0], ArrowUp: [0, step],
                  ArrowDown: [0, -step] };
  if (moves[event.key]) {
    panzoom.pan(moves[event.key][0], moves[event.key][1], { relative: true, animate: false });
  } else if (event.key === '+' || event.key === '=') {
    panzoom.zoomIn({ animate: false });
  } else if (event.key === '-') {
    panzoom.zoomOut({ animate: false });
  } else if (event.key === '0') {
    panzoom.reset({ animate: false });
  } else {
    return;
  }
  event.preventDefault();
});
// A click that did not drag shows what the file says of a parcel or building.
let pressedAt = null;
map.addEventListener('pointerdown', (event) => { pressedAt = [event.clientX, event.clientY]; });
map.addEventListener('click', (event) => {
  if (!pressedAt || Math.hypot(event.clientX - pressedAt[0], event.clientY - pressedAt[1]) > 4) return;
  const element = event.target.closest && event.target.closest('path[id]');
  if (element) showAttributes(element.id);
});

showTexts();
