// The bench: every served converter in one table with its input and live
// process value, kept current by the server's bench stream while the
// overview is shown (the server polls every converter only meanwhile).

import { api } from './api.js';
import { LiveQuantities, liveText } from './numbers.js';
import { faultText, inputKindText, t } from './texts.js';

const Process = LiveQuantities.find((q) => q.key === 'process');
const $ = (id) => document.getElementById(id);

const bench = {
  entries: new Map(), // id -> the converter's entry, as GET /api/converters gives it
  rows: new Map(), // id -> its table row's cells
  stream: null,
  listeners: [],
  progressListeners: [],
};

export function converterHref(id) {
  return `#/converter/${encodeURIComponent(id)}`;
}

export function benchEntries() {
  return [...bench.entries.values()];
}

// The ids whose boxes are ticked, in the table's order.
export function selectedConverters() {
  return benchEntries().filter((c) => bench.rows.get(c.id)?.select.checked).map((c) => c.id);
}

// fn(progress) for every converter's restore progress ({id, step, total,
// parameter}) while the overview is shown.
export function onBenchProgress(fn) {
  bench.progressListeners.push(fn);
}

// fn() after every change of the list or of a converter's state.
export function onBenchChange(fn) {
  bench.listeners.push(fn);
}

export function stateText(entry) {
  const key = { connected: 'stateConnected', connecting: 'stateConnecting' }[entry.state] || 'stateDisconnected';
  return t(key);
}

export function inputText(input) {
  if (!input) return '';
  const kind = inputKindText(input.kind || '');
  return input.measurement ? `${kind}: ${input.measurement}` : kind;
}

// The process value as the window shows it; empty while unknown.
export function processText(entry) {
  const live = entry.live;
  if (!live || entry.state !== 'connected') return '';
  const fault = live.faults && live.faults.process;
  if (fault) return faultText(fault);
  return typeof live.process === 'number' ? liveText(Process, live.process) : '';
}

function cell(row, tag = 'td') {
  const el = document.createElement(tag);
  row.append(el);
  return el;
}

function makeRow(id) {
  const row = document.createElement('tr');
  row.dataset.id = id;
  const pick = cell(row);
  const select = document.createElement('input');
  select.type = 'checkbox';
  select.className = 'pick';
  select.addEventListener('change', changed);
  pick.append(select);
  const portCell = cell(row, 'th');
  portCell.scope = 'row';
  const link = document.createElement('a');
  link.href = converterHref(id);
  portCell.append(link);
  const cells = {
    row, select, link,
    identity: cell(row), serial: cell(row), input: cell(row), process: cell(row), state: cell(row),
  };
  cells.process.className = 'number';
  cells.serial.className = 'number';
  bench.rows.set(id, cells);
  return cells;
}

function showRow(entry) {
  const cells = bench.rows.get(entry.id) || makeRow(entry.id);
  cells.link.textContent = entry.port;
  cells.link.setAttribute('aria-label', `${t('open')} ${entry.port}`);
  cells.select.setAttribute('aria-label', `${t('pick')} ${entry.port}`);
  cells.identity.textContent = entry.identity || '';
  cells.serial.textContent = entry.serialNumber == null ? '' : String(entry.serialNumber);
  cells.input.textContent = inputText(entry.input);
  showProcess(entry);
  cells.state.textContent = stateText(entry);
  cells.state.title = entry.message || '';
  cells.state.className = entry.state === 'connected' ? '' : 'error';
  return cells.row;
}

function showProcess(entry) {
  const cells = bench.rows.get(entry.id);
  if (!cells) return;
  const fault = entry.live && entry.live.faults && entry.live.faults.process;
  cells.process.textContent = processText(entry);
  cells.process.classList.toggle('fault', Boolean(fault) && entry.state === 'connected');
}

function changed() {
  for (const fn of bench.listeners) fn();
}

// Rows in the order the server lists the converters; rows of converters no
// longer served go.
function render() {
  const body = $('bench-rows');
  const rows = benchEntries().map(showRow);
  for (const [id, cells] of bench.rows) {
    if (!bench.entries.has(id)) {
      cells.row.remove();
      bench.rows.delete(id);
    }
  }
  rows.forEach((row, i) => {
    if (body.children[i] !== row) body.insertBefore(row, body.children[i] || null);
  });
  $('bench-empty').hidden = bench.entries.size > 0;
  $('bench-table').hidden = bench.entries.size === 0;
  changed();
}

function setEntries(list) {
  bench.entries = new Map(list.map((c) => [c.id, c]));
  render();
}

function openStream() {
  const events = new EventSource(api.benchEventsUrl());
  bench.stream = events;
  events.addEventListener('converters', (e) => {
    if (bench.stream === events) setEntries(JSON.parse(e.data));
  });
  events.addEventListener('state', (e) => {
    if (bench.stream !== events) return;
    const status = JSON.parse(e.data);
    bench.entries.set(status.id, { ...bench.entries.get(status.id), ...status });
    render();
  });
  events.addEventListener('live', (e) => {
    if (bench.stream !== events) return;
    const live = JSON.parse(e.data);
    const entry = bench.entries.get(live.id);
    if (!entry) return;
    entry.live = live;
    showProcess(entry);
  });
  events.addEventListener('progress', (e) => {
    if (bench.stream !== events) return;
    const progress = JSON.parse(e.data);
    for (const fn of bench.progressListeners) fn(progress);
  });
  events.addEventListener('removed', (e) => {
    if (bench.stream !== events) return;
    bench.entries.delete(JSON.parse(e.data).id);
    render();
  });
}

// The overview shown (its stream open) or hidden (closed, so that only an
// open converter is polled).
export async function showBench(shown) {
  $('bench').hidden = !shown;
  if (!shown) {
    if (bench.stream) bench.stream.close();
    bench.stream = null;
    return;
  }
  if (bench.stream) return;
  const answer = await api.converters();
  if (answer.ok && Array.isArray(answer.body) && !bench.stream) setEntries(answer.body);
  if (!$('bench').hidden && !bench.stream) openStream();
}

// After a change of language.
export function showBenchTexts() {
  for (const entry of bench.entries.values()) showRow(entry);
}
