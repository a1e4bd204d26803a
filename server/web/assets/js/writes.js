// The reply of POST .../settings: the echo of each written setting and
// which of them the converter stored differently from what was asked.
// Returns {echo, differs}; echo is undefined when the reply has none.
export function echoOf(body, name) {
  if (!body || typeof body !== 'object') return { echo: undefined, differs: false };
  const echoes = body.echo || body.echoes || body.written || body;
  let echo = echoes[name];
  let differs = false;
  if (echo && typeof echo === 'object' && 'value' in echo && !('mode' in echo)) {
    differs = Boolean(echo.differs);
    echo = echo.value;
  }
  const listed = body.differs || body.differ || body.clipped;
  if (Array.isArray(listed)) differs = differs || listed.includes(name);
  else if (listed && typeof listed === 'object') differs = differs || name in listed;
  return { echo: echo === null ? undefined : echo, differs };
}
