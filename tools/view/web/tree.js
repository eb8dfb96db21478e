'use strict';
// ---- The tree: attributes as rows "name [type] = value" with their marks, unfolded a batch of
// children at a time ----

function levelClass(level) {
  return level <= 2 ? 'lvl-info' : level === 3 ? 'lvl-notice' : level === 4 ? 'lvl-debug' : level === 5 ? 'lvl-warn' : 'lvl-fail';
}

// The element of a node as the server gives it (jsonshape.h, with id and child counts).
function makeNode(n, index) {
  const box = el('div', 'node');
  box.dataset.id = n.id;
  box.dataset.index = index;
  box.node = n;
  if (n.advanced) box.classList.add('adv');
  if (n.childCount && !n.basicChildCount) box.classList.add('adv-only');
  const row = el('div', 'row');
  const twisty = el('span', 'tw', n.childCount ? '\u25b8' : '');
  row.append(twisty, el('span', 'name', n.name));
  if (n.type) row.append(el('span', 'type', '[' + n.type + ']'));
  if (n.value) {
    row.append(el('span', 'eq', '='));
    if (n.addressValue) {
      const link = el('a', 'value', n.value);
      link.href = '?find=' + encodeURIComponent(n.address);
      link.title = 'Find the object at ' + n.address + ' and where it is used';
      link.addEventListener('click', (e) => { e.preventDefault(); $('q').value = n.address; search(n.address, true).catch(failed); });
      row.append(link);
    } else {
      row.append(el('span', 'value', n.value));
    }
  }
  if (n.advanced) row.append(el('span', 'tag', 'advanced'));
  const tips = [];
  if (n.toolTip !== null) { tips.push(shown(n.toolTip)); row.classList.add('has-tip'); }
  for (const {level, message} of n.errors) {
    const mark = el('span', 'err ' + levelClass(level));
    mark.append(el('b', null, level), document.createTextNode(shown(String(message))));
    row.append(mark);
    tips.push('error ' + level + ': ' + shown(String(message)));
  }
  if (tips.length) row.title = tips.join('\n');
  const kids = el('div', 'kids');
  box.append(row, kids);
  if (n.childCount) {
    box.pager = new Pager(kids, n.childCount, async (offset, limit) => (await ask('children', {id: n.id, offset, limit})).children, makeNode);
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
    if (box && box.node.advanced) setAdvanced(true);
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

// The tree view: a scene's root, unfolded; a draw file's frames and records beside the objects of
// the record chosen (records.js).
addView({
  name: 'tree',
  title: 'Tree',
  applies: () => true,
  async open(params) {
    const tree = $('tree');
    if (INFO.kind === 'draw') {
      showFrames();
      if (frames.length) await openFrame(frames[0], true);
      if (!params.has('record') && !params.has('find'))
        tree.append(el('p', 'hint', 'Choose a record to see its channel bin, cull record, geometry and draw context.'));
      const record = Number.parseInt(params.get('record'), 10);
      if (record >= 0 && record < INFO.records) await showRecord(record, false);
    } else {
      const root = makeNode(INFO.root, 0);
      tree.append(root);
      await unfold(root, true);
    }
  },
});
