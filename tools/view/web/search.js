'use strict';
// ---- Search: the box, its results, and opening the tree down to one ----

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
  const found = await ask('find', {q});
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
    item.title = shown(r.path);
    item.addEventListener('click', () => { choose(list, item); openResult(r).catch(failed); });
    list.append(item);
  });
  if (!found.results.length) list.append(el('li', 'hint', 'Nothing found.'));
  if (openFirst && found.results.length) {
    choose(list, list.firstChild);
    await openResult(found.results[0]);
  }
}

// Called with each result opened (the scene view frames what it found).
const resultListeners = [];

async function openResult(r) {
  for (const listener of resultListeners) listener(r);
  let top = $('tree').firstChild;
  if (INFO.kind === 'draw') {
    await showRecord(r.record, false);
    top = [...$('tree').querySelectorAll(':scope > .node')].find((box) => Number(box.dataset.id) === r.way[0][0]);
  }
  if (top) await openWay(top, r.way);
}
