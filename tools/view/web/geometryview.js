'use strict';
// ---- The frame view (draw files) and the scene view (scene files): the geometry drawn ----
// Each view asks the server for a geometry pack (a binary block, drawing.js draws it) and shows
// the tree beside it: picking a record or a node opens it there, and choosing a record in the
// list, or a search result, outlines or frames what it drew.

// A binary answer: from the server, or base64 in a page written with its data.
async function askBinary(route, params = {}) {
  const key = requestKey(route, params);
  if (WRITTEN) {
    if (!(key in WRITTEN)) throw new Error(key + ': not in this page (too large to write into it; serve the file instead)');
    const text = atob(WRITTEN[key]);
    const bytes = new Uint8Array(text.length);
    for (let i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);
    return bytes.buffer;
  }
  const response = await fetch('api/' + key, {cache: 'no-store'});
  if (!response.ok) throw new Error(key + ': ' + response.status + ' ' + (await response.text()));
  return response.arrayBuffer();
}

// A switch in a view's bar.
function toggle(bar, label, on, changed) {
  const box = el('label', 'switch');
  const input = el('input');
  input.type = 'checkbox';
  input.checked = on;
  input.addEventListener('change', () => changed(input.checked));
  box.append(input, document.createTextNode(' ' + label));
  bar.append(box);
  return input;
}

// The drawing of a view in its panel, with the solid, wireframe and normals switches; the page's
// timing hooks are set on the body at its first image (data-first-image, in milliseconds since the
// page opened) and at the first image of all of it (data-whole-image).
function makeDrawing(panel, onPick) {
  if (new URLSearchParams(location.search).get('full') === '1') document.body.classList.add('drawing-full');
  const bar = el('div', 'draw-bar');
  const area = el('div', 'draw-area');
  const status = el('div', 'draw-status');
  panel.append(bar, area, status);
  const drawing = AkDrawing.create(area, {
    onPick,
    onReady() { if (!document.body.dataset.firstImage) document.body.dataset.firstImage = performance.now().toFixed(0); },
    onWhole() { if (!document.body.dataset.wholeImage) document.body.dataset.wholeImage = performance.now().toFixed(0); }
  });
  const controls = el('span', 'draw-switches');
  toggle(controls, 'Solid', true, (on) => drawing.show({solid: on}));
  toggle(controls, 'Wireframe', false, (on) => drawing.show({wireframe: on}));
  toggle(controls, 'Normals', false, (on) => drawing.show({normals: on}));
  return {drawing, bar, controls, status};
}

// Picks at a pixel the address names (&pick=X,Y), once the drawing is shown.
function pickFromParams(params, view) {
  const at = (params.get('pick') || '').split(',').map(Number);
  if (at.length === 2 && at.every(Number.isFinite)) view.onPick(view.drawing.pickAt(at[0], at[1]));
}

// The tree beside the drawing: the tree view's, opened once.
async function openTree() {
  const tree = VIEWS.find((view) => view.name === 'tree');
  if (tree && !tree.opened) {
    tree.opened = true;
    await tree.open(new URLSearchParams());
  }
}

// Opens the tree down to a node picked in the drawing.
async function openReveal(id) {
  const r = await ask('reveal', {id});
  const top = $('tree').firstChild;
  if (top) await openWay(top, r.way);
}

// ---- Frame view ----

const frameView = {
  name: 'frame', title: 'Frame',
  applies: () => INFO.kind === 'draw',
  items: [], frame: null, record: -1,

  async open(params) {
    const panel = document.querySelector('section.view[data-view="frame"]');
    Object.assign(this, makeDrawing(panel, (item) => this.onPick(item)));
    this.frameSelect = el('select', 'draw-frame');
    for (const [frame] of INFO.frames) {
      const option = el('option', null, 'Frame ' + frame);
      option.value = frame;
      this.frameSelect.append(option);
    }
    this.frameSelect.addEventListener('change', () => this.load(Number(this.frameSelect.value), -1).catch(failed));
    this.slider = el('input', 'draw-slider');
    this.slider.type = 'range';
    this.slider.addEventListener('input', () => this.stepTo(Number(this.slider.value)));
    const back = el('button', 'draw-step', '\u25c0'), next = el('button', 'draw-step', '\u25b6');
    back.title = 'The record before (left arrow)';
    next.title = 'The next record (right arrow)';
    back.addEventListener('click', () => this.stepBy(-1));
    next.addEventListener('click', () => this.stepBy(1));
    this.label = el('span', 'draw-label');
    this.cameraSelect = el('select', 'draw-camera');
    for (const [value, text] of [['channel', 'As the channel saw it'], ['orbit', 'Orbit camera']]) {
      const option = el('option', null, text);
      option.value = value;
      this.cameraSelect.append(option);
    }
    this.cameraSelect.addEventListener('change', () => this.drawing.camera(this.cameraSelect.value));
    this.bar.append(this.frameSelect, back, this.slider, next, this.label, this.cameraSelect, this.controls);
    document.addEventListener('keydown', (e) => {
      if (document.body.dataset.view !== 'frame' || /^(INPUT|SELECT|TEXTAREA)$/.test(e.target.tagName) && e.target !== this.slider) return;
      if (e.key === 'ArrowLeft' || e.key === 'ArrowRight') { e.preventDefault(); this.stepBy(e.key === 'ArrowLeft' ? -1 : 1); }
    });
    recordListeners.push((index) => this.chosen(index));
    // The tree beside fills while the drawing loads.
    const tree = openTree();
    const record = params.has('record') ? Number(params.get('record')) : -1;
    const entry = INFO.frames.find(([, first, count]) => record >= first && record < first + count);
    const frame = params.has('frame') ? Number(params.get('frame')) : entry ? entry[0] : INFO.frames.length ? INFO.frames[0][0] : null;
    if (frame === null) { this.status.textContent = 'The file holds no frame.'; return; }
    await this.load(frame, -1);
    await tree;
    if (record >= 0) { this.stepTo(record); await showRecord(record, false); }
    pickFromParams(params, this);
  },

  async load(frame, record) {
    const runs = INFO.frames.filter(([number]) => number === frame);
    if (!runs.length) throw new Error('frame ' + frame + ': no such frame in this file');
    this.frame = frame;
    this.frameSelect.value = frame;
    this.first = runs[0][1];
    this.last = runs[runs.length - 1][1] + runs[runs.length - 1][2] - 1;
    this.slider.min = this.first;
    this.slider.max = this.last;
    this.status.textContent = 'Loading frame ' + frame + '\u2026';
    const started = performance.now();
    this.items = this.drawing.load(await askBinary('geometry', {frame}), 'frame');
    this.byRecord = new Map(this.items.map((item, i) => [item.key, i]));
    this.status.textContent = this.items.length.toLocaleString() + ' draws in frame ' + frame + ', loaded in ' +
      ((performance.now() - started) / 1000).toFixed(2) + ' s. Drag to turn the orbit camera; click to pick a draw.';
    this.stepTo(record >= 0 ? record : this.last, record >= 0);
    if (record >= 0) await showRecord(record, false);
  },

  // The last drawn item at or before a record.
  itemAtOrBefore(record) {
    let found = -1;
    for (let i = 0; i < this.items.length && this.items[i].key <= record; ++i) found = i;
    return found;
  },

  stepTo(record, outline = true) {
    this.record = Math.max(this.first, Math.min(this.last, record));
    this.slider.value = this.record;
    this.label.textContent = 'up to record ' + this.record + ' (' + (this.record - this.first + 1) + ' of ' + (this.last - this.first + 1) + ')';
    this.drawing.step(this.record >= this.last ? -1 : this.itemAtOrBefore(this.record));
    this.drawing.outline(outline && this.byRecord.has(this.record) ? this.byRecord.get(this.record) : -1);
    setParam({view: 'frame', frame: this.frame, record: this.record});
  },

  stepBy(delta) { this.stepTo(this.record + delta); },

  // A record chosen in the list: outlined when it drew something in this frame.
  chosen(index) {
    if (!this.drawing || !this.byRecord) return;
    this.drawing.outline(this.byRecord.has(index) ? this.byRecord.get(index) : -1);
  },

  onPick(item) {
    if (item < 0) { this.drawing.outline(-1); return; }
    const record = this.items[item].key;
    this.drawing.outline(item);
    showRecord(record, false).catch(failed);
    document.body.dataset.picked = record;
  }
};
addView(frameView);

// ---- Scene view ----

const sceneView = {
  name: 'scene', title: 'Scene',
  applies: () => INFO.kind === 'scene',
  items: [],

  async open(params) {
    const panel = document.querySelector('section.view[data-view="scene"]');
    Object.assign(this, makeDrawing(panel, (item) => this.onPick(item)));
    this.bar.append(el('span', 'draw-label', 'Every geometry placed by its transforms; the bounds of the chosen node below it as spheres.'),
      this.controls);
    const tree = openTree();
    resultListeners.push((r) => this.found(r));
    this.status.textContent = 'Loading the scene\u2026';
    const started = performance.now();
    this.items = this.drawing.load(await askBinary('geometry', {}), 'scene');
    await tree;
    this.byId = new Map(this.items.map((item, i) => [item.key, i]));
    this.status.textContent = this.items.length.toLocaleString() + ' nodes, loaded in ' +
      ((performance.now() - started) / 1000).toFixed(2) + ' s. Drag to turn, wheel to zoom; click to pick a node.';
    pickFromParams(params, this);
  },

  // A search result: the nearest node on its way down, framed.
  found(r) {
    if (!this.drawing || !this.byId) return;
    for (let i = r.way.length - 1; i >= 0; --i) {
      const item = this.byId.get(r.way[i][0]);
      if (item !== undefined) { this.choose(item); this.drawing.look(item); return; }
    }
  },

  choose(item) {
    this.drawing.outline(item);
    this.drawing.spheres(item);
  },

  async onPick(item) {
    if (item < 0) { this.choose(-1); return; }
    this.choose(item);
    document.body.dataset.picked = this.items[item].key;
    await openReveal(this.items[item].key);
  }
};
addView(sceneView);
