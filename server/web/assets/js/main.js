// The page: the main window's sections for one served converter at a time,
// fed by the converter's event stream, with the trend below.

import { api, isCommunicationFailure, messageOf } from './api.js';
import { journalLanguageChanged, openJournal, refreshJournal, setupJournal } from './journal.js';
import { LiveQuantities, liveText, readDelay, readReal, realText } from './numbers.js';
import { showRecordFor, wireRecord } from './record.js';
import { applyTexts, faultText, language, preferredLanguage, setLanguage, t } from './texts.js';
import { TrendBuffer, TrendChart, trendCsv } from './trend.js';
import { echoOf } from './writes.js';
import { converterHref, showBench, showBenchTexts } from './bench.js';
import { setRestoreConverter, showRestoreProgress, showRestoreTexts, startRestore } from './restore.js';
import { clearInputPanel, setUpInputPanel, showInputProgress, showInputReading } from './input.js';

const $ = (id) => document.getElementById(id);
const LanguageKey = 'dnx8-language';
const InputKinds = ['Napětí', 'Proud', 'Odpor', 'Potenciometr', 'Teploměr', 'Termočlánek'];
const SeriesLabels = ['seriesInput', 'seriesProcess', 'seriesValue', 'seriesRatio'];

const page = {
  readOnly: false,
  converters: [],
  current: null, // id of the converter shown
  overview: true, // the bench shown instead of one converter
  routed: false, // the first route taken (a lone converter opens only then)
  events: null,
  reading: null, // last read-all
  live: null, // last live event
  status: null, // last state event
  trend: new TrendBuffer(),
  chart: null,
  relays: [],
};

// ---- notes beside controls -------------------------------------------------

function note(el, key, kind, extra = '') {
  el.textContent = key ? t(key) + (extra ? ' ' + extra : '') : extra;
  el.className = 'note' + (kind ? ' ' + kind : '');
}

function answerNote(el, answer) {
  if (isCommunicationFailure(answer)) note(el, 'communicationError', 'error');
  else note(el, 'refused', 'error', messageOf(answer));
}

function markInvalid(input, noteEl, problem) {
  input.setAttribute('aria-invalid', 'true');
  note(noteEl, 'problem' + problem[0].toUpperCase() + problem.slice(1), 'error');
  input.focus();
}

function markValid(...inputs) {
  for (const input of inputs) input.removeAttribute('aria-invalid');
}

// A field the user is typing in keeps the typed text when another tab's
// write arrives; everywhere else the converter's value is shown.
function showInField(input, text, force = false) {
  if (!force && document.activeElement === input && input.dataset.edited === 'yes') return;
  input.value = text;
  input.dataset.edited = 'no';
}

// ---- the converter's values ------------------------------------------------

function showIdentity() {
  const r = page.reading || {};
  const s = page.status || {};
  $('identity').value = r.identity || s.identity || '';
  $('firmware').value = r.firmware || '';
  const serial = r.serialNumber ?? s.serialNumber;
  $('serial-number').value = serial == null ? '' : String(serial);
  $('output-type').value = r.output ? t('output' + (r.output.code % 6)) : '';
  $('relay-options').value = r.relays ? t('relayOptions' + (r.relays.code & 3)) : '';
  const input = r.input;
  const kind = input ? InputKinds.indexOf(input.kind) : -1;
  $('input-kind').value = kind >= 0 ? t('inputKind' + kind) : input ? input.kind || '' : '';
  $('input-description').value = input && input.measurement ? input.measurement : '';
}

function showErrorState(code) {
  for (const radio of document.querySelectorAll('input[name="error-state"]')) {
    radio.checked = Number(radio.value) === code;
  }
}

function showRelay(index, relay) {
  const r = page.relays[index];
  if (!relay) return;
  for (const radio of r.modes) radio.checked = Number(radio.value) === relay.mode;
  showInField(r.onValue, realText(relay.onValue, 2));
  showInField(r.onDelay, String(relay.onDelay));
  showInField(r.offValue, realText(relay.offValue, 2));
  showInField(r.offDelay, String(relay.offDelay));
}

// Parameter names as keys, as the read and the stream send them.
function showConfiguration(config, force = false) {
  if (!config) return;
  if (typeof config.Filter === 'number') $('filter').value = String(config.Filter);
  if (typeof config.ScaleMin === 'number') showInField($('scale-min'), realText(config.ScaleMin, 2), force);
  if (typeof config.ScaleMax === 'number') showInField($('scale-max'), realText(config.ScaleMax, 2), force);
  if (typeof config.ErrorSignalling === 'number') showErrorState(config.ErrorSignalling);
  if (config.Relay1) showRelay(0, config.Relay1);
  if (config.Relay2) showRelay(1, config.Relay2);
}

function showLive() {
  const live = page.live;
  if (!live) return;
  let failed = false;
  LiveQuantities.forEach((q) => {
    const out = $('live-' + q.key);
    const fault = live.faults && live.faults[q.key];
    const v = live[q.key];
    if (fault) {
      out.value = faultText(fault);
      out.classList.add('fault');
    } else if (typeof v === 'number') {
      out.value = liveText(q, v);
      out.classList.remove('fault');
    } else {
      // As the window: a failed read leaves the field as it was.
      failed = true;
    }
  });
  note($('live-note'), failed ? 'communicationError' : '', failed ? 'error' : '');
}

function clearView() {
  for (const id of ['identity', 'firmware', 'serial-number', 'output-type', 'relay-options', 'input-kind',
    'input-description', 'live-input', 'live-process', 'live-value', 'live-ratio']) {
    $(id).value = '';
    $(id).classList.remove('fault');
  }
  for (const input of document.querySelectorAll('#view input.number')) input.value = '';
  for (const radio of document.querySelectorAll('#view input[type="radio"]')) radio.checked = false;
  for (const el of document.querySelectorAll('#view .note')) note(el, '', '');
  $('filter').value = '';
  page.reading = null;
  page.live = null;
  page.trend.clear();
  clearInputPanel();
}

// ---- connection ------------------------------------------------------------

function stateText(status) {
  if (!status) return '';
  const key = { connected: 'stateConnected', connecting: 'stateConnecting' }[status.state] || 'stateDisconnected';
  return `${status.port}: ${t(key)}` + (status.message ? ` — ${status.message}` : '');
}

function showConnection() {
  const current = page.converters.find((c) => c.id === page.current);
  const status = page.status && page.status.id === page.current ? page.status : current;
  $('connection-state').textContent = status ? stateText(status) : t('noConverter');
  $('connection-state').className = status && status.state !== 'connected' ? 'error' : '';
  $('disconnect').hidden = !current || page.overview;
  $('view').hidden = !current || page.overview;
  const list = $('converter-list');
  list.replaceChildren();
  for (const c of page.converters) {
    const item = document.createElement('li');
    const button = document.createElement('button');
    button.type = 'button';
    button.textContent = c.port;
    button.title = stateText(c);
    if (c.id === page.current) button.setAttribute('aria-current', 'true');
    button.addEventListener('click', () => {
      location.hash = converterHref(c.id);
    });
    item.append(button);
    list.append(item);
  }
  $('converters').hidden = page.converters.length < 2 || page.overview;
}

async function readAll() {
  const id = page.current;
  const answer = await api.reading(id);
  if (id !== page.current) return;
  // Reads that failed leave their fields as they were, as in the window.
  const reading = answer.ok ? answer.body : answer.body && answer.body.reading;
  if (reading) {
    page.reading = reading;
    showInputReading(reading);
    showIdentity();
    showConfiguration(reading.configuration, true);
    if (reading.live) {
      page.live = reading.live;
      showLive();
    }
  }
  if (!answer.ok) {
    const failure = isCommunicationFailure(answer);
    note($('live-note'), failure ? 'communicationError' : 'refused', 'error', failure ? '' : messageOf(answer));
  }
}

function openConverter(id) {
  if (page.events) page.events.close();
  page.events = null;
  clearView();
  page.current = id;
  page.status = page.converters.find((c) => c.id === id) || null;
  setRestoreConverter(id);
  showConnection();
  openJournal(id);
  showRecordFor(id);
  if (!id) return;
  $('port').value = page.status ? page.status.port : '';
  const events = new EventSource(api.eventsUrl(id));
  page.events = events;
  events.addEventListener('state', (e) => {
    if (page.events !== events) return;
    const status = JSON.parse(e.data);
    const was = page.status && page.status.state;
    page.status = status;
    const entry = page.converters.find((c) => c.id === status.id);
    if (entry) Object.assign(entry, status);
    // The server reads the input again after a client changed it.
    if (status.input && page.reading) {
      page.reading.input = status.input;
      showIdentity();
    }
    showConnection();
    if (status.state === 'connected' && (was !== 'connected' || !page.reading)) readAll();
  });
  events.addEventListener('live', (e) => {
    if (page.events !== events) return;
    page.live = JSON.parse(e.data);
    page.trend.add(page.live);
    showLive();
    page.chart.refresh();
    $('trend-points').value = String(page.trend.points.length);
  });
  events.addEventListener('configuration', (e) => {
    if (page.events !== events) return;
    const changed = JSON.parse(e.data);
    showConfiguration(changed);
    // An input written elsewhere: the input's description and range anew.
    if ('InputType' in changed) readAll();
    refreshJournal();
  });
  events.addEventListener('progress', (e) => {
    if (page.events === events) showInputProgress(JSON.parse(e.data));
  });
  events.addEventListener('progress', (e) => {
    if (page.events === events) showRestoreProgress(JSON.parse(e.data));
  });
}

// #/converter/ID shows that converter, anything else the bench; without a
// route a lone converter opens at once, as before the bench.
function routedId() {
  const match = /^#\/converter\/([^/]+)$/.exec(location.hash);
  if (!match) return null;
  try {
    return decodeURIComponent(match[1]);
  } catch {
    return null;
  }
}

function route() {
  let id = routedId();
  if (id !== null && !page.converters.some((c) => c.id === id)) id = null;
  if (id === null && !page.routed && location.hash === '' && page.converters.length === 1) {
    id = page.converters[0].id;
    history.replaceState(null, '', converterHref(id));
  }
  page.routed = true;
  page.overview = id === null;
  $('to-bench').hidden = page.overview;
  showBench(page.overview);
  if (id !== page.current) openConverter(id);
  else showConnection();
}

async function loadConverters() {
  const answer = await api.converters();
  if (!answer.ok || !Array.isArray(answer.body)) {
    $('connection-state').textContent = t('communicationError');
    return;
  }
  page.converters = answer.body;
  route();
}

async function loadPorts() {
  const answer = await api.ports();
  if (!answer.ok || !Array.isArray(answer.body)) return;
  $('port-list').replaceChildren(...answer.body.map((name) => {
    const option = document.createElement('option');
    option.value = typeof name === 'string' ? name : name.port || name.name || '';
    return option;
  }));
}

async function connect() {
  const port = $('port').value.trim();
  if (!port) {
    $('port').focus();
    return;
  }
  const served = page.converters.find((c) => c.port === port);
  if (served) {
    location.hash = converterHref(served.id);
    return;
  }
  $('connection-state').textContent = `${port}: ${t('stateConnecting')}`;
  const answer = await api.connect(port);
  if (!answer.ok) {
    $('connection-state').textContent =
      `${port}: ` + (isCommunicationFailure(answer) ? t('communicationError') : messageOf(answer));
    $('connection-state').className = 'error';
    return;
  }
  const entry = answer.body;
  page.converters = page.converters.filter((c) => c.id !== entry.id).concat([entry]);
  location.hash = converterHref(entry.id);
  route();
}

async function disconnect() {
  const id = page.current;
  if (!id) return;
  const answer = await api.disconnect(id);
  if (!answer.ok && answer.status !== 404) {
    $('connection-state').textContent = t('communicationError') + ' ' + messageOf(answer);
    return;
  }
  page.converters = page.converters.filter((c) => c.id !== id);
  location.hash = '#/';
  route();
  $('port').focus();
}

// ---- writes ----------------------------------------------------------------

// Sends one setting and shows the converter's echo through show(echo).
async function write(name, value, noteEl, show) {
  const id = page.current;
  if (!id) return;
  note(noteEl, '', '');
  const answer = await api.settings(id, { [name]: value });
  if (id !== page.current) return;
  if (!answer.ok) {
    answerNote(noteEl, answer);
    return;
  }
  const { echo, differs } = echoOf(answer.body, name);
  if (echo === undefined) {
    note(noteEl, 'communicationError', 'error');
    return;
  }
  show(echo);
  note(noteEl, differs ? 'clipped' : 'written', differs ? 'warning' : 'done');
}

function writeScale(name, input, noteEl) {
  const read = readReal(input.value);
  if (read.problem) {
    markInvalid(input, noteEl, read.problem);
    return;
  }
  markValid(input);
  write(name, read.value, noteEl, (echo) => showInField(input, realText(echo, 2), true));
}

function writeFilter() {
  const noteEl = $('filter-note');
  const value = $('filter').value;
  if (value === '') {
    note(noteEl, 'problemChoice', 'error');
    return;
  }
  write('Filter', Number(value), noteEl, (echo) => {
    $('filter').value = String(echo);
  });
}

function writeErrorState() {
  const noteEl = $('error-state-note');
  const checked = document.querySelector('input[name="error-state"]:checked');
  if (!checked) {
    note(noteEl, 'problemChoice', 'error');
    return;
  }
  write('ErrorSignalling', Number(checked.value), noteEl, showErrorState);
}

function writeRelay(index) {
  const r = page.relays[index];
  const mode = r.modes.find((radio) => radio.checked);
  const onValue = readReal(r.onValue.value);
  const onDelay = readDelay(r.onDelay.value);
  const offValue = readReal(r.offValue.value);
  const offDelay = readDelay(r.offDelay.value);
  markValid(r.onValue, r.onDelay, r.offValue, r.offDelay);
  const checks = [[r.onValue, onValue], [r.onDelay, onDelay], [r.offValue, offValue], [r.offDelay, offDelay]];
  const bad = checks.find(([, read]) => read.problem);
  if (bad) {
    markInvalid(bad[0], r.note, bad[1].problem);
    return;
  }
  if (!mode) {
    note(r.note, 'problemChoice', 'error');
    r.modes[0].focus();
    return;
  }
  const relay = {
    onValue: onValue.value, offValue: offValue.value,
    onDelay: onDelay.value, offDelay: offDelay.value, mode: Number(mode.value),
  };
  const name = index === 0 ? 'Relay1' : 'Relay2';
  write(name, relay, r.note, (echo) => {
    for (const input of [r.onValue, r.onDelay, r.offValue, r.offDelay]) input.dataset.edited = 'no';
    showRelay(index, echo);
  });
}

// ---- building and wiring ---------------------------------------------------

function buildRelays() {
  const template = $('relay-template');
  for (const n of [1, 2]) {
    const group = template.content.firstElementChild.cloneNode(true);
    group.id = `relay${n}`;
    group.querySelector('legend').dataset.text = `relay${n}`;
    const inputs = {};
    for (const part of ['on-value', 'on-delay', 'off-value', 'off-delay']) {
      const input = group.querySelector('.' + part);
      input.id = `relay${n}-${part}`;
      const [row, column] = part.split('-');
      input.dataset.textLabel = `relay${n} ${row === 'on' ? 'switchOn' : 'switchOff'} ${column === 'value' ? 'columnValue' : 'columnDelay'}`;
      inputs[part] = input;
    }
    const modes = [...group.querySelectorAll('input[type="radio"]')];
    for (const radio of modes) radio.name = `relay${n}-mode`;
    const button = group.querySelector('button');
    button.id = `write-relay${n}`;
    button.dataset.textLabel = `writeRelay${n}`;
    const noteEl = group.querySelector('.note');
    noteEl.id = `relay${n}-note`;
    $('relays').append(group);
    page.relays.push({
      modes, onValue: inputs['on-value'], onDelay: inputs['on-delay'],
      offValue: inputs['off-value'], offDelay: inputs['off-delay'], note: noteEl,
    });
    button.addEventListener('click', () => writeRelay(n - 1));
  }
}

function buildFilter() {
  const select = $('filter');
  const blank = document.createElement('option');
  blank.value = '';
  select.append(blank);
  for (let i = 0; i <= 30; ++i) {
    const option = document.createElement('option');
    option.value = option.textContent = String(i);
    select.append(option);
  }
  select.value = '';
}

function buildTrendControls() {
  const series = $('trend-series');
  SeriesLabels.forEach((key, i) => {
    const label = document.createElement('label');
    const box = document.createElement('input');
    box.type = 'checkbox';
    box.checked = true;
    box.addEventListener('change', () => page.chart.setSeriesShown(i, box.checked));
    const text = document.createElement('span');
    text.dataset.text = key;
    label.append(box, text);
    series.append(label);
  });
  $('trend-span').addEventListener('change', () => {
    page.chart.spanMinutes = Number($('trend-span').value);
    page.chart.refresh();
  });
  $('trend-pause').addEventListener('click', () => {
    const chart = page.chart;
    chart.paused = !chart.paused;
    if (!chart.paused) chart.refresh();
    showPauseButton();
  });
  $('trend-export').addEventListener('click', exportTrend);
}

function showPauseButton() {
  const button = $('trend-pause');
  button.dataset.text = page.chart.paused ? 'resume' : 'pause';
  button.textContent = t(button.dataset.text);
  button.setAttribute('aria-pressed', String(page.chart.paused));
}

function exportTrend() {
  const blob = new Blob([trendCsv(page.chart.shownPoints())], { type: 'text/csv;charset=utf-8' });
  const link = document.createElement('a');
  const port = (page.status && page.status.id) || 'dnx8';
  const stamp = new Date().toISOString().slice(0, 19).replace(/[:T]/g, '-');
  link.download = `${port}-${stamp}.csv`;
  link.href = URL.createObjectURL(blob);
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

function applyLanguage() {
  document.documentElement.lang = language();
  applyTexts(document);
  if (page.chart) page.chart.setLabels(SeriesLabels.map(t));
  showIdentity();
  showLive();
  showConnection();
  showBenchTexts();
  showRestoreTexts();
  journalLanguageChanged();
}

function wire() {
  $('language').addEventListener('click', () => {
    setLanguage(language() === 'cs' ? 'en' : 'cs');
    try {
      localStorage.setItem(LanguageKey, language());
    } catch {
      // storage off: the choice lasts for this page only
    }
    applyLanguage();
  });
  $('connect').addEventListener('click', connect);
  $('port').addEventListener('keydown', (e) => {
    if (e.key === 'Enter') connect();
  });
  $('disconnect').addEventListener('click', disconnect);
  window.addEventListener('hashchange', loadConverters);
  $('write-filter').addEventListener('click', writeFilter);
  $('write-scale-min').addEventListener('click', () => writeScale('ScaleMin', $('scale-min'), $('scale-min-note')));
  $('write-scale-max').addEventListener('click', () => writeScale('ScaleMax', $('scale-max'), $('scale-max-note')));
  $('write-error-state').addEventListener('click', writeErrorState);
  for (const input of document.querySelectorAll('#view input.number')) {
    input.addEventListener('input', () => {
      input.dataset.edited = 'yes';
    });
  }
}

async function start() {
  let stored = null;
  try {
    stored = localStorage.getItem(LanguageKey);
  } catch {
    stored = null;
  }
  setLanguage(preferredLanguage(stored, navigator.languages));
  buildFilter();
  buildRelays();
  buildTrendControls();
  page.chart = new TrendChart($('trend-chart'), page.trend, SeriesLabels.map(t));
  wire();
  setUpInputPanel(() => page.current);
  wireRecord();
  applyLanguage();

  const server = await api.server();
  page.readOnly = Boolean(server.ok && server.body && server.body.readOnly);
  document.body.classList.toggle('read-only', page.readOnly);
  $('read-only').hidden = !page.readOnly;
  for (const el of document.querySelectorAll('.write')) el.hidden = page.readOnly;
  for (const el of document.querySelectorAll('#view input.number')) el.readOnly = page.readOnly;
  startRestore(page.readOnly);
  setupJournal(page.readOnly);

  await Promise.all([loadPorts(), loadConverters()]);
  document.body.dataset.ready = 'yes';
}

if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', start);
else start();
