// The input configuration: the six input dialogs in one panel, the
// linearization choice with a point file's fit report and plot, the write
// with its progress and the input read back. The words sent are those of
// `dnx8 input`; the server checks them and runs the dialogs' sequences.

import { api, isCommunicationFailure, messageOf } from './api.js';
import { readReal, realText } from './numbers.js';
import { applyTexts, t } from './texts.js';

const $ = (id) => document.getElementById(id);
const MaxPointText = 48 * 1024;

// The dialogs' lists: the word sent, the text shown (catalog names as the
// converter's catalogs spell them; ranges as the dialogs show them).
const Wirings = [['2', 'Dvoudrát'], ['2ks', 'Dvoudrát+KS'], ['3', 'Třídrát'], ['4', 'Čtyřdrát']];
const Kinds = [
  {
    word: 'voltage', plain: true, range: [0, 10],
    lists: [{ key: 'variant', label: 'inputVariant', items: [['100mV', 'InA (100 mV)'], ['1V', 'InA (1 V)'], ['10V', '10 V']], initial: '10V' }],
    number: { key: 'divider', label: 'inputDivider', off: (v) => v.variant === '10V' },
  },
  {
    word: 'current', plain: true, range: [0, 20],
    lists: [{ key: 'variant', label: 'inputVariant', items: [['shunt', 'InA (externí bočník)'], ['20mA', '20 mA']], initial: '20mA' }],
    number: { key: 'shunt', label: 'inputShunt', off: (v) => v.variant !== 'shunt' },
  },
  {
    word: 'resistance', plain: true, range: [0, 4000],
    lists: [{ key: 'wiring', label: 'inputWiring', items: Wirings, initial: '4' }],
  },
  {
    word: 'potentiometer', plain: true, range: [0, 4000],
    lists: [
      { key: 'mode', label: 'inputType', items: [['absolute', 'Absolutní'], ['relative', 'Relativní']], initial: 'absolute' },
      { key: 'wiring', label: 'inputWiring', items: [['3ks', 'Třídrát+KS'], ['4', 'Čtyřdrát']], initial: '4' },
    ],
  },
  {
    word: 'rtd', plain: false,
    lists: [
      {
        key: 'sensor', label: 'inputType', initial: 'pt100', ranges: true,
        items: [['pt100', 'Pt 100 (3850)', -200, 850], ['ni100-5000', 'Ni 100 (5000)', -60, 250],
          ['ni100-6180', 'Ni 100 (6180)', -60, 250], ['pt1000', 'Pt 1000 (3850)', -200, 850],
          ['ni1000-5000', 'Ni 1000 (5000)', -60, 250], ['ni1000-6180', 'Ni 1000 (6180)', -60, 250]],
      },
      { key: 'wiring', label: 'inputWiring', items: Wirings, initial: '4' },
    ],
  },
  {
    word: 'thermocouple', plain: false,
    lists: [
      {
        key: 'type', label: 'inputType', initial: 'J', ranges: true,
        items: [['B', 'B (Pt30Rh-Pt6Rh)', 250, 1820], ['E', 'E (Chromel-Konstantan)', -200, 1000],
          ['J', 'J (Železo-Konstantan)', -200, 1200], ['K', 'K (Chromel-Alumel)', -200, 1372],
          ['L', 'L (Železo-Konstantan)', -200, 900], ['N', 'N (Nicrosil-Nisil)', -200, 1300],
          ['R', 'R (Pt13Rh-Pt)', -50, 1768], ['S', 'S (Pt10Rh-Pt)', -50, 1768], ['T', 'T (Měď-Konstantan)', -200, 400]],
      },
      {
        key: 'compensation', label: 'inputWiring', initial: 'internal',
        items: [['internal', 'Interní kompenzace'], ['2wire', 'Dvoudrátová kompenzace'], ['3wire', 'Třídrátová kompenzace']],
      },
    ],
  },
];

const state = {
  converter: () => null, // the id of the converter shown
  reading: null,
  points: null, // {text, name} of the chosen point file
  report: null, // the last /api/fit answer
  choice: null, // 'spline' or an order
  writing: false,
};

function kind() {
  return Kinds[Number($('input-config-kind').value)];
}

function note(el, text, kindClass = '') {
  el.textContent = text;
  el.className = 'note' + (kindClass ? ' ' + kindClass : '');
}

function makeSelect(id, items) {
  const select = document.createElement('select');
  select.id = id;
  for (const [word, text] of items) {
    const option = document.createElement('option');
    option.value = word;
    option.textContent = text;
    select.append(option);
  }
  return select;
}

function labelled(id, textKey, control) {
  const row = document.createElement('div');
  row.className = 'input-config-row';
  const label = document.createElement('label');
  label.htmlFor = id;
  label.dataset.text = textKey;
  row.append(label, control);
  return row;
}

// The kind's own fields, as its dialog has them.
function buildFields() {
  const k = kind();
  const fields = $('input-config-fields');
  fields.replaceChildren();
  for (const list of k.lists) {
    const id = `input-config-${list.key}`;
    const select = makeSelect(id, list.items);
    select.value = list.initial;
    fields.append(labelled(id, list.label, select));
    if (list.ranges) {
      const out = document.createElement('output');
      out.id = 'input-config-range';
      out.className = 'value text';
      fields.append(labelled(out.id, 'inputRange', out));
      const show = () => {
        const item = list.items.find(([word]) => word === select.value);
        out.value = item ? `${item[2]}${t('rangeTo')}${item[3]} °C` : '';
      };
      select.addEventListener('change', show);
      show();
    }
    select.addEventListener('change', showNumberState);
  }
  if (k.number) {
    const id = `input-config-${k.number.key}`;
    const input = document.createElement('input');
    input.id = id;
    input.className = 'number';
    input.inputMode = 'decimal';
    input.autocomplete = 'off';
    input.setAttribute('aria-describedby', 'input-config-number-hint');
    const row = labelled(id, k.number.label, input);
    const hint = document.createElement('p');
    hint.id = 'input-config-number-hint';
    hint.className = 'hint';
    hint.dataset.text = 'inputOwnValue';
    row.append(hint);
    fields.append(row);
  }
  $('input-config-linearization').hidden = !k.plain;
  showNumberState();
  showConverterRange();
  applyTexts(fields);
}

function values() {
  const v = {};
  for (const list of kind().lists) v[list.key] = $(`input-config-${list.key}`).value;
  return v;
}

// The divider of 10 V and the shunt of 20 mA do not exist: their edits are off.
function showNumberState() {
  const k = kind();
  if (k.number) $(`input-config-${k.number.key}`).disabled = k.number.off(values());
  showUnits();
}

// The range's unit follows the variant, as the dialogs' labels do.
function showUnits() {
  const k = kind();
  if (!k.plain) return;
  const v = values();
  let unit = '';
  if (k.word === 'voltage') unit = v.variant === '100mV' ? '[mV]' : '[V]';
  if (k.word === 'current') unit = '[mA]';
  if (k.word === 'resistance') unit = '[ohm]';
  if (k.word === 'potentiometer') unit = v.mode === 'relative' ? '[%]' : '[Ohm]';
  $('input-config-min-label').textContent = `Min ${unit}:`;
  $('input-config-max-label').textContent = `Max ${unit}:`;
}

function linearizationChoice() {
  const checked = document.querySelector('input[name="input-config-linearization"]:checked');
  return checked ? checked.value : '';
}

// The dialog's rule: "Zapnuta" only when the converter already linearizes
// this kind of input; "Vypnuta" shows the converter's range or the default.
function showConverterRange() {
  const k = kind();
  if (!k.plain) return;
  const r = state.reading;
  const config = (r && r.configuration) || {};
  const same = r && r.input && Kinds.indexOf(k) === kindIndexOf(r.input.kind);
  const linearized = same && ((config.CurveDegree || 0) > 0 || (config.SegmentCount || 0) > 0);
  const on = $('input-config-on');
  on.disabled = !linearized;
  if (on.checked && on.disabled) $('input-config-off').checked = true;
  const [min, max] = same && typeof config.RangeMin === 'number' ? [config.RangeMin, config.RangeMax] : k.range;
  $('input-config-min').value = realText(min, 2);
  $('input-config-max').value = realText(max, 2);
  showLinearizationParts();
}

const CzechKinds = ['Napětí', 'Proud', 'Odpor', 'Potenciometr', 'Teploměr', 'Termočlánek'];
function kindIndexOf(text) {
  return CzechKinds.indexOf(text);
}

// "Přepsat" shows the point file's x range, which the table brings along.
function showLinearizationParts() {
  const choice = linearizationChoice();
  for (const id of ['input-config-min', 'input-config-max']) $(id).disabled = choice !== 'off';
  $('input-config-points').hidden = choice !== 'points';
  if (choice === 'points' && state.report) {
    $('input-config-min').value = realText(state.report.min, 2);
    $('input-config-max').value = realText(state.report.max, 2);
  }
}

// ---- the point file and its fits -----------------------------------------

function methodText(entry) {
  return entry.method === 'spline' ? t('fitSpline') : t('fitOrder').replace('N', String(entry.degree));
}

// printf's %.3g, as `dnx8 fit --report` writes its figures.
export function figure(value, digits = 3) {
  if (typeof value !== 'number') return '–';
  if (value === 0) return '0';
  const [mantissa, power] = value.toExponential(digits - 1).split('e');
  const exponent = Number(power);
  const trim = (text) => (text.includes('.') ? text.replace(/\.?0+$/, '') : text);
  if (exponent < -4 || exponent >= digits) {
    const sign = exponent < 0 ? '-' : '+';
    return `${trim(mantissa)}e${sign}${String(Math.abs(exponent)).padStart(2, '0')}`;
  }
  return trim(value.toFixed(Math.max(0, digits - 1 - exponent)));
}

function choiceOf(entry) {
  return entry.method === 'spline' ? 'spline' : entry.degree;
}

function renderReport() {
  const report = state.report;
  const body = $('fit-rows');
  body.replaceChildren();
  $('fit-report').hidden = !report;
  if (!report) return;
  showLinearizationParts();
  for (const entry of report.report) {
    const row = document.createElement('tr');
    const pick = document.createElement('td');
    const radio = document.createElement('input');
    radio.type = 'radio';
    radio.name = 'fit-choice';
    radio.value = String(choiceOf(entry));
    radio.setAttribute('aria-label', methodText(entry));
    radio.disabled = entry.maxResidual === null;
    radio.checked = choiceOf(entry) === state.choice;
    radio.addEventListener('change', () => choose(choiceOf(entry)));
    pick.append(radio);
    const notes = [];
    if (entry.maxResidual === null) notes.push(t('fitCannot'));
    if (entry.float32Warning) notes.push(t('fitFloat32'));
    if (entry.noBetterThan) notes.push(t('fitNoBetter').replace('N', String(entry.noBetterThan)));
    if (entry.method === 'polynomial' && entry.degree === report.preselected) notes.push(t('fitPreselected'));
    if (entry.method === 'polynomial' && entry.degree === report.lowestWithin10Percent) notes.push(t('fitLowest'));
    const cells = [methodText(entry), figure(entry.maxResidual), figure(entry.maxResidualAt, 7),
      figure(entry.rmsResidual), figure(entry.maxResidual80), figure(entry.rmsResidual80), notes.join('; ')];
    row.append(pick);
    cells.forEach((text, i) => {
      const cell = document.createElement(i === 0 ? 'th' : 'td');
      if (i === 0) cell.scope = 'row';
      cell.textContent = text;
      row.append(cell);
    });
    body.append(row);
  }
  const summary = [`${t('fitPoints')} ${report.points}`, `Min ${report.min}`, `Max ${report.max}`,
    `${t('fitPreselected')}: ${t('fitOrder').replace('N', String(report.preselected))}`];
  if (report.lowestWithin10Percent) {
    summary.push(`${t('fitLowest')}: ${t('fitOrder').replace('N', String(report.lowestWithin10Percent))}`);
  }
  $('fit-summary').textContent = summary.join(' · ');
  const warnings = $('fit-warnings');
  warnings.replaceChildren();
  const warn = (text) => {
    const item = document.createElement('li');
    item.textContent = text;
    warnings.append(item);
  };
  if (report.byteOrderMark) warn(t('fitByteOrderMark'));
  for (const line of report.skippedLines || []) warn(`${t('fitLine')} ${line.line}: ${line.reason}`);
  const more = (report.skippedLineCount || 0) - (report.skippedLines || []).length;
  if (more > 0) warn(t('fitMoreSkipped').replace('N', String(more)));
  if (state.choice === 'spline' && (report.repeatedX || []).length) {
    warn(t('fitRepeated') + ' ' + report.repeatedX.join(', '));
  }
  for (const entry of report.report) {
    if (entry.float32Warning) warn(`${methodText(entry)}: ${t('fitFloat32')}`);
  }
  const plot = report.plot;
  const img = $('fit-plot');
  img.hidden = !plot;
  if (plot) {
    img.src = 'data:image/svg+xml;charset=utf-8,' + encodeURIComponent(plot.svg);
    img.alt = `${t('fitPlot')}: ${plot.method === 'spline' ? t('fitSpline') : t('fitOrder').replace('N', String(plot.degree))}`;
  }
}

async function fetchReport(choice) {
  const answer = await api.fit(state.points.text, choice);
  if (!answer.ok) {
    state.report = null;
    renderReport();
    const skipped = answer.body && Array.isArray(answer.body.skippedLines)
      ? answer.body.skippedLines.map((l) => ` ${t('fitLine')} ${l.line}: ${l.reason}.`).join('') : '';
    note($('fit-note'), (isCommunicationFailure(answer) ? t('communicationError') : messageOf(answer)) + skipped, 'error');
    return false;
  }
  state.report = answer.body;
  note($('fit-note'), '', '');
  renderReport();
  return true;
}

async function choose(choice) {
  state.choice = choice;
  await fetchReport(choice);
}

async function pointFileChosen() {
  const file = $('input-config-file').files[0];
  state.points = null;
  state.report = null;
  state.choice = null;
  renderReport();
  if (!file) return;
  if (file.size > MaxPointText) {
    note($('fit-note'), t('fitTooLarge'), 'error');
    return;
  }
  const text = await file.text();
  state.points = { text, name: file.name };
  if (await fetchReport(null)) {
    // The dialog's preselection, drawn.
    state.choice = state.report.preselected;
    renderReport();
  }
}

// ---- writing ---------------------------------------------------------------

function linearizationBody(noteEl) {
  const choice = linearizationChoice();
  if (choice === 'keep') return 'keep';
  if (choice === 'off') {
    const min = readReal($('input-config-min').value);
    const max = readReal($('input-config-max').value);
    for (const [input, read] of [[$('input-config-min'), min], [$('input-config-max'), max]]) {
      if (read.problem) {
        input.setAttribute('aria-invalid', 'true');
        input.focus();
        note(noteEl, t('problem' + read.problem[0].toUpperCase() + read.problem.slice(1)), 'error');
        return null;
      }
      input.removeAttribute('aria-invalid');
    }
    return { off: [min.value, max.value] };
  }
  if (choice === 'points') {
    if (!state.points || !state.report || state.choice === null) {
      note(noteEl, t('fitChooseFile'), 'error');
      $('input-config-file').focus();
      return null;
    }
    return state.choice === 'spline' ? { points: state.points.text, spline: true }
      : { points: state.points.text, order: state.choice };
  }
  note(noteEl, t('problemChoice'), 'error');
  return null;
}

function requestBody(noteEl) {
  const k = kind();
  const body = { kind: k.word, ...values() };
  if (k.number) {
    const input = $(`input-config-${k.number.key}`);
    if (!input.disabled && input.value.trim() !== '') {
      const read = readReal(input.value);
      if (read.problem || !(read.value > 0)) {
        input.setAttribute('aria-invalid', 'true');
        input.focus();
        note(noteEl, read.problem ? t('problem' + read.problem[0].toUpperCase() + read.problem.slice(1))
          : t('problemPositive'), 'error');
        return null;
      }
      input.removeAttribute('aria-invalid');
      body[k.number.key] = read.value;
    }
  }
  if (k.plain) {
    const linearization = linearizationBody(noteEl);
    if (linearization === null) return null;
    body.linearization = linearization;
  }
  return body;
}

function showResult(reply) {
  const list = $('input-result');
  list.replaceChildren();
  if (!reply || !reply.configuration) return;
  const add = (key, value) => {
    const term = document.createElement('dt');
    term.textContent = t(key);
    const text = document.createElement('dd');
    text.textContent = value === null || value === undefined ? t('communicationError') : String(value);
    list.append(term, text);
  };
  const c = reply.configuration;
  const input = reply.input || {};
  add('resultKind', input.kind ? t('inputKind' + kindIndexOf(input.kind)) : null);
  if (input.measurement) add('resultMeasurement', input.measurement);
  if (input.wiring) add('inputWiring', input.wiring);
  add('resultSensor', input.sensor || t('resultNoSensor'));
  add('resultRangeMin', typeof c.RangeMin === 'number' ? realText(c.RangeMin, 2) : null);
  add('resultRangeMax', typeof c.RangeMax === 'number' ? realText(c.RangeMax, 2) : null);
  add('resultDegree', c.CurveDegree);
  add('resultSegments', c.SegmentCount);
  for (const m of reply.mismatches || []) add('resultMismatch', `${m.name}: ${m.asked} → ${m.held}`);
}

async function writeInput() {
  const id = state.converter();
  const noteEl = $('input-note');
  if (!id || state.writing) return;
  note(noteEl, '', '');
  const body = requestBody(noteEl);
  if (!body) return;
  state.writing = true;
  $('write-input').disabled = true;
  const progress = $('input-progress');
  progress.value = 0;
  progress.removeAttribute('max');
  progress.hidden = false;
  note(noteEl, t('inputWriting'), '');
  const answer = await api.input(id, body);
  state.writing = false;
  $('write-input').disabled = false;
  progress.hidden = true;
  if (id !== state.converter()) return;
  showResult(answer.body);
  if (!answer.ok) {
    note(noteEl, isCommunicationFailure(answer) && !messageOf(answer) ? t('communicationError')
      : `${t('refused')} ${messageOf(answer)}`, 'error');
    return;
  }
  const mismatches = (answer.body.mismatches || []).length;
  note(noteEl, mismatches ? t('inputMismatch') : t('inputVerified'), mismatches ? 'warning' : 'done');
}

// ---- wiring ----------------------------------------------------------------

// A progress event of the converter shown.
export function showInputProgress(progress) {
  const bar = $('input-progress');
  if (!state.writing || !progress || !progress.total) return;
  bar.max = progress.total;
  bar.value = progress.step;
  bar.setAttribute('aria-valuetext', `${progress.step} / ${progress.total}`);
}

// The converter's read-all: what "Vypnuta" and "Zapnuta" start from.
export function showInputReading(reading) {
  const first = !state.reading;
  state.reading = reading;
  if (first && reading && reading.input) {
    const index = kindIndexOf(reading.input.kind);
    if (index >= 0 && !$('input-config').dataset.touched) {
      $('input-config-kind').value = String(index);
      buildFields();
      return;
    }
  }
  showConverterRange();
}

// Another converter: the main view's clearing took the panel's choices too.
export function clearInputPanel() {
  state.reading = null;
  showResult(null);
  note($('input-note'), '', '');
  if (!linearizationChoice()) $('input-config-off').checked = true;
  showConverterRange();
}

export function setUpInputPanel(currentConverter) {
  state.converter = currentConverter;
  const select = $('input-config-kind');
  Kinds.forEach((k, i) => {
    const option = document.createElement('option');
    option.value = String(i);
    option.dataset.text = 'inputKind' + i;
    select.append(option);
  });
  select.value = '0';
  select.addEventListener('change', () => {
    $('input-config').dataset.touched = 'yes';
    buildFields();
  });
  for (const radio of document.querySelectorAll('input[name="input-config-linearization"]')) {
    radio.addEventListener('change', showLinearizationParts);
  }
  $('input-config-file').addEventListener('change', pointFileChosen);
  $('write-input').addEventListener('click', writeInput);
  $('language').addEventListener('click', () => {
    renderReport();
    // The range text of the sensor lists anew.
    for (const select of $('input-config-fields').querySelectorAll('select')) {
      select.dispatchEvent(new Event('change'));
    }
  });
  $('input-config-off').checked = true;
  buildFields();
}
