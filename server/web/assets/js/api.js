// The server's API. Every answer comes back as {ok, status, body}; a
// network failure counts as status 0. Nothing here throws.

async function call(method, path, payload) {
  const init = { method, headers: { Accept: 'application/json' }, credentials: 'same-origin' };
  if (payload !== undefined) {
    init.headers['Content-Type'] = 'application/json';
    init.body = JSON.stringify(payload);
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
