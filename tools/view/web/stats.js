'use strict';
// ---- Statistics: what a draw file's frames cost and what a scene file holds, with charts ----
// Every chart is drawn as it is made (no animation); each canvas then tells how many of its pixels were
// drawn (data-ink), and the panel how many charts it drew (data-charts).

const PALETTE = ['#2b66d1', '#d1582b', '#2f9e5b', '#8c4fc4', '#c79a1b', '#1b9fb0', '#c43f7a', '#6b7a8f'];

// Counts the pixels a chart drew.
function markInk(canvas) {
  const {width, height} = canvas;
  const pixels = canvas.getContext('2d').getImageData(0, 0, width, height).data;
  let ink = 0;
  for (let i = 3; i < pixels.length; i += 4) if (pixels[i]) ++ink;
  canvas.dataset.ink = ink;
}

// A chart with a title in `parent`: kind 'bar' or 'line', labels on x, datasets [{label, data}].
function chart(parent, title, kind, labels, datasets, options = {}) {
  const box = el('figure', 'chart');
  const area = el('div', 'chart-area');
  const canvas = el('canvas');
  area.append(canvas);
  box.append(el('figcaption', null, title), area);
  parent.append(box);
  const styled = datasets.map((set, i) => Object.assign({
    backgroundColor: PALETTE[i % PALETTE.length], borderColor: PALETTE[i % PALETTE.length], borderWidth: kind === 'line' ? 2 : 0,
    pointRadius: labels.length > 60 ? 0 : 2,
  }, set));
  new Chart(canvas, {type: kind, data: {labels, datasets: styled}, options: Object.assign({
    animation: false, responsive: true, maintainAspectRatio: false,
    plugins: {legend: {display: datasets.length > 1, position: 'bottom'}},
    scales: {y: {beginAtZero: true}},
  }, options)});
  markInk(canvas);
}

// A table of rows (arrays of cells), the first row its head, in a box that scrolls sideways.
function statsTable(rows, cls) {
  const box = el('div', 'table-box');
  const table = el('table', 'stats-table ' + (cls || ''));
  rows.forEach((cells, i) => {
    const row = el('tr');
    row.append(...cells.map((cell) => el(i ? 'td' : 'th', null, typeof cell === 'number' ? cell.toLocaleString() : cell)));
    table.append(row);
  });
  box.append(table);
  return box;
}

const DISTINCT = ['geometries', 'states', 'textures', 'shaders', 'materials'];
const sum = (counts) => Object.values(counts).reduce((a, b) => a + b, 0);

async function drawStats(s, panel) {
  const frames = s.frames, labels = frames.map((f) => String(f.frame)), t = s.total;
  panel.append(el('p', 'stats-summary', t.frames + (t.frames === 1 ? ' frame: ' : ' frames: ') + t.draws.toLocaleString() +
    ' draws, ' + t.vertices.toLocaleString() + ' vertices, ' + sum(t.primitives).toLocaleString() + ' primitives, ' +
    t.stateChanges.toLocaleString() + ' state changes (' + t.redundantStateChanges.toLocaleString() + ' redundant)'));
  const charts = el('div', 'charts');
  panel.append(charts);
  chart(charts, 'Draws and state changes per frame', 'bar', labels, [
    {label: 'draws', data: frames.map((f) => f.draws)},
    {label: 'state changes', data: frames.map((f) => f.stateChanges)},
    {label: 'redundant state changes', data: frames.map((f) => f.redundantStateChanges)}]);
  chart(charts, 'Vertices and primitives per frame', 'line', labels, [
    {label: 'vertices', data: frames.map((f) => f.vertices)},
    {label: 'primitives', data: frames.map((f) => sum(f.primitives))}]);
  chart(charts, 'Distinct objects used per frame', 'line', labels,
    DISTINCT.map((kind) => ({label: kind, data: frames.map((f) => f.distinct[kind])})));
  const bins = Object.keys(t.bins);
  chart(charts, 'Draws per channel bin', 'bar', labels,
    bins.map((bin) => ({label: bin, data: frames.map((f) => f.bins[bin] || 0)})),
    {scales: {x: {stacked: true}, y: {stacked: true, beginAtZero: true}}});
  const kinds = Object.keys(t.records);
  panel.append(el('h2', null, 'Frames'), statsTable([
    ['frame', ...kinds, 'draws', 'vertices', 'primitives', 'state changes', 'redundant', ...DISTINCT],
    ...frames.map((f) => [f.frame, ...kinds.map((k) => f.records[k]), f.draws, f.vertices, sum(f.primitives),
      f.stateChanges, f.redundantStateChanges, ...DISTINCT.map((kind) => f.distinct[kind])]),
    ['all', ...kinds.map((k) => t.records[k]), t.draws, t.vertices, sum(t.primitives), t.stateChanges,
      t.redundantStateChanges, ...DISTINCT.map((kind) => t.distinct[kind])]], 'frames-table'));
}

async function sceneStats(s, panel) {
  panel.append(el('p', 'stats-summary', 'Depth of the node graph: ' + s.depth + '; vertices: ' +
    s.vertices.unique.toLocaleString() + ' unique, ' + s.vertices.instanced.toLocaleString() + ' instanced'));
  const charts = el('div', 'charts');
  panel.append(charts);
  const nodes = Object.keys(s.nodes);
  chart(charts, 'Nodes by kind', 'bar', nodes, [{label: 'nodes', data: nodes.map((k) => s.nodes[k])}]);
  // The classes used most, by their references.
  const classes = Object.keys(s.classes).sort((a, b) => s.classes[b].references - s.classes[a].references).slice(0, 20);
  chart(charts, 'Objects by class: distinct and their references (instanced use)', 'bar', classes, [
    {label: 'unique', data: classes.map((c) => s.classes[c].unique)},
    {label: 'references', data: classes.map((c) => s.classes[c].references)}], {indexAxis: 'y', scales: {x: {beginAtZero: true}}});
  const primitives = Object.keys(s.primitives);
  chart(charts, 'Primitives', 'bar', primitives, [
    {label: 'unique', data: primitives.map((p) => s.primitives[p].unique)},
    {label: 'instanced', data: primitives.map((p) => s.primitives[p].instanced)}]);
  const levels = Object.keys(s.errors);
  chart(charts, 'Error marks by level', 'bar', levels.map((l) => 'level ' + l),
    [{label: 'marks', data: levels.map((l) => s.errors[l])}]);
  panel.append(el('h2', null, 'Classes'), statsTable([['class', 'unique', 'references', 'by address'],
    ...Object.keys(s.classes).map((c) => [c, s.classes[c].unique, s.classes[c].references, s.classes[c].byAddress])]));
}

addView({
  name: 'stats',
  title: 'Statistics',
  applies: () => true,
  async open() {
    const panel = $('stats');
    const s = await ask('stats');
    panel.append(el('h1', null, 'Statistics'));
    await (s.kind === 'draw' ? drawStats(s, panel) : sceneStats(s, panel));
    panel.dataset.charts = panel.querySelectorAll('canvas[data-ink]').length;
  },
});
