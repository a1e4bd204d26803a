// The converter's history: every write the server journalled for it and the
// copies of its configuration as found before the first write, each to
// download or to hand to the restore flow.

import { api, isCommunicationFailure, messageOf } from './api.js';
import { openRestoreFlow } from './restore.js';
import { t } from './texts.js';

const $ = (id) => document.getElementById(id);

const history = {
  id: null, // the converter shown
  body: null, // the last answer of GET .../journal
  readOnly: false,
};

function note(key, kind, extra = '') {
  const el = $('history-note');
  el.textContent = key ? t(key) + (extra ? ' ' + extra : '') : extra;
  el.className = 'note' + (kind ? ' ' + kind : '');
}

// "2024-05-14T09:30:00.250+02:00" -> "2024-05-14 09:30:00": the
// converter's local time as the server wrote it.
export function timeText(stamp) {
  const match = /^(\d{4}-\d{2}-\d{2})T(\d{2}:\d{2}:\d{2})/.exec(String(stamp || ''));
  return match ? `${match[1]} ${match[2]}` : String(stamp || '');
}

// One journal line as one line of text: time, client, parameter, what was
// sent and what came back.
export function lineText(line) {
  const parameter = line.index === undefined ? line.parameter : `${line.parameter}[${line.index}]`;
  const outcome = line.failure !== undefined ? `${t('journalFailed')} ${line.failure}` : `→ ${line.echo}`;
  return `${timeText(line.time)} · ${line.client || '—'} · ${parameter}: ${line.sent} ${outcome}`;
}

function showLines() {
  const list = $('journal-lines');
  list.replaceChildren();
  const lines = history.body ? [...history.body.lines].reverse() : [];
  for (const line of lines) {
    const item = document.createElement('li');
    item.textContent = lineText(line);
    if (line.failure !== undefined) item.className = 'error';
    list.append(item);
  }
  $('journal-empty').hidden = lines.length > 0;
  $('journal-more').hidden = !(history.body && history.body.more);
}

function showCopies() {
  const list = $('as-found-list');
  list.replaceChildren();
  const copies = history.body ? history.body.asFound : [];
  for (const copy of copies) {
    const item = document.createElement('li');
    const time = document.createElement('span');
    time.textContent = `${timeText(copy.time)} UTC`;
    const link = document.createElement('a');
    link.href = copy.address;
    link.download = copy.name;
    link.textContent = t('download');
    link.setAttribute('aria-label', `${t('download')} ${copy.name}`);
    item.append(time, ' ', link);
    if (!history.readOnly) {
      const restore = document.createElement('button');
      restore.type = 'button';
      restore.className = 'write';
      restore.textContent = t('restoreCopy');
      restore.setAttribute('aria-label', `${t('restoreCopy')} ${copy.name}`);
      restore.addEventListener('click', () => restoreCopy(copy));
      item.append(' ', restore);
    }
    list.append(item);
  }
  $('as-found-empty').hidden = copies.length > 0;
}

function show() {
  showLines();
  showCopies();
}

async function restoreCopy(copy) {
  const id = history.id;
  let text;
  try {
    const response = await fetch(copy.address, { credentials: 'same-origin' });
    text = response.ok ? await response.text() : null;
  } catch {
    text = null;
  }
  if (id !== history.id) return;
  if (text === null) {
    note('copyUnreadable', 'error');
    return;
  }
  note('', '');
  openRestoreFlow(id, text, `${t('asFoundLabel')} ${timeText(copy.time)} UTC`);
}

// Reads the history of the converter shown again.
export async function refreshJournal() {
  const id = history.id;
  if (!id) return;
  const answer = await api.journal(id);
  if (id !== history.id) return;
  if (!answer.ok || !answer.body) {
    note(isCommunicationFailure(answer) ? 'communicationError' : 'refused', 'error', messageOf(answer));
    return;
  }
  note('', '');
  history.body = answer.body;
  show();
}

// The history of another converter (null: none).
export function openJournal(id) {
  history.id = id;
  history.body = null;
  note('', '');
  show();
  refreshJournal();
}

// Texts that are built, not marked, follow the language.
export function journalLanguageChanged() {
  show();
}

export function setupJournal(readOnly) {
  history.readOnly = readOnly;
  $('history-refresh').addEventListener('click', refreshJournal);
  show();
}
