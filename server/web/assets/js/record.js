// The commissioning record of the converter shown: the measuring point in a
// small form, and a link that opens the record page as `dnx8 report` makes
// it in a tab of its own, ready to print.

import { t } from './texts.js';

// The server's limits (report/RecordParticulars.h): characters, lines.
export const RecordFields = [
  { name: 'tag', id: 'record-tag', max: 40, lines: 1 },
  { name: 'location', id: 'record-location', max: 80, lines: 1 },
  { name: 'technician', id: 'record-technician', max: 50, lines: 1 },
  { name: 'note', id: 'record-note', max: 240, lines: 4 },
];

const $ = (id) => document.getElementById(id);
let converter = null;

// The record's address with the texts given by field name, or the first
// field that does not fit: {field, problem: 'Length' | 'Lines'}. Empty
// fields are left out; the server counts characters, not UTF-16 units.
export function recordAddress(id, values) {
  const query = new URLSearchParams();
  for (const field of RecordFields) {
    const text = String(values[field.name] || '').trim();
    if (text === '') continue;
    if (text.split(/\r\n|\r|\n/).length > field.lines) return { field, problem: 'Lines' };
    if ([...text.replace(/\r\n/g, '\n')].length > field.max) return { field, problem: 'Length' };
    query.set(field.name, text);
  }
  const path = `/api/converters/${encodeURIComponent(id)}/record`;
  const search = query.toString();
  return { address: search ? `${path}?${search}` : path };
}

function status(key, kind) {
  const el = $('record-status');
  el.textContent = key ? t(key) : '';
  el.className = 'note' + (kind ? ' ' + kind : '');
}

function values() {
  return Object.fromEntries(RecordFields.map((f) => [f.name, $(f.id).value]));
}

function refresh() {
  const link = $('record-open');
  for (const f of RecordFields) $(f.id).removeAttribute('aria-invalid');
  if (!converter) {
    link.removeAttribute('href');
    return null;
  }
  const result = recordAddress(converter, values());
  if (result.address) {
    link.href = result.address;
    status('', '');
  }
  return result;
}

// The converter whose record the link opens (null: none shown).
export function showRecordFor(id) {
  converter = id;
  refresh();
}

export function wireRecord() {
  for (const f of RecordFields) $(f.id).addEventListener('input', refresh);
  $('record-open').addEventListener('click', (event) => {
    const result = refresh();
    if (result && result.address) return; // the browser opens it in a new tab
    event.preventDefault();
    if (!result) return;
    const input = $(result.field.id);
    input.setAttribute('aria-invalid', 'true');
    input.focus();
    status('recordProblem' + result.problem, 'error');
  });
}
