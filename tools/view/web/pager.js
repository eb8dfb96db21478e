'use strict';
// ---- Lists that load a window of their items and grow both ways ----
// A batch (INFO.batch items) at a time, at multiples of the batch, as the server's answers are cut.

class Pager {
  // fetch(offset, limit) gives the items, render(item, index) their elements.
  constructor(list, total, fetch, render) {
    Object.assign(this, {list, total, fetch, render, start: 0, end: 0, loaded: false, busy: Promise.resolve()});
  }
  run(work) { this.busy = this.busy.then(work, work); return this.busy; }
  buttons() {
    for (const b of this.list.querySelectorAll(':scope > button.more')) b.remove();
    if (this.start > 0) {
      const b = el('button', 'more', '\u25b4 ' + Math.min(INFO.batch, this.start) + ' earlier (' + this.start.toLocaleString() + ' not shown)');
      b.addEventListener('click', () => this.run(() => this.grow(false)));
      this.list.prepend(b);
    }
    if (this.end < this.total) {
      const left = this.total - this.end;
      const b = el('button', 'more', '\u25be ' + Math.min(INFO.batch, left) + ' more (' + left.toLocaleString() + ' not shown)');
      b.addEventListener('click', () => this.run(() => this.grow(true)));
      this.list.append(b);
    }
  }
  async load(start) {
    const items = await this.fetch(start, INFO.batch);
    this.list.textContent = '';
    this.start = start; this.end = start + items.length; this.loaded = true;
    items.forEach((item, i) => this.list.append(this.render(item, start + i)));
    this.buttons();
  }
  async grow(after) {
    const from = after ? this.end : Math.max(0, this.start - INFO.batch);
    const items = await this.fetch(from, after ? INFO.batch : this.start - from);
    const made = items.map((item, i) => this.render(item, from + i));
    if (after) { this.list.append(...made); this.end += items.length; }
    else { this.list.prepend(...made); this.start = from; }
    this.buttons();
  }
  // The element of item `index`, loading what is needed.
  ensure(index) {
    return this.run(async () => {
      if (index < 0 || index >= this.total) return null;
      if (!this.loaded || index < this.start - INFO.batch || index >= this.end + INFO.batch) await this.load(index - index % INFO.batch);
      else if (index >= this.end) await this.grow(true);
      else if (index < this.start) await this.grow(false);
      return this.list.querySelector(':scope > [data-index="' + index + '"]');
    });
  }
  first() { return this.run(async () => { if (!this.loaded) await this.load(0); }); }
}
