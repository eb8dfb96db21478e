'use strict';
// ---- Views: the ways the main area shows the file, one at a time ----
// A view is a script that calls addView({name, title, applies(), open(params)}) and a panel
// <section class="view" data-view="NAME"> in index.html. Start-up opens the view that ?view=NAME
// names, or the first that applies (the tree); when more than one applies to the file, a bar in
// the header switches between them. open(params) runs once, when the view is first shown, with
// the page's parameters.

const VIEWS = [];
function addView(view) { VIEWS.push(view); }

async function showView(name, params) {
  const usable = VIEWS.filter((view) => view.applies());
  const view = usable.find((each) => each.name === name) || usable[0];
  for (const panel of document.querySelectorAll('section.view')) panel.hidden = panel.dataset.view !== view.name;
  document.body.dataset.view = view.name;
  for (const tab of $('views').children) tab.classList.toggle('chosen', tab.dataset.view === view.name);
  if (!view.opened) {
    view.opened = true;
    await view.open(params);
  }
}

function showViewBar() {
  const usable = VIEWS.filter((view) => view.applies());
  const bar = $('views');
  bar.hidden = usable.length < 2;
  for (const view of usable) {
    const tab = el('button', 'view-tab', view.title);
    tab.type = 'button';
    tab.dataset.view = view.name;
    tab.addEventListener('click', () => {
      setParam({view: view.name});
      showView(view.name, new URLSearchParams()).catch(failed);
    });
    bar.append(tab);
  }
}
