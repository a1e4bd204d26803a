// The server's API. Every answer comes back as {ok, status, body}; a
// network failure counts as status 0. Nothing here throws.

async function call(method, path, payload) {
  return callWith(method, path, payload === undefined ? undefined : JSON.stringify(payload));
}

// A JSON body sent as given: a backup file goes as the user chose it, so
// the server judges the file itself (a key given twice, the reals' digits).
async function callWith(method, path, bodyText) {
  const init = { method, headers: { Accept: 'application/json' }, credentials: 'same-origin' };
  if (bodyText !== undefined) {
    init.headers['Content-Type'] = 'application/json';
    init.body = bodyText;
  }
  let response;
  try {
    response = await fetch(path, init);
  } catch {
    return { ok: false, status: 0, body: null };
  }
  let body = null;
  const text = await response.text().catch(() => '');
  if (text !== '') {
    try {
      body = JSON.parse(text);
    } catch {
      body = { error: text };
    }
  }
  return { ok: response.ok, status: response.status, body };
}

const converterPath = (id) => `/api/converters/${encodeURIComponent(id)}`;

export const api = {
  server: () => call('GET', '/api/server'),
  ports: () => call('GET', '/api/ports'),
  converters: () => call('GET', '/api/converters'),
  connect: (port) => call('POST', '/api/converters', { port }),
  disconnect: (id) => call('DELETE', converterPath(id)),
  reading: (id) => call('GET', `${converterPath(id)}/reading`),
  settings: (id, settings) => call('POST', `${converterPath(id)}/settings`, settings),
  eventsUrl: (id) => `${converterPath(id)}/events`,
  benchEventsUrl: () => '/api/events',
  backupUrl: (id) => `${converterPath(id)}/backup`,
  restore: (id, backupText, query = '') => callWith('POST', `${converterPath(id)}/restore${query}`, backupText),
  diff: (id, backupText) => callWith('POST', `${converterPath(id)}/diff`, backupText),
  batchRestore: (ids, backupText, options = '') =>
    callWith('POST', '/api/batch/restore', `{"converters": ${JSON.stringify(ids)}${options}, "backup": ${backupText}}`),
  input: (id, body) => call('POST', `${converterPath(id)}/input`, body),
  // The point file's text as a JSON string; choice: an order, 'spline' or null.
  fit: (text, choice) => call('POST', '/api/fit' + (choice === 'spline' ? '?spline=true'
    : choice ? `?order=${encodeURIComponent(choice)}` : ''), text),
  journal: (id) => call('GET', `${converterPath(id)}/journal`),
};

// The server's words for a refused request, if it gave any.
export function messageOf(answer) {
  const body = answer.body;
  if (body && typeof body === 'object') return body.message || body.error || '';
  return '';
}

// A transaction on the line that failed (no answer, a broken reply): the
// server answers those with a 5xx, an unreachable server counts the same.
export function isCommunicationFailure(answer) {
  return answer.status === 0 || answer.status >= 500;
}
