// Backup, restore and diff of the converter shown, and the batch restore
// of the bench. A restore always shows first what it will change (the
// server's dry run, nothing sent) and writes only when confirmed. A backup
// file goes to the server as chosen, never re-encoded: the server judges it.

import { api, isCommunicationFailure, messageOf } from './api.js';
import { benchEntries, onBenchChange, onBenchProgress, selectedConverters } from './bench.js';
import { t } from './texts.js';

const $ = (id) => document.getElementById(id);
const FileLimit = 64 * 1024; // the server's body limit
const Orders = ['', '2', '3', '4', '5', '6', '7', '8', '9', 'spline']; // '': the dialog's preselection

const state = {
  readOnly: false,
  current: null, // the converter shown
  flow: null, // the restore being prepared or written
  batch: null, // {ids, text}: the batch being confirmed
  batchItems: null, // id -> its line in the results while the batch runs
};

function note(el, key, kind, extra = '') {
  el.textContent = (key ? t(key) : '') + (key && extra ? ' ' : '') + extra;
  el.className = 'note' + (kind ? ' ' + kind : '');
}

function failureText(answer) {
  return isCommunicationFailure(answer) && !messageOf(answer) ? t('communicationError') : messageOf(answer);
}

// A value of a difference as the server wrote it (reals already shortest).
function valueText(value) {
  if (value === undefined || value === null) return '—';
  return typeof value === 'object' ? JSON.stringify(value) : String(value);
}

// The rows of a diff (left the converter, right the file) or of a
// restore's read-back (held, asked): [name, converter, backup].
export function differenceRows(list) {
  if (!Array.isArray(list)) return [];
  return list.map((d) => [String(d.name ?? ''), valueText(d.left ?? d.held), valueText(d.right ?? d.asked)]);
}

// Per converter of a batch: {id, outcome: 'verified' | 'differences' |
// 'failed' | 'skipped', detail, rows}; a converter the reply does not name
// failed.
export function batchResults(body, ids) {
  const list = body && Array.isArray(body.results) ? body.results : [];
  return ids.map((id) => {
    const r = list.find((x) => x.id === id);
    if (!r) return { id, outcome: 'failed', detail: '', rows: [] };
    const outcome = ['verified', 'differences', 'skipped'].includes(r.result) ? r.result : 'failed';
    return { id, outcome, detail: r.error || '', rows: differenceRows(r.differences) };
  });
}

function fillTable(rows, caption, heads) {
  $('restore-changes-caption').textContent = caption;
  $('restore-left-head').textContent = t(heads[0]);
  $('restore-right-head').textContent = t(heads[1]);
  $('restore-change-rows').replaceChildren(...rows.map((cells) => {
    const tr = document.createElement('tr');
    cells.forEach((text, i) => {
      const td = document.createElement(i === 0 ? 'th' : 'td');
      if (i === 0) td.scope = 'row';
      td.textContent = text;
      tr.append(td);
    });
    return tr;
  }));
  $('restore-changes').hidden = rows.length === 0;
}

function listInto(list, texts) {
  list.replaceChildren(...texts.map((text) => {
    const li = document.createElement('li');
    li.textContent = text;
    return li;
  }));
  list.hidden = texts.length === 0;
}

// The server's faults and notes beside a flow's state.
function showMessages(body) {
  const texts = [];
  if (body && Array.isArray(body.faults)) texts.push(...body.faults);
  if (body && Array.isArray(body.notes)) texts.push(...body.notes);
  listInto($('restore-messages'), texts.map(String));
}

async function readFile(input, noteEl) {
  const file = input.files && input.files[0];
  if (!file) return null;
  if (file.size > FileLimit) {
    note(noteEl, 'fileTooLarge', 'error');
    return null;
  }
  try {
    return { text: await file.text(), name: file.name };
  } catch {
    note(noteEl, 'fileUnreadable', 'error');
    return null;
  }
}

// ---- backup ----------------------------------------------------------------

function saveFile(text, name) {
  const link = document.createElement('a');
  link.download = name;
  link.href = URL.createObjectURL(new Blob([text], { type: 'application/json' }));
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

// The server names the file (serial number and date); nothing else is taken.
function attachmentName(response) {
  const match = /filename="([\w.-]+)"/.exec(response.headers.get('Content-Disposition') || '');
  return match ? match[1] : 'dnx8.json';
}

async function downloadBackup() {
  const id = state.current;
  const noteEl = $('backup-note');
  note(noteEl, '', '');
  let response;
  try {
    response = await fetch(api.backupUrl(id), { credentials: 'same-origin' });
  } catch {
    note(noteEl, 'communicationError', 'error');
    return;
  }
  const text = await response.text().catch(() => '');
  if (!response.ok) {
    let body = null;
    try {
      body = JSON.parse(text);
    } catch {
      body = { error: text };
    }
    note(noteEl, 'refused', 'error', failureText({ status: response.status, body }));
    return;
  }
  const name = attachmentName(response);
  saveFile(text, name);
  note(noteEl, 'backupSaved', 'done', name);
}

// ---- restore ---------------------------------------------------------------

// What to do with a linearization the file cannot restore: null (the
// file's own), "keep", {points, order} or {points, spline}; undefined
// while the choice lacks its point file.
function linearizationChoice() {
  const checked = document.querySelector('input[name="restore-linearization"]:checked');
  if (!checked) return null;
  if (checked.value === 'keep') return 'keep';
  const points = state.flow && state.flow.points;
  if (!points) return undefined;
  const method = $('points-method').value;
  if (method === 'spline') return { points, spline: true };
  return method ? { points, order: Number(method) } : { points };
}

// The file as chosen, wrapped only when a choice goes with it.
function restoreBody(text, choice) {
  if (!choice) return text;
  return `{"backup": ${text}, "linearization": ${JSON.stringify(choice)}}`;
}

function setBusy(busy) {
  const progress = $('restore-progress');
  progress.hidden = !busy;
  if (busy) {
    progress.removeAttribute('value');
    progress.removeAttribute('max');
  }
  $('restore-go').disabled = busy;
  for (const input of document.querySelectorAll('#restore-choice input, #restore-choice select')) input.disabled = busy;
}

function showObstacles(body) {
  const obstacles = body && Array.isArray(body.obstacles) ? body.obstacles.map(String) : [];
  if (obstacles.length === 0 && !state.flow.obstacles) return false;
  if (obstacles.length) state.flow.obstacles = obstacles;
  listInto($('restore-limits'), state.flow.obstacles);
  const choices = body && Array.isArray(body.choices) ? body.choices : ['keep', 'points'];
  for (const radio of document.querySelectorAll('input[name="restore-linearization"]')) {
    radio.closest('label').hidden = !choices.includes(radio.value) && !radio.checked;
  }
  $('restore-choice').hidden = false;
  return true;
}

// The dry run: what will change and what cannot be put back; nothing sent.
async function plan() {
  const flow = state.flow;
  flow.plan = null;
  $('restore-go').hidden = true;
  const choice = linearizationChoice();
  if (choice === undefined) {
    note($('restore-state'), 'choosePoints', 'warning');
    fillTable([], '', ['inConverter', 'inBackup']);
    return;
  }
  note($('restore-state'), 'planning', '');
  setBusy(true);
  const answer = await api.restore(flow.id, restoreBody(flow.text, choice), '?dryRun=true');
  if (state.flow !== flow) return;
  setBusy(false);
  const body = answer.body || {};
  const blocked = showObstacles(body) && (!answer.ok || body.restorable === false);
  showMessages(body);
  if (!answer.ok || body.restorable === false) {
    fillTable([], '', ['inConverter', 'inBackup']);
    if (blocked && !choice) note($('restore-state'), 'chooseLinearization', 'warning');
    else note($('restore-state'), answer.status === 400 || answer.ok ? 'badBackup' : 'refused', 'error', failureText(answer));
    return;
  }
  flow.plan = { choice };
  const rows = differenceRows(body.diff && body.diff.differences);
  fillTable(rows, t('willChange'), ['inConverter', 'inBackup']);
  note($('restore-state'), rows.length ? 'beforeWrite' : 'nothingChanges', rows.length ? '' : 'done');
  $('restore-go').hidden = state.readOnly;
  if (!state.readOnly) $('restore-go').focus();
}

async function write() {
  const flow = state.flow;
  if (!flow || !flow.plan) return;
  const choice = flow.plan.choice;
  flow.writing = true;
  note($('restore-state'), 'writing', '');
  setBusy(true);
  const answer = await api.restore(flow.id, restoreBody(flow.text, choice), '');
  flow.writing = false;
  if (state.flow !== flow) return;
  setBusy(false);
  flow.plan = null;
  $('restore-go').hidden = true;
  $('restore-close').textContent = t('close');
  const body = answer.body || {};
  const rows = differenceRows(body.differences);
  fillTable(rows, rows.length ? t('differences') : '', ['readBack', 'written']);
  showMessages(answer.ok ? { notes: body.notes } : body);
  if (answer.ok && body.result === 'verified') note($('restore-state'), 'verified', 'done');
  else if (answer.ok && body.result === 'differences') note($('restore-state'), 'differences', 'warning');
  else note($('restore-state'), 'restoreFailed', 'error', failureText(answer));
  $('restore-close').focus();
}

// A progress event of the converter shown.
export function showRestoreProgress(progress) {
  const flow = state.flow;
  if (!flow || !flow.writing || flow.id !== state.current || !progress || !(progress.total > 0)) return;
  if (progress.operation && progress.operation !== 'restore') return;
  const bar = $('restore-progress');
  bar.max = progress.total;
  bar.value = Math.min(progress.step, progress.total);
  note($('restore-state'), 'writing', '', `${progress.parameter || ''} (${progress.step}/${progress.total})`);
}

function closeFlow() {
  state.flow = null;
  $('restore-flow').hidden = true;
}

function resetFlow(title) {
  $('restore-flow').hidden = false;
  $('restore-title').textContent = title;
  $('restore-choice').hidden = true;
  $('restore-changes').hidden = true;
  $('restore-go').hidden = true;
  $('restore-progress').hidden = true;
  listInto($('restore-messages'), []);
  $('restore-close').textContent = t('cancel');
  $('points-file').value = '';
  for (const radio of document.querySelectorAll('input[name="restore-linearization"]')) radio.checked = false;
  $('restore-points').hidden = true;
  note($('restore-note'), '', '');
}

// Shows what restoring backupText into the converter would change and
// writes it once the user confirms; label names the backup (a file name).
export function openRestoreFlow(converterId, backupText, label) {
  resetFlow(`${t('restoreOf')} ${label}`);
  state.flow = { id: converterId, text: backupText, label, plan: null, points: null, obstacles: null, writing: false };
  $('restore-flow').scrollIntoView({ block: 'nearest' });
  return plan();
}

async function diff(file) {
  const id = state.current;
  resetFlow(`${t('diffOf')} ${file.name}`);
  state.flow = null;
  $('restore-close').textContent = t('close');
  note($('restore-state'), 'comparing', '');
  const answer = await api.diff(id, file.text);
  if (state.current !== id || state.flow) return;
  showMessages(answer.body);
  if (!answer.ok) {
    note($('restore-state'), answer.status === 400 ? 'badBackup' : 'refused', 'error', failureText(answer));
    return;
  }
  const rows = differenceRows(answer.body.differences);
  fillTable(rows, rows.length ? t('differ') : '', ['inConverter', 'inBackup']);
  const equal = answer.body.equal === true;
  note($('restore-state'), equal ? 'equal' : 'differ', equal ? 'done' : 'warning');
}

// ---- batch -----------------------------------------------------------------

function portOf(id) {
  const entry = benchEntries().find((c) => c.id === id);
  return entry ? entry.port : id;
}

function batchItem(id) {
  const li = document.createElement('li');
  li.dataset.id = id;
  const name = document.createElement('span');
  name.className = 'name';
  name.textContent = portOf(id);
  const progress = document.createElement('progress');
  progress.setAttribute('aria-label', `${t('restoreProgress')} ${portOf(id)}`);
  const outcome = document.createElement('span');
  outcome.className = 'outcome';
  outcome.textContent = t('batchWaiting');
  li.append(name, progress, outcome);
  return li;
}

function showBatchProgress(progress) {
  const li = state.batchItems && state.batchItems.get(progress.id);
  const bar = li && li.querySelector('progress');
  if (!bar || !(progress.total > 0) || (progress.operation && progress.operation !== 'restore')) return;
  bar.max = progress.total;
  bar.value = Math.min(progress.step, progress.total);
}

const OutcomeTexts = {
  verified: 'batchVerified', differences: 'batchDiffers', failed: 'batchFailed', skipped: 'batchSkipped',
};

function showBatchResult(li, result) {
  li.querySelector('progress')?.remove();
  const outcome = li.querySelector('.outcome');
  outcome.textContent = t(OutcomeTexts[result.outcome]) + (result.detail ? ` — ${result.detail}` : '');
  outcome.className = 'outcome ' + result.outcome;
  if (result.rows.length) {
    const list = document.createElement('ul');
    list.append(...result.rows.map(([name, held, asked]) => {
      const item = document.createElement('li');
      item.textContent = `${name}: ${held} ≠ ${asked}`;
      return item;
    }));
    li.append(list);
  }
}

async function askBatch() {
  const noteEl = $('batch-note');
  note(noteEl, '', '');
  listInto($('batch-messages'), []);
  const ids = selectedConverters();
  if (ids.length === 0) {
    note(noteEl, 'batchNone', 'error');
    return;
  }
  const file = await readFile($('batch-file'), noteEl);
  if (!file) {
    if (!noteEl.textContent) note(noteEl, 'batchNoFile', 'error');
    return;
  }
  state.batch = { ids, text: file.text, keep: false };
  $('batch-question').textContent = `${t('batchQuestion')} ${ids.map(portOf).join(', ')} (${file.name})`;
  $('batch-keep').hidden = true;
  $('batch-confirm').hidden = false;
  $('batch-go').focus();
}

async function runBatch(keep) {
  const { ids, text } = state.batch;
  $('batch-confirm').hidden = true;
  $('batch-start').disabled = true;
  $('batch-summary').textContent = '';
  note($('batch-note'), '', '');
  listInto($('batch-messages'), []);
  state.batchItems = new Map(ids.map((id) => [id, batchItem(id)]));
  $('batch-results').replaceChildren(...state.batchItems.values());
  const options = keep ? ', "linearization": "keep"' : '';
  const answer = await api.batchRestore(ids, text, options);
  $('batch-start').disabled = false;
  const body = answer.body || {};
  if (!answer.ok || !Array.isArray(body.results)) {
    state.batchItems = null;
    $('batch-results').replaceChildren();
    note($('batch-note'), answer.status === 400 ? 'badBackup' : 'refused', 'error', failureText(answer));
    listInto($('batch-messages'), [...(body.faults || []), ...(body.obstacles || [])].map(String));
    if (Array.isArray(body.choices) && body.choices.includes('keep') && !keep) {
      // The same writes with the targets' own linearization kept.
      $('batch-keep').hidden = false;
      $('batch-confirm').hidden = false;
    }
    return;
  }
  const results = batchResults(body, ids);
  const counts = { verified: 0, differences: 0, failed: 0, skipped: 0 };
  for (const result of results) {
    counts[result.outcome] += 1;
    showBatchResult(state.batchItems.get(result.id), result);
  }
  state.batchItems = null;
  $('batch-summary').textContent = t('batchSummary').replace('{v}', counts.verified)
    .replace('{d}', counts.differences).replace('{f}', counts.failed).replace('{s}', counts.skipped)
    .replace('{n}', ids.length);
  const worst = counts.failed ? 'failed' : counts.skipped ? 'skipped' : counts.differences ? 'differences' : 'verified';
  $('batch-summary').className = 'summary ' + worst;
}

// ---- wiring ----------------------------------------------------------------

export function setRestoreConverter(id) {
  if (state.current !== id) closeFlow();
  state.current = id;
  note($('backup-note'), '', '');
  note($('restore-note'), '', '');
}

function buildMethods() {
  $('points-method').replaceChildren(...Orders.map((value) => {
    const option = document.createElement('option');
    option.value = value;
    return option;
  }));
}

export function showRestoreTexts() {
  for (const option of $('points-method').options) {
    const v = option.value;
    option.textContent = v === 'spline' ? t('spline') : v ? `${t('order')} ${v}` : t('preselected');
  }
}

export function startRestore(readOnly) {
  state.readOnly = readOnly;
  for (const el of document.querySelectorAll('.write-restore')) el.hidden = readOnly;
  buildMethods();
  showRestoreTexts();
  $('backup-download').addEventListener('click', downloadBackup);
  $('restore-file').addEventListener('change', async () => {
    const file = await readFile($('restore-file'), $('restore-note'));
    $('restore-file').value = ''; // the same file chosen again is read again
    if (file && state.current) openRestoreFlow(state.current, file.text, file.name);
  });
  $('diff-file').addEventListener('change', async () => {
    const file = await readFile($('diff-file'), $('restore-note'));
    $('diff-file').value = '';
    if (file && state.current) diff(file);
  });
  for (const radio of document.querySelectorAll('input[name="restore-linearization"]')) {
    radio.addEventListener('change', () => {
      $('restore-points').hidden = radio.value !== 'points' || !radio.checked;
      if (state.flow) plan();
    });
  }
  $('points-file').addEventListener('change', async () => {
    const file = await readFile($('points-file'), $('restore-state'));
    if (!state.flow) return;
    state.flow.points = file ? file.text : null;
    plan();
  });
  $('points-method').addEventListener('change', () => {
    if (state.flow && state.flow.points) plan();
  });
  $('restore-go').addEventListener('click', write);
  $('restore-close').addEventListener('click', closeFlow);
  $('batch-start').addEventListener('click', askBatch);
  $('batch-go').addEventListener('click', () => runBatch(false));
  $('batch-keep').addEventListener('click', () => runBatch(true));
  $('batch-cancel').addEventListener('click', () => {
    $('batch-confirm').hidden = true;
    $('batch-start').focus();
  });
  onBenchProgress(showBatchProgress);
  onBenchChange(() => {
    $('batch-start').disabled = benchEntries().length === 0;
  });
}
