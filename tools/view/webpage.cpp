#include "webpage.h"

namespace view {

namespace {

// Every text from a file reaches the document as textContent or as an attribute value, never as
// markup. The page asks its server for one level of the tree at a time (or reads the data written
// into it) and holds only what was unfolded.
const char* const s_page = R"PAGE(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<meta http-equiv="Content-Security-Policy" content="default-src 'none'; script-src 'unsafe-inline'; style-src 'unsafe-inline'; connect-src 'self'; img-src data:">
<meta name="referrer" content="no-referrer">
<title>akdebug viewer</title>
<style>
:root {
  --bg: #f6f7f9; --panel: #ffffff; --fg: #1c2230; --muted: #687186; --line: #e2e5eb;
  --head: #18202d; --head-fg: #e9edf4; --accent: #2b66d1;
  --type: #7250ad; --value: #0f6a3f; --hover: #edf2fa;
  --mono: "DejaVu Sans Mono", ui-monospace, Menlo, Consolas, monospace;
  --sans: "DejaVu Sans", system-ui, -apple-system, "Segoe UI", sans-serif;
}
* { box-sizing: border-box; }
html, body { margin: 0; height: 100%; }
body { font: 13px/1.5 var(--sans); color: var(--fg); background: var(--bg); }
header {
  position: fixed; top: 0; left: 0; right: 0; height: 50px; z-index: 10;
  display: flex; align-items: center; gap: 16px; padding: 0 16px;
  background: var(--head); color: var(--head-fg); box-shadow: 0 1px 4px rgba(0, 0, 0, .25);
}
.brand { font-weight: 700; font-size: 15px; letter-spacing: .02em; white-space: nowrap; }
.brand span { font-weight: 400; color: #93a0b6; margin-left: 4px; }
#fileinfo { flex: 1; min-width: 0; display: flex; gap: 10px; align-items: baseline; color: #aeb8ca; }
#filekind { text-transform: uppercase; font-size: 10.5px; letter-spacing: .08em; padding: 1px 7px;
  border: 1px solid #3d4a60; border-radius: 9px; color: #cdd5e3; }
#filename { font-family: var(--mono); font-size: 12px; color: #e9edf4; overflow: hidden; text-overflow: ellipsis; white-space: nowrap; }
#filestats { white-space: nowrap; font-size: 12px; }
#search { display: flex; gap: 6px; }
#q { width: 320px; padding: 6px 10px; border-radius: 6px; border: 1px solid #3d4a60; background: #0e1520;
  color: #fff; font: 13px var(--sans); outline: none; }
#q:focus { border-color: var(--accent); box-shadow: 0 0 0 2px rgba(43, 102, 209, .35); }
#search button { padding: 6px 12px; border-radius: 6px; border: 0; background: var(--accent); color: #fff;
  font: 600 13px var(--sans); cursor: pointer; }
.switch { display: flex; align-items: center; gap: 6px; white-space: nowrap; color: #d3dae6; cursor: pointer; user-select: none; }
#banner { position: fixed; top: 50px; left: 0; right: 0; z-index: 9; padding: 6px 16px; background: #fdeaea;
  color: #9c221b; border-bottom: 1px solid #f2b8b5; }
main { position: absolute; top: 50px; bottom: 0; left: 0; right: 0; display: flex; }
body.bannered main { top: 82px; }
aside { width: 330px; flex: none; display: flex; flex-direction: column; background: var(--panel);
  border-right: 1px solid var(--line); overflow: hidden; }
aside[hidden], aside section[hidden] { display: none; }
aside section { display: flex; flex-direction: column; min-height: 0; }
#results { flex: 1 1 auto; }
body.draw #results { flex: 0 1 auto; max-height: 45%; border-bottom: 1px solid var(--line); }
#frames { flex: 1 1 auto; }
#rlist, #flist { overflow: auto; min-height: 0; }
aside h2 { margin: 14px 14px 6px; font-size: 11px; font-weight: 700; letter-spacing: .08em;
  text-transform: uppercase; color: var(--muted); }
aside h2 small { font-weight: 400; text-transform: none; letter-spacing: 0; margin-left: 4px; }
#content { flex: 1; min-width: 0; overflow: auto; padding: 12px 20px 48px; }
.hint { color: var(--muted); margin: 8px 14px; }
#legend { flex: none; margin-top: auto; padding: 10px 14px; border-top: 1px solid var(--line); color: var(--muted); font-size: 12px;
  display: flex; flex-wrap: wrap; gap: 6px; align-items: center; }

/* Search results */
#results ol { list-style: none; margin: 0; padding: 0 6px 6px; }
.result { padding: 6px 8px; border-radius: 6px; cursor: pointer; }
.result:hover { background: var(--hover); }
.result.chosen { background: #e3ecfb; }
.result .r-name { font-weight: 600; }
.result .r-name:empty::before { content: "(no name)"; color: var(--muted); font-weight: 400; }
.result .r-meta, .result .r-path { font-family: var(--mono); font-size: 11.5px; color: var(--muted);
  overflow: hidden; text-overflow: ellipsis; white-space: nowrap; }
.result .r-meta .type { color: var(--type); }

/* Frames and records of a draw file */
.frame-head { display: flex; gap: 8px; align-items: baseline; padding: 4px 14px; cursor: pointer; font-weight: 600; }
.frame-head:hover { background: var(--hover); }
.frame-head .count { font-weight: 400; color: var(--muted); font-size: 12px; }
.recs { list-style: none; margin: 0 0 4px; padding: 0 6px 0 22px; }
.frame:not(.open) .recs { display: none; }
.rec { display: flex; gap: 8px; align-items: baseline; padding: 2px 8px; border-radius: 5px; cursor: pointer; white-space: nowrap; }
.rec:hover { background: var(--hover); }
.rec.chosen { background: #e3ecfb; }
.rec .ri { font-family: var(--mono); font-size: 11.5px; color: var(--muted); min-width: 3.5em; text-align: right; }
.rec .rname { flex: 1; min-width: 0; overflow: hidden; text-overflow: ellipsis; }
.rec .tag { flex: none; }
.kind { font-size: 11px; padding: 0 6px; border-radius: 9px; background: #eceff4; color: #4b5468; }
.kind-geometry { background: #e4f3ea; color: #17683f; }
.kind-draw-function { background: #e8eefb; color: #2a58ad; }
.kind-state-change { background: #f4ecfb; color: #6b3fa0; }
.record-head { display: flex; gap: 10px; align-items: baseline; margin: 4px 0 10px; padding-bottom: 8px; border-bottom: 1px solid var(--line); }
.record-head h1 { font-size: 16px; margin: 0; }

/* The tree */
.kids { margin-left: 11px; padding-left: 9px; border-left: 1px solid #dde1e8; }
.node:not(.open) > .kids { display: none; }
.row { display: flex; gap: 6px; align-items: baseline; padding: 1px 6px; border-radius: 4px; white-space: nowrap; }
.row:hover { background: var(--hover); }
.tw { flex: none; width: 14px; text-align: center; color: var(--muted); cursor: pointer; user-select: none; }
.name { font-weight: 600; }
.has-tip > .name { text-decoration: underline dotted #99a2b4; text-underline-offset: 3px; cursor: help; }
.type { font-family: var(--mono); font-size: 12px; color: var(--type); }
.eq { color: var(--muted); }
.value { font-family: var(--mono); font-size: 12px; color: var(--value); white-space: pre; }
a.value { color: var(--accent); text-decoration: none; }
a.value:hover { text-decoration: underline; }
.tag { font-size: 10.5px; padding: 0 6px; border-radius: 9px; background: #eceff4; color: var(--muted); }
.tag.redundant { background: #fff1d6; color: #8a5a00; }
.err { font-size: 12px; padding: 0 6px; border-radius: 4px; border: 1px solid; white-space: pre; }
.err b { margin-right: 4px; }
.lvl-info { color: #245bb8; background: #eaf1fd; border-color: #c4d6f6; }
.lvl-notice { color: #0f6b62; background: #e5f5f2; border-color: #b4e0d8; }
.lvl-debug { color: #655400; background: #faf5d9; border-color: #e8dc9a; }
.lvl-warn { color: #94540a; background: #fff1dc; border-color: #f1cc90; }
.lvl-fail { color: #ac2219; background: #fde9e8; border-color: #f1b5b1; }
button.more { margin: 2px 0 2px 26px; padding: 1px 10px; border: 1px solid var(--line); border-radius: 5px;
  background: var(--panel); color: var(--accent); font: 12px var(--sans); cursor: pointer; }
button.more:hover { background: var(--hover); }
.found > .row { background: #fff3bf; box-shadow: inset 3px 0 0 #e6b400; }
body:not(.show-adv) .adv { display: none; }
body:not(.show-adv) .adv-only > .row > .tw { visibility: hidden; }
</style>
</head>
<body>
<header>
  <div class="brand">akdebug<span>viewer</span></div>
  <div id="fileinfo"><span id="filekind"></span><span id="filename"></span><span id="filestats"></span></div>
  <form id="search" autocomplete="off">
    <input id="q" type="search" placeholder="Find objects by name, or by address 0x&hellip;" spellcheck="false">
    <button type="submit">Find</button>
  </form>
  <label class="switch"><input type="checkbox" id="adv"> Advanced</label>
</header>
<div id="banner" hidden></div>
<main>
  <aside id="side" hidden>
    <section id="results" hidden><h2>Results<small id="rcount"></small></h2><ol id="rlist"></ol></section>
    <section id="frames" hidden><h2>Frames<small id="fcount"></small></h2><div id="flist"></div></section>
    <div id="legend">Error levels:
      <span class="err lvl-info"><b>2</b>information</span>
      <span class="err lvl-warn"><b>5</b>file, environment</span>
      <span class="err lvl-fail"><b>6</b>precondition</span></div>
  </aside>
  <section id="content"><div id="tree"></div></section>
</main>
<script id="akdata" type="application/json">null</script>
<script>
'use strict';
const PAGE = 500;
const $ = (id) => document.getElementById(id);
function el(tag, cls, text) {
  const e = document.createElement(tag);
  if (cls) e.className = cls;
  if (text !== undefined && text !== null) e.textContent = shown(String(text));
  return e;
}
// A text from a file as the terminal output shows it: control characters as escapes and
// backslashes doubled, so that one attribute stays one row.
function shown(text) {
  return text.replace(/[\\\u0000-\u001f\u007f-\u009f]/g, (c) => {
    const named = {'\\': '\\\\', '\n': '\\n', '\t': '\\t', '\r': '\\r'}[c];
    return named || '\\x' + c.charCodeAt(0).toString(16).toUpperCase().padStart(2, '0');
  });
}
const DATA = JSON.parse($('akdata').textContent);
const api = DATA ? inlineApi(DATA) : serverApi();
let INFO = null;

// ---- Where the data comes from: the server, one level at a time, or the data in the page ----

function serverApi() {
  async function get(path, params) {
    const url = new URL(path, location.href);
    for (const [key, value] of Object.entries(params || {})) url.searchParams.set(key, value);
    const response = await fetch(url, {cache: 'no-store'});
    if (!response.ok) throw new Error(path + ': ' + response.status + ' ' + (await response.text()));
    return response.json();
  }
  return {
    info: () => get('api/info'),
    children: (id, offset, limit) => get('api/children', {id, offset, limit}),
    find: (q) => get('api/find', {q}),
    records: (offset, limit) => get('api/records', {offset, limit}),
    record: (index) => get('api/record', {index}),
  };
}

function inlineApi(D) {
  const S = D.strings, N = D.nodes, LIMIT = 200;
  const kidsOf = (id) => N[id][4] || [];
  const advanced = (id) => ((N[id][3] || 0) & 1) !== 0;
  function node(id) {
    const a = N[id], kids = kidsOf(id), flags = a[3] || 0;
    const n = {id, name: S[a[0]], type: S[a[1]], value: a[2]};
    if (flags & 1) n.adv = true;
    if (flags & 2) n.addr = a[2];
    if (a[6]) n.tip = a[6];
    if (a[7] && a[7].length) n.errors = a[7];
    if (kids.length) { n.n = kids.length; n.nb = kids.filter((k) => !advanced(k)).length; }
    return n;
  }
  const rootId = D.info.root ? D.info.root.id : -1;
  const recordOf = new Map();
  (D.records || []).forEach((r, i) => r.objects.forEach((o) => { if (!recordOf.has(o)) recordOf.set(o, i); }));
  const names = new Map();
  for (const entry of D.names) if (!names.has(entry[1])) names.set(entry[1], entry[2]);
  function result(id) {
    const way = [];
    for (let at = id; ;) {
      const parent = (N[at][5] || 0) - 1;
      if (at === rootId || parent < 0) { way.push([at, 0]); break; }
      way.push([at, kidsOf(parent).indexOf(at)]);
      at = parent;
    }
    way.reverse();
    const top = way[0][0], steps = way.slice(1).map((s) => S[N[s[0]][0]]);
    const r = {name: names.get(id) || '', type: S[N[id][1]], value: N[id][2], way};
    if (D.records) {
      if (!recordOf.has(top)) return null;
      r.record = recordOf.get(top);
      r.path = ['Record ' + r.record, S[N[top][0]]].concat(steps).join('/');
    } else {
      if (top !== rootId) return null;
      r.path = steps.join('/');
    }
    return r;
  }
  const asked = (value) => Promise.resolve(JSON.parse(JSON.stringify(value)));
  return {
    info: () => asked(D.info),
    children: (id, offset, limit) => {
      const kids = kidsOf(id);
      return asked({id, total: kids.length, offset, children: kids.slice(offset, offset + limit).map(node)});
    },
    find: (q) => {
      const out = {results: [], more: false}, seen = new Set();
      const add = (id) => {
        if (seen.has(id)) return true;
        seen.add(id);
        const r = result(id);
        if (!r) return true;
        if (out.results.length >= LIMIT) { out.more = true; return false; }
        out.results.push(r);
        return true;
      };
      const only = /^0[xX][0-9a-fA-F]{1,8}$/.test(q), hex = only || /^[0-9a-fA-F]{1,8}$/.test(q);
      const address = hex ? parseInt(only ? q.slice(2) : q, 16) : 0;
      if (address) {
        for (const [at, id] of D.addresses) if (at === address && !add(id)) return asked(out);
      }
      if (!only && q) {
        const lower = q.replace(/[A-Z]+/g, (s) => s.toLowerCase());
        for (const [name, id] of D.names) if (name.includes(lower) && !add(id)) return asked(out);
      }
      return asked(out);
    },
    records: (offset, limit) => asked({total: D.records.length, offset,
      records: D.records.slice(offset, offset + limit).map((r) => {
        const c = Object.assign({}, r); delete c.objects; return c; })}),
    record: (index) => {
      const r = Object.assign({}, D.records[index]);
      r.objects = r.objects.map(node);
      return asked(r);
    },
  };
}

// ---- Lists that load a window of their items and grow both ways ----

class Pager {
  // fetch(offset, limit) gives the items, render(item, index) their elements.
  constructor(list, total, fetch, render) {
    Object.assign(this, {list, total, fetch, render, start: 0, end: 0, loaded: false, busy: Promise.resolve()});
  }
  run(work) { this.busy = this.busy.then(work, work); return this.busy; }
  buttons() {
    for (const b of this.list.querySelectorAll(':scope > button.more')) b.remove();
    if (this.start > 0) {
      const b = el('button', 'more', '\u25b4 ' + Math.min(PAGE, this.start) + ' earlier (' + this.start.toLocaleString() + ' not shown)');
      b.addEventListener('click', () => this.run(() => this.grow(false)));
      this.list.prepend(b);
    }
    if (this.end < this.total) {
      const left = this.total - this.end;
      const b = el('button', 'more', '\u25be ' + Math.min(PAGE, left) + ' more (' + left.toLocaleString() + ' not shown)');
      b.addEventListener('click', () => this.run(() => this.grow(true)));
      this.list.append(b);
    }
  }
  async load(start) {
    const items = await this.fetch(start, PAGE);
    this.list.textContent = '';
    this.start = start; this.end = start + items.length; this.loaded = true;
    items.forEach((item, i) => this.list.append(this.render(item, start + i)));
    this.buttons();
  }
  async grow(after) {
    const from = after ? this.end : Math.max(0, this.start - PAGE);
    const items = await this.fetch(from, after ? PAGE : this.start - from);
    const made = items.map((item, i) => this.render(item, from + i));
    if (after) { this.list.append(...made); this.end += items.length; }
    else { this.list.prepend(...made); this.start = from; }
    this.buttons();
  }
  // The element of item `index`, loading what is needed.
  ensure(index) {
    return this.run(async () => {
      if (index < 0 || index >= this.total) return null;
      if (!this.loaded || index < this.start - PAGE || index >= this.end + PAGE) await this.load(index - index % PAGE);
      else if (index >= this.end) await this.grow(true);
      else if (index < this.start) await this.grow(false);
      return this.list.querySelector(':scope > [data-index="' + index + '"]');
    });
  }
  first() { return this.run(async () => { if (!this.loaded) await this.load(0); }); }
}

// ---- The tree ----

function levelClass(level) {
  return level <= 2 ? 'lvl-info' : level === 3 ? 'lvl-notice' : level === 4 ? 'lvl-debug' : level === 5 ? 'lvl-warn' : 'lvl-fail';
}

function makeNode(n, index) {
  const box = el('div', 'node');
  box.dataset.id = n.id;
  box.dataset.index = index;
  box.node = n;
  if (n.adv) box.classList.add('adv');
  if (n.n && !n.nb) box.classList.add('adv-only');
  const row = el('div', 'row');
  const twisty = el('span', 'tw', n.n ? '\u25b8' : '');
  row.append(twisty, el('span', 'name', n.name));
  if (n.type) row.append(el('span', 'type', '[' + n.type + ']'));
  if (n.value) {
    row.append(el('span', 'eq', '='));
    if (n.addr) {
      const link = el('a', 'value', n.value);
      link.href = '?find=' + encodeURIComponent(n.addr);
      link.title = 'Find the object at ' + n.addr + ' and where it is used';
      link.addEventListener('click', (e) => { e.preventDefault(); $('q').value = n.addr; search(n.addr, true).catch(failed); });
      row.append(link);
    } else {
      row.append(el('span', 'value', n.value));
    }
  }
  if (n.adv) row.append(el('span', 'tag', 'advanced'));
  const tips = [];
  if (n.tip !== undefined) { tips.push(n.tip); row.classList.add('has-tip'); }
  for (const [level, message] of n.errors || []) {
    const mark = el('span', 'err ' + levelClass(level));
    mark.append(el('b', null, level), document.createTextNode(shown(message)));
    row.append(mark);
    tips.push('error ' + level + ': ' + message);
  }
  if (tips.length) row.title = tips.join('\n');
  const kids = el('div', 'kids');
  box.append(row, kids);
  if (n.n) {
    box.pager = new Pager(kids, n.n, async (offset, limit) => (await api.children(n.id, offset, limit)).children, makeNode);
    twisty.addEventListener('click', () => unfold(box, !box.classList.contains('open')).catch(failed));
    row.addEventListener('dblclick', () => unfold(box, !box.classList.contains('open')).catch(failed));
  }
  return box;
}

async function unfold(box, open) {
  if (!box.pager) return;
  box.classList.toggle('open', open);
  box.querySelector(':scope > .row > .tw').textContent = open ? '\u25be' : '\u25b8';
  if (open) await box.pager.first();
}

// Opens the tree from `top` down the way of a search result and marks the object found.
async function openWay(top, way) {
  let box = top;
  for (let i = 1; box && i < way.length; ++i) {
    await unfold(box, true);
    box = await box.pager.ensure(way[i][1]);
    if (box && box.node.adv) setAdvanced(true);
  }
  if (!box) return null;
  await unfold(box, true);
  for (const old of document.querySelectorAll('.found')) { old.classList.remove('found'); old.removeAttribute('id'); }
  box.classList.add('found');
  box.id = 'found';
  // The object near the top, under a few rows of what holds it.
  const content = $('content');
  const offset = box.getBoundingClientRect().top - content.getBoundingClientRect().top + content.scrollTop;
  content.scrollTop = Math.max(0, offset - 120);
  return box;
}

function setAdvanced(on) {
  $('adv').checked = on;
  document.body.classList.toggle('show-adv', on);
}

// ---- Search ----

let searched = 0;
async function search(text, openFirst) {
  if (!INFO) return;
  const q = text.trim();
  const ticket = ++searched;
  setParam(q ? {find: q} : {});
  $('results').hidden = !q;
  $('side').hidden = !q && INFO.kind !== 'draw';
  if (!q) return;
  $('rcount').textContent = 'searching\u2026';
  const found = await api.find(q);
  if (ticket !== searched) return;
  const list = $('rlist');
  list.textContent = '';
  $('rcount').textContent = found.results.length + (found.more ? '+ (the first ' + found.results.length + ' shown)' : '') +
    ' for \u201c' + q + '\u201d';
  found.results.forEach((r) => {
    const item = el('li', 'result');
    const meta = el('div', 'r-meta');
    meta.append(el('span', 'type', r.type), document.createTextNode(' ' + shown(r.value)));
    item.append(el('div', 'r-name', r.name), meta, el('div', 'r-path', r.path));
    item.title = r.path;
    item.addEventListener('click', () => { choose(list, item); openResult(r).catch(failed); });
    list.append(item);
  });
  if (!found.results.length) list.append(el('li', 'hint', 'Nothing found.'));
  if (openFirst && found.results.length) {
    choose(list, list.firstChild);
    await openResult(found.results[0]);
  }
}

async function openResult(r) {
  let top = $('tree').firstChild;
  if (INFO.kind === 'draw') {
    await showRecord(r.record, false);
    top = [...$('tree').querySelectorAll(':scope > .node')].find((box) => Number(box.dataset.id) === r.way[0][0]);
  }
  if (top) await openWay(top, r.way);
}

function choose(list, item) {
  for (const old of list.querySelectorAll('.chosen')) old.classList.remove('chosen');
  if (item) item.classList.add('chosen');
}

function setParam(params) {
  const url = new URL(location.href);
  url.search = new URLSearchParams(params).toString();
  try { history.replaceState(null, '', url); } catch (e) { /* a page opened from disk may refuse */ }
}

// ---- Draw files: frames, records, and a record's objects ----

function kindClass(kind) { return 'kind kind-' + kind.toLowerCase().replace(/ /g, '-'); }

function makeRecord(r, index) {
  const item = el('li', 'rec');
  item.dataset.index = index;
  item.append(el('span', 'ri', '#' + r.index), el('span', kindClass(r.kind), r.kind));
  if (r.name && r.name !== r.kind) item.append(el('span', 'rname', r.name));
  if (r.redundant) item.append(el('span', 'tag redundant', 'redundant'));
  item.title = 'Record ' + r.index + ' of frame ' + r.frame + (r.redundant ? ': its draw context is the same as the record before' : '');
  item.addEventListener('click', () => showRecord(r.index, true).catch(failed));
  return item;
}

const frames = [];
function showFrames() {
  const list = $('flist');
  $('frames').hidden = false;
  $('side').hidden = false;
  $('fcount').textContent = INFO.frames.length + ' frames, ' + INFO.records.toLocaleString() + ' records';
  for (const [frame, first, count] of INFO.frames) {
    const box = el('div', 'frame');
    const head = el('div', 'frame-head');
    head.append(el('span', 'tw', '\u25b8'), el('span', null, 'Frame ' + frame),
      el('span', 'count', count.toLocaleString() + (count === 1 ? ' record' : ' records')));
    const recs = el('ol', 'recs');
    box.append(head, recs);
    const pager = new Pager(recs, count,
      async (offset, limit) => (await api.records(first + offset, Math.min(limit, count - offset))).records, makeRecord);
    const entry = {box, head, first, count, pager};
    head.addEventListener('click', () => openFrame(entry, !box.classList.contains('open')).catch(failed));
    frames.push(entry);
    list.append(box);
  }
}

async function openFrame(entry, open) {
  entry.box.classList.toggle('open', open);
  entry.head.firstChild.textContent = open ? '\u25be' : '\u25b8';
  if (open) await entry.pager.first();
}

async function showRecord(index, setUrl) {
  const r = await api.record(index);
  if (setUrl) { setParam({record: index}); choose($('rlist'), null); }
  const entry = frames.find((f) => index >= f.first && index < f.first + f.count);
  if (entry) {
    await openFrame(entry, true);
    const item = await entry.pager.ensure(index - entry.first);
    choose($('flist'), item);
    if (item) item.scrollIntoView({block: 'nearest'});
  }
  const tree = $('tree');
  tree.textContent = '';
  const head = el('div', 'record-head');
  head.append(el('h1', null, 'Record ' + r.index), el('span', kindClass(r.kind), r.kind));
  if (r.name && r.name !== r.kind) head.append(el('span', 'name', r.name));
  head.append(el('span', 'count', 'frame ' + r.frame));
  if (r.redundant) head.append(el('span', 'tag redundant', 'redundant'));
  tree.append(head);
  const boxes = r.objects.map((o, i) => makeNode(o, i));
  tree.append(...boxes);
  for (const box of boxes) await unfold(box, true);
}

// ---- Start ----

function failed(error) {
  const banner = $('banner');
  banner.textContent = String(error && error.message ? error.message : error);
  banner.hidden = false;
  document.body.classList.add('bannered');
}

async function start() {
  INFO = await api.info();
  document.title = INFO.file.split('/').pop() + ' \u2014 akdebug viewer';
  $('filekind').textContent = INFO.kind + ' file';
  $('filename').textContent = shown(INFO.file);
  $('filename').title = INFO.file;
  $('filestats').textContent = INFO.attributes.toLocaleString() + ' attributes';
  if (!INFO.complete) failed('The file could not be read whole: what was read before the failure is shown.');
  const params = new URLSearchParams(location.search);
  setAdvanced(params.get('advanced') === '1');
  $('adv').addEventListener('change', (e) => setAdvanced(e.target.checked));
  let typing = 0;
  $('q').addEventListener('input', (e) => {
    clearTimeout(typing);
    const text = e.target.value;
    if (text.trim().length >= 2 || !text.trim()) typing = setTimeout(() => search(text, false).catch(failed), 350);
  });
  $('search').addEventListener('submit', (e) => {
    e.preventDefault();
    clearTimeout(typing);
    search($('q').value, true).catch(failed);
  });
  const tree = $('tree');
  document.body.classList.add(INFO.kind);
  if (INFO.kind === 'draw') {
    showFrames();
    if (frames.length) await openFrame(frames[0], true);
    if (!params.has('record') && !params.has('find'))
      tree.append(el('p', 'hint', 'Choose a record to see its channel bin, cull record, geometry and draw context.'));
  } else {
    const root = makeNode(INFO.root, 0);
    tree.append(root);
    await unfold(root, true);
  }
  const record = Number.parseInt(params.get('record'), 10);
  if (INFO.kind === 'draw' && record >= 0 && record < INFO.records) await showRecord(record, false);
  const find = params.get('find');
  if (find) {
    $('q').value = find;
    await search(find, true);
  }
  document.body.dataset.ready = 'true';
}
start().catch(failed);
</script>
</body>
</html>
)PAGE";

}  // namespace

std::string webPage(const std::string& json)
{
    static const std::string marker = R"(<script id="akdata" type="application/json">)";
    std::string page = s_page;
    std::string data;
    data.reserve(json.size());
    for (char c : json) {
        if (c == '<')
            data += "\\u003c";
        else
            data += c;
    }
    page.replace(page.find(marker) + marker.size(), 4, data);  // the "null" there
    return page;
}

}  // namespace view
