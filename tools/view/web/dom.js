'use strict';
// ---- What every part of the page uses: elements, texts from files, the address bar ----

const $ = (id) => document.getElementById(id);

// A text from a file as the terminal output shows it: control characters as escapes and
// backslashes doubled, so that one attribute stays one row; the invisible characters that reorder
// or break a line (bidirectional controls, line and paragraph separators, U+FEFF) as "\u202E".
function shown(text) {
  return text.replace(/[\\\u0000-\u001f\u007f-\u009f\u061c\u200e\u200f\u2028-\u202e\u2066-\u2069\ufeff]/g, (c) => {
    const named = {'\\': '\\\\', '\n': '\\n', '\t': '\\t', '\r': '\\r'}[c];
    const code = c.charCodeAt(0);
    if (named) return named;
    if (code > 0xff) return '\\u' + code.toString(16).toUpperCase().padStart(4, '0');
    return '\\x' + code.toString(16).toUpperCase().padStart(2, '0');
  });
}

// An element with a class and a text. Every text from a file reaches the document as textContent
// or as an attribute value, never as markup.
function el(tag, cls, text) {
  const e = document.createElement(tag);
  if (cls) e.className = cls;
  if (text !== undefined && text !== null) e.textContent = shown(String(text));
  return e;
}

// Marks one item of a list as chosen (none for null).
function choose(list, item) {
  for (const old of list.querySelectorAll('.chosen')) old.classList.remove('chosen');
  if (item) item.classList.add('chosen');
}

// The page's parameters in the address bar, so that a reload or a link opens the same.
function setParam(params) {
  const url = new URL(location.href);
  url.search = new URLSearchParams(params).toString();
  try { history.replaceState(null, '', url); } catch (e) { /* a page opened from disk may refuse */ }
}

// A failure, shown in the banner.
function failed(error) {
  const banner = $('banner');
  banner.textContent = String(error && error.message ? error.message : error);
  banner.hidden = false;
  document.body.classList.add('bannered');
}
