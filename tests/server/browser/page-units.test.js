// The page's pure parts under Node: the window's number texts, how typed
// numbers are read, the trend's CSV and the reading of a write's echo.

import assert from 'node:assert/strict';
import { describe, test } from 'node:test';
import { readDelay, readReal, realAutoText, realText, liveText, LiveQuantities } from '../../../server/web/assets/js/numbers.js';
import { preferredLanguage } from '../../../server/web/assets/js/texts.js';
import { TrendBuffer, trendCsv } from '../../../server/web/assets/js/trend.js';
import { echoOf } from '../../../server/web/assets/js/writes.js';

const f = Math.fround;

describe('number texts as the window shows them', () => {
  test('fixed point with the window\'s two roundings', () => {
    const cases = [
      [4, 2, '4.00'], [19.999, 2, '20.00'], [-0.5, 3, '-0.500'], [1234.5678, 0, '1235'],
      [2.5, 0, '3'], [-2.5, 0, '-3'], [-0.001, 2, '-0.00'],
      // 10-digit forms 1.004999995 (the 4-9-8 rule) and 0.2849999964
      [1.005, 2, '1.01'], [0.285, 2, '0.28'],
      [0.1, 2, '0.10'], [109.735, 3, '109.735'], [16777216, 2, '16777216.00'],
    ];
    for (const [value, decimals, text] of cases) assert.equal(realText(f(value), decimals), text, `${value}`);
  });

  test('a 10-digit tie goes to the even digit', () => {
    // 1024 + 1/128 = 1024.0078125 exactly: the 11th digit is a lone 5.
    assert.equal(realAutoText(1024.0078125), '1.024007812E+03');
    assert.equal(realAutoText(1024.0234375), '1.024023438E+03');
  });

  test('a whole part beyond 31 characters turns to the exponent form', () => {
    assert.equal(realText(f(3e38), 2), '3.000000005E+38');
    assert.equal(realText(f(-3e38), 2), '-3.000000005E+38');
    assert.equal(realAutoText(0), '0.000000000E+00');
  });

  test('live values: decimals per value, the ratio in per cent', () => {
    const [input, , value, ratio] = LiveQuantities;
    assert.equal(liveText(input, f(5.0005)), '5.001');
    assert.equal(liveText(value, f(21.4)), '21.40');
    assert.equal(liveText(ratio, f(0.5)), '50.00');
    assert.equal(liveText(ratio, f(0.214)), '21.40');
  });
});

describe('typed numbers are read as the window reads them, never guessed at', () => {
  test('the window\'s grammar', () => {
    assert.deepEqual(readReal('12.5'), { value: 12.5 });
    assert.deepEqual(readReal(' \t-7.25'), { value: -7.25 });
    assert.deepEqual(readReal('1e3'), { value: 1000 });
    assert.deepEqual(readReal('+.5'), { value: 0.5 });
    assert.deepEqual(readReal('5.'), { value: 5 });
    assert.deepEqual(readReal('0.1'), { value: f(0.1) });
  });

  test('what the window would write as 0 is refused', () => {
    assert.deepEqual(readReal('12,5'), { problem: 'comma' });
    assert.deepEqual(readReal('12.5 V'), { problem: 'number' });
    assert.deepEqual(readReal('7.25 '), { problem: 'number' });
    assert.deepEqual(readReal(''), { problem: 'number' });
    assert.deepEqual(readReal('0x10'), { problem: 'number' });
    assert.deepEqual(readReal('inf'), { problem: 'number' });
    assert.deepEqual(readReal('1e40'), { problem: 'range' });
  });

  test('delays are whole numbers within 16 bits', () => {
    assert.deepEqual(readDelay('20'), { value: 20 });
    assert.deepEqual(readDelay('65535'), { value: 65535 });
    assert.deepEqual(readDelay('70000'), { problem: 'delay' });
    assert.deepEqual(readDelay('5 s'), { problem: 'whole' });
    assert.deepEqual(readDelay('-1'), { problem: 'whole' });
    assert.deepEqual(readDelay('1.5'), { problem: 'whole' });
  });
});

describe('trend', () => {
  const poll = (time, values, faults = {}) => ({ time, ...values, faults });

  test('CSV as dnx8 watch --csv: window formats, fault texts, empty failed reads', () => {
    const csv = trendCsv([
      { stamp: '2024-05-14T09:30:00.250+02:00', live: poll('', { input: 5.5, process: 5.5, value: 55, ratio: 0.55 }) },
      { stamp: '2024-05-14T09:30:01.250+02:00',
        live: poll('', { input: 5.5, process: null, value: null, ratio: null }, { process: 'Porucha', value: 'Neplatná' }) },
    ]);
    assert.equal(csv, 'time,input,process,value,ratio_percent\n' +
      '2024-05-14T09:30:00.250+02:00,5.500,5.500,55.00,55.00\n' +
      '2024-05-14T09:30:01.250+02:00,5.500,Porucha,Neplatná,\n');
  });

  test('keeps an hour, and faults are gaps in the chart\'s columns', () => {
    const buffer = new TrendBuffer();
    const start = Date.parse('2024-05-14T09:00:00.000+02:00');
    for (let s = 0; s <= 3700; s += 10) {
      const at = new Date(start + s * 1000).toISOString();
      buffer.add(poll(at, { input: s, process: s % 20 ? s : null, value: 1, ratio: 0.5 }, s % 20 ? {} : { process: 'Porucha' }));
    }
    assert.equal(buffer.points[0].at, start + 100 * 1000);
    const columns = buffer.columns(start + 3600 * 1000, start + 3700 * 1000);
    assert.equal(columns[0].length, 11);
    assert.deepEqual(columns[2].slice(0, 3), [null, 3610, null]);
    assert.deepEqual(columns[4].slice(0, 1), [50]);
  });
});

describe('the echo of a write', () => {
  test('the converter\'s value, and whether it differs from what was asked', () => {
    const reply = { echo: { Filter: 30, Relay1: { onValue: 1, offValue: 0, onDelay: 2, offDelay: 3, mode: 1 } }, differs: ['Filter'] };
    assert.deepEqual(echoOf(reply, 'Filter'), { echo: 30, differs: true });
    assert.deepEqual(echoOf(reply, 'Relay1'), { echo: reply.echo.Relay1, differs: false });
    assert.equal(echoOf({ echo: {}, differs: [] }, 'ScaleMin').echo, undefined);
    assert.equal(echoOf(null, 'ScaleMin').echo, undefined);
  });
});

test('language from the browser, Czech first, a stored choice wins', () => {
  assert.equal(preferredLanguage(null, ['cs-CZ', 'en']), 'cs');
  assert.equal(preferredLanguage(null, ['sk']), 'cs');
  assert.equal(preferredLanguage(null, ['de-DE', 'en-US', 'cs']), 'en');
  assert.equal(preferredLanguage(null, ['de-DE']), 'en');
  assert.equal(preferredLanguage('cs', ['en-US']), 'cs');
});
