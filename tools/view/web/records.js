'use strict';
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
      async (offset, limit) => (await ask('records', {offset: first + offset, limit: Math.min(limit, count - offset)})).records, makeRecord);
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

// Called with a record's index whenever one is shown (the frame view outlines what it drew).
const recordListeners = [];

async function showRecord(index, setUrl) {
  const r = await ask('record', {index});
  for (const listener of recordListeners) listener(index);
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
