'use strict';
// ---- The "Changed" panel of a draw: what changed in the state since the draw before it (or since
// its frame's channel begin), element by element, each value before and after ----

function changedField(field) {
  const row = el('tr', 'field');
  row.append(el('td', 'path', field.path || '(the element)'), el('td', 'type', '[' + field.type + ']'),
    el('td', 'before', field.before === null ? '' : field.before),
    el('td', 'arrow', field.before !== null && field.after !== null ? '\u2192' : ''),
    el('td', 'after', field.after === null ? '' : field.after));
  return row;
}

addRecordPanel(async (r, tree) => {
  if (r.kind !== 'Geometry' && r.kind !== 'Draw Function') return;
  const {changes} = await ask('changes', {index: r.index});
  const panel = el('section', 'changed');
  const title = el('h2', null, 'Changed');
  panel.append(title);
  tree.append(panel);
  if (!changes) {
    panel.append(el('p', 'hint', 'No draw and no channel begin before it in its frame: nothing to compare with.'));
    return;
  }
  const since = el('a', 'since', 'record ' + changes.since);
  since.href = '?record=' + changes.since;
  since.addEventListener('click', (e) => { e.preventDefault(); showRecord(changes.since, true).catch(failed); });
  title.append(el('small', null, 'since'), since);
  if (!changes.elements.length) panel.append(el('p', 'hint', 'Nothing: the state is the one of record ' + changes.since + '.'));
  for (const change of changes.elements) {
    const box = el('div', 'change change-' + change.change);
    const head = el('div', 'change-head');
    head.append(el('span', 'what', change.change), el('span', 'element', change.element));
    const fields = el('table', 'fields');
    fields.append(...change.fields.map(changedField));
    box.append(head, fields);
    panel.append(box);
  }
});
