'use strict';
// ---- Where the data comes from ----
// Every answer the page reads comes through ask(route, params): from the server's API
// (api/ROUTE?NAME=VALUE&...), or, in a page written with its data, from the answers written into it
// under the same requests (requestKey). The rest of the page does not know which.

const WRITTEN = JSON.parse($('akdata').textContent);
// The file as info gives it, once start-up asked for it.
let INFO = null;

// A request as the page makes it, and as the written answers are keyed: the route, "?", then the
// parameters in name order.
function requestKey(route, params) {
  const query = Object.keys(params).sort().map((name) => name + '=' + encodeURIComponent(params[name]));
  return route + '?' + query.join('&');
}

async function ask(route, params = {}) {
  const key = requestKey(route, params);
  if (WRITTEN) {
    if (route === 'find') return JSON.parse(JSON.stringify(findWritten(params.q)));
    if (!(key in WRITTEN)) throw new Error(key + ': not in this page');
    return JSON.parse(JSON.stringify(WRITTEN[key]));
  }
  const response = await fetch('api/' + key, {cache: 'no-store'});
  if (!response.ok) throw new Error(key + ': ' + response.status + ' ' + (await response.text()));
  return response.json();
}

// A page with its data has no server to search for it, and no text's answer can be written in
// advance: it answers find from the written "searchable" answer, as the server does (objects at
// the address the text gives in hexadecimal, then those whose indexed name holds the text in any
// case; "0x" first: an address only; at most as many results).
function findWritten(q) {
  // Refused as the server refuses it.
  if (!q || new TextEncoder().encode(q).length > 1024 || /[\u0000-\u001f\u007f-\u009f]/.test(q))
    throw new Error('find: q is a name or an address, of 1 to 1024 bytes without control characters');
  const all = WRITTEN['searchable?'], out = {results: [], more: false}, seen = new Set();
  const add = (i) => {
    if (seen.has(i)) return true;
    seen.add(i);
    if (out.results.length >= INFO.maxResults) { out.more = true; return false; }
    out.results.push(all.results[i]);
    return true;
  };
  const only = /^0[xX][0-9a-fA-F]{1,8}$/.test(q), hex = only || /^[0-9a-fA-F]{1,8}$/.test(q);
  const address = hex ? parseInt(only ? q.slice(2) : q, 16) : 0;
  for (const [at, i] of all.byAddress) if (at === address && !add(i)) return out;
  const lower = q.replace(/[A-Z]+/g, (s) => s.toLowerCase());
  if (!only) for (const [name, i] of all.byName) if (name.includes(lower) && !add(i)) return out;
  return out;
}
