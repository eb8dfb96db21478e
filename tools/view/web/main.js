'use strict';
// ---- Start-up: the file's header, the switches, the view the address names, its search ----

async function start() {
  INFO = await ask('info');
  document.title = shown(INFO.file.split('/').pop()) + ' \u2014 akdebug viewer';
  $('filekind').textContent = INFO.kind + ' file';
  $('filename').textContent = shown(INFO.file);
  $('filename').title = shown(INFO.file);
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
  document.body.classList.add(INFO.kind);
  showViewBar();
  await showView(params.get('view'), params);
  const find = params.get('find');
  if (find) {
    $('q').value = find;
    await search(find, true);
  }
  document.body.dataset.ready = 'true';
}
start().catch(failed);
