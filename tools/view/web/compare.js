'use strict';
// ---- Compare: the difference of this recording from another (--serve A --compare B), frame by
// frame: records only one of them has, and the values that differ in aligned records ----

// A record of this file (A) opens in the tree; one of the other (B) is only named.
function comparedRecord(record, side) {
  const text = 'record ' + record.index;
  if (side !== 'a') return el('span', 'ri', text);
  const link = el('a', 'ri', text);
  link.href = '?record=' + record.index;
  link.addEventListener('click', (e) => {
    e.preventDefault();
    setParam({record: record.index});
    showView('tree', new URLSearchParams()).then(() => showRecord(record.index, true)).catch(failed);
  });
  return link;
}

function difference(d) {
  const item = el('li', 'difference difference-' + d.change);
  item.append(el('span', 'what', d.change));
  if (!d.a && !d.b) {
    item.append(el('span', 'label', 'the whole frame, ' + d.records + (d.records === 1 ? ' record' : ' records')));
    return item;
  }
  if (d.a) item.append(comparedRecord(d.a, 'a'));
  if (d.a && d.b) item.append(el('span', 'arrow', '\u2192'));
  if (d.b) item.append(comparedRecord(d.b, 'b'));
  item.append(el('span', 'label', (d.a || d.b).label));
  if (d.change === 'changed') {
    const value = el('div', 'value-change');
    value.append(el('span', 'path', d.path), el('span', 'type', '[' + d.type + ']'),
      el('span', 'before', d.before === null ? '(none)' : d.before), el('span', 'arrow', '\u2192'),
      el('span', 'after', d.after === null ? '(none)' : d.after));
    item.append(value);
  }
  return item;
}

addView({
  name: 'compare',
  title: 'Compare',
  applies: () => Boolean(INFO.compare),
  async open() {
    const panel = $('compare');
    const d = await ask('diff');
    const files = el('p', 'compared');
    files.append(el('span', 'file', d.a), el('span', 'arrow', '\u2192'), el('span', 'file', d.b));
    const all = d.added + d.removed + d.changed;
    panel.append(el('h1', null, 'Compare'), files, el('p', 'stats-summary', all.toLocaleString() +
      (all === 1 ? ' difference: ' : ' differences: ') + d.added + ' added, ' + d.removed + ' removed, ' + d.changed +
      ' changed' + (d.shown < all ? ' (the first ' + d.shown + ' listed)' : '')));
    if (!all) panel.append(el('p', 'hint', 'The recordings are alike.'));
    for (const frame of d.frames) {
      const name = (n) => (n === null ? '(none)' : 'frame ' + n);
      const list = el('ol', 'differences');
      list.append(...frame.differences.map(difference));
      panel.append(el('h2', null, name(frame.a) + ' \u2192 ' + name(frame.b)), list);
    }
    if (!d.complete) panel.append(el('p', 'hint', 'A file could not be read whole: what was read is compared.'));
  },
});
