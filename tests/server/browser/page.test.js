// The page of `dnx8 serve` in a real headless Chromium against a simulated
// converter, worked as a person would: by role and accessible name. Every
// step waits for its condition; the line is checked against the frames the
// main window sends for the same action.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import { after, before, describe, test } from 'node:test';
import { Server, Simulator, eventually, launchBrowser, removeFolder, workFolder } from './harness.js';

// The main window's frames for the same choices (tests/e2e/scenarios/writes.txt).
const Frames = {
  filter7: '01 3E 01 07 B9',
  scaleMin12_5: '01 3C 04 00 00 48 41 36',
  // Relay 1: window mode, on 1.5 after 10, off 0.5 after 20.
  relay1Window: '01 3A 0D 00 00 C0 3F 00 00 00 3F 0A 00 14 00 01 5B',
};

async function textOf(locator) {
  return (await locator.textContent()).trim();
}

async function shows(locator, text, what) {
  await eventually(async () => (await textOf(locator)) === text, `${what} shows "${text}"`);
}

async function valueShows(locator, text, what) {
  await eventually(async () => (await locator.inputValue()) === text, `${what} holds "${text}"`);
}

// Exactly these frames changed the converter since the mark.
async function lineCarried(sim, mark, frames) {
  await eventually(() => sim.changesSince(mark).length >= frames.length, `frames ${frames.join(' | ')}`);
  assert.deepEqual(sim.changesSince(mark), frames);
}

function live(page) {
  return page.getByRole('group', { name: 'Interní hodnoty:' });
}

async function openPage(context, url) {
  const page = await context.newPage();
  const problems = [];
  page.on('console', (message) => {
    if (message.type() === 'error' && !message.text().startsWith('Failed to load resource')) {
      problems.push(message.text());
    }
  });
  page.on('pageerror', (error) => problems.push(error.message));
  // Refusals the page must not cause; the tests that provoke one take it out.
  page.on('response', (response) => {
    if (response.status() >= 400) problems.push(`${response.status()} ${new URL(response.url()).pathname}`);
  });
  page.problems = problems;
  await page.goto(url);
  await eventually(() => page.evaluate(() => document.body.dataset.ready === 'yes'), 'the page started');
  return page;
}

describe('the page against a simulated converter', () => {
  let work;
  let sim;
  let server;
  let context;
  let page;

  before(async () => {
    work = workFolder('page');
    sim = await Simulator.start(work);
    server = await Server.start([sim.link]);
    context = await launchBrowser(work);
    page = await openPage(context, server.url);
  });

  after(async () => {
    await context?.close();
    await server?.stop();
    await sim?.stop();
    if (work) removeFolder(work);
  });

  test('shows the converter\'s identity, configuration and live values', async () => {
    await shows(page.getByLabel('Převodník:'), 'DNX8', 'Převodník:');
    await shows(page.getByLabel('Firmware'), '1.05', 'Firmware');
    await shows(page.getByLabel('Výrobní číslo:'), '240117', 'Výrobní číslo:');
    await shows(page.getByLabel('Výstup:'), 'Pasivní 4 až 20 mA', 'Výstup:');
    await shows(page.getByLabel('Relé:', { exact: true }), 'Relé 1 a 2', 'Relé:');
    const input = page.getByRole('group', { name: 'Vstup:' });
    await shows(input.getByLabel('Měření:').first(), 'Napětí', 'Měření:');
    await valueShows(page.getByLabel('Filtr:'), '5', 'Filtr:');
    await valueShows(page.getByRole('textbox', { name: 'Min:' }), '0.00', 'Min:');
    await valueShows(page.getByRole('textbox', { name: 'Max:' }), '100.00', 'Max:');
    await eventually(() => page.getByRole('radio', { name: 'Bez signalizace' }).isChecked(), 'Bez signalizace');
    const relay1 = page.getByRole('group', { name: 'Relé 1:' });
    await valueShows(relay1.getByRole('textbox', { name: 'Relé 1: Sepnutí Hodnota' }), '80.00', 'relay 1 on value');
    await valueShows(relay1.getByRole('textbox', { name: 'Relé 1: Rozepnutí Zpoždění' }), '2', 'relay 1 off delay');
    await eventually(() => relay1.getByRole('radio', { name: 'Hystereze' }).isChecked(), 'relay 1 hysteresis');
    const relay2 = page.getByRole('group', { name: 'Relé 2:' });
    await eventually(() => relay2.getByRole('radio', { name: 'Okno' }).isChecked(), 'relay 2 window');

    // The live values follow the converter, with the window's decimals.
    const value = live(page).getByLabel('Vstup:');
    const first = await eventually(async () => /^-?\d+\.\d{3}$/.test(await textOf(value)) && textOf(value),
      'a live input value with 3 decimals');
    await eventually(async () => (await textOf(value)) !== first, 'the live input value changes');
    assert.match(await textOf(live(page).getByLabel('Hodnota:')), /^-?\d+\.\d{2}$/);
    assert.match(await textOf(live(page).getByLabel('Ratio [%]:')), /^-?\d+\.\d{2}$/);
  });

  test('every write button names what it writes', async () => {
    for (const name of ['Zápis Filtr', 'Zápis Min', 'Zápis Max', 'Zápis Chybový stav', 'Zápis Relé 1', 'Zápis Relé 2']) {
      assert.equal(await page.getByRole('button', { name, exact: true }).count(), 1, name);
    }
  });

  test('a flagged value turns red with the window\'s fault text, and back', async () => {
    const process = live(page).getByLabel('Proces:');
    const value = live(page).getByLabel('Hodnota:');
    await sim.control('live LiveProcess fault');
    await sim.control('live LiveValue fault');
    await shows(process, 'Porucha', 'Proces:');
    await shows(value, 'Neplatná', 'Hodnota:');
    const colours = await process.evaluate((el) => [getComputedStyle(el).backgroundColor, getComputedStyle(el).color]);
    assert.deepEqual(colours, ['rgb(255, 0, 0)', 'rgb(255, 255, 255)']);
    await sim.control('live LiveProcess follow');
    await sim.control('live LiveValue follow');
    await eventually(async () => /^-?\d+\.\d{3}$/.test(await textOf(process)), 'Proces: shows a value again');
    assert.notEqual(await process.evaluate((el) => getComputedStyle(el).backgroundColor), 'rgb(255, 0, 0)');
  });

  test('the filter is written as the window writes it and its echo shown', async () => {
    const mark = sim.mark();
    await page.getByLabel('Filtr:').selectOption('7');
    await page.getByRole('button', { name: 'Zápis Filtr' }).click();
    await shows(page.locator('#filter-note'), 'Zapsáno', 'the filter\'s note');
    await lineCarried(sim, mark, [Frames.filter7]);
    assert.deepEqual(await sim.control('get Filter'), ['Filter 7']);
  });

  test('Min: the converter\'s value shown; a decimal comma refused with nothing sent', async () => {
    const min = page.getByRole('textbox', { name: 'Min:' });
    const write = page.getByRole('button', { name: 'Zápis Min' });
    let mark = sim.mark();
    await min.fill('12,5');
    await write.click();
    await shows(page.locator('#scale-min-note'), 'Desetinná čárka se nečte: napište 12.5, ne 12,5', 'the refusal');
    assert.equal(await min.getAttribute('aria-invalid'), 'true');

    await min.fill('12.5');
    await write.click();
    await valueShows(min, '12.50', 'Min:');
    await lineCarried(sim, mark, [Frames.scaleMin12_5]);

    // More digits than a float32 holds: the field shows what was stored.
    mark = sim.mark();
    await min.fill('0.123456789');
    await write.click();
    await valueShows(min, '0.12', 'Min:');
    assert.equal(sim.changesSince(mark).length, 1);
  });

  test('a clipped echo shows the converter\'s value at once and says so', async () => {
    // The simulated converter clamps the scale to its five-digit display.
    const min = page.getByRole('textbox', { name: 'Min:' });
    const mark = sim.mark();
    await min.fill('-123456');
    await page.getByRole('button', { name: 'Zápis Min' }).click();
    await valueShows(min, '-99999.00', 'Min:');
    await shows(page.locator('#scale-min-note'), 'Převodník uložil jinou hodnotu', 'the note');
    assert.equal(sim.changesSince(mark).length, 1);
  });

  test('a failed transaction shows "Chyba komunikace"', async () => {
    await sim.control('fault nak once ScaleMax');
    await page.getByRole('textbox', { name: 'Max:' }).fill('90');
    await page.getByRole('button', { name: 'Zápis Max' }).click();
    await shows(page.locator('#scale-max-note'), 'Chyba komunikace', 'the note of Max');
    const refusal = page.problems.findIndex((p) => /^502 .*\/settings$/.test(p));
    assert.ok(refusal >= 0, 'the server answered 502');
    page.problems.splice(refusal, 1);
  });

  test('a write by keyboard alone, with the window\'s frame', async () => {
    const mark = sim.mark();
    const relay1 = page.getByRole('group', { name: 'Relé 1:' });
    await page.getByRole('button', { name: 'Zápis Max' }).focus();
    // Tab on to relay 1's mode, as a person would.
    await eventually(async () => {
      if (await relay1.getByRole('radio', { name: 'Hystereze' }).evaluate((el) => el === document.activeElement)) {
        return true;
      }
      await page.keyboard.press('Tab');
      return false;
    }, 'Tab reaches relay 1');
    await page.keyboard.press('ArrowDown'); // Okno
    for (const text of ['1.5', '10', '0.5', '20']) {
      await page.keyboard.press('Tab');
      await page.keyboard.press('Control+A');
      await page.keyboard.type(text);
    }
    await page.keyboard.press('Tab');
    assert.equal(await page.evaluate(() => document.activeElement.getAttribute('aria-label')), 'Zápis Relé 1');
    await page.keyboard.press('Enter');
    await shows(page.locator('#relay1-note'), 'Zapsáno', 'relay 1\'s note');
    await lineCarried(sim, mark, [Frames.relay1Window]);
    await valueShows(relay1.getByRole('textbox', { name: 'Relé 1: Sepnutí Hodnota' }), '1.50', 'the echo');
  });

  test('a write in one tab shows in another', async () => {
    const other = await openPage(context, server.url);
    try {
      await shows(other.getByLabel('Převodník:'), 'DNX8', 'the second tab');
      await page.getByRole('radio', { name: 'Podle vstupu' }).check();
      await page.getByRole('button', { name: 'Zápis Chybový stav' }).click();
      await eventually(() => other.getByRole('radio', { name: 'Podle vstupu' }).isChecked(), 'the other tab');
      await page.getByRole('textbox', { name: 'Max:' }).fill('250');
      await page.getByRole('button', { name: 'Zápis Max' }).click();
      await valueShows(other.getByRole('textbox', { name: 'Max:' }), '250.00', 'Max: in the other tab');
    } finally {
      await other.close();
    }
  });

  test('the trend gains points; pausing holds them; the export is dnx8 watch --csv', async () => {
    const points = page.getByLabel('Bodů v trendu:');
    const count = async () => Number(await textOf(points));
    const start = await count();
    await eventually(async () => (await count()) >= start + 2, 'the trend gains points');
    await page.getByRole('button', { name: 'Pozastavit trend' }).click();
    const resume = page.getByRole('button', { name: 'Pokračovat v trendu' });
    assert.equal(await resume.getAttribute('aria-pressed'), 'true');
    const [download] = await Promise.all([
      page.waitForEvent('download'),
      page.getByRole('button', { name: 'Export trendu do CSV' }).click(),
    ]);
    const lines = fs.readFileSync(await download.path(), 'utf8').split('\n');
    assert.equal(lines[0], 'time,input,process,value,ratio_percent');
    assert.equal(lines.pop(), '');
    assert.ok(lines.length >= 3, `${lines.length - 1} polls exported`);
    const field = '(-?\\d+\\.\\d{3}|Porucha|)';
    const line = new RegExp(`^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}[+-]\\d\\d:\\d\\d,${field},${field},` +
      '(-?\\d+\\.\\d{2}|Neplatná|),(-?\\d+\\.\\d{2}|)$');
    for (const l of lines.slice(1)) assert.match(l, line);
    assert.ok(lines.some((l) => l.includes(',Porucha,')), 'the fault is in the export');
    await resume.click();
    await page.getByRole('button', { name: 'Pozastavit trend' }).waitFor();
  });

  test('English from the switch, Czech again', async () => {
    await page.getByRole('button', { name: 'English' }).click();
    await page.getByRole('group', { name: 'Internal values:' }).waitFor();
    assert.equal(await page.getByRole('button', { name: 'Write Filter' }).count(), 1);
    assert.equal(await page.evaluate(() => document.documentElement.lang), 'en');
    await page.getByRole('button', { name: 'Česky' }).click();
    await live(page).waitFor();
  });

  test('fits a phone\'s width', async () => {
    await page.setViewportSize({ width: 360, height: 800 });
    try {
      await eventually(() => page.evaluate(() => document.documentElement.scrollWidth <= 360),
        'no sideways scrolling at 360 px');
      assert.ok(await page.getByRole('button', { name: 'Zápis Relé 2' }).isVisible());
    } finally {
      await page.setViewportSize({ width: 1280, height: 900 });
    }
  });

  test('disconnects and connects again from the port field', async () => {
    await page.getByRole('button', { name: 'Odpojit Port' }).click();
    await eventually(async () => !(await page.getByLabel('Převodník:').isVisible()), 'the converter\'s view closes');
    await page.getByRole('combobox', { name: 'Port:' }).fill(sim.link);
    await page.getByRole('button', { name: 'Připojit Port' }).click();
    await shows(page.getByLabel('Převodník:'), 'DNX8', 'Převodník: after connecting');
    await eventually(async () => /\d/.test(await textOf(live(page).getByLabel('Vstup:'))), 'live values again');
  });

  test('no errors in the page\'s console', () => {
    assert.deepEqual(page.problems, []);
  });
});

describe('the page of a read-only server', () => {
  let work;
  let sim;
  let server;
  let context;

  before(async () => {
    work = workFolder('page-read-only');
    sim = await Simulator.start(work);
    server = await Server.start(['--read-only', sim.link]);
    context = await launchBrowser(work);
  });

  after(async () => {
    await context?.close();
    await server?.stop();
    await sim?.stop();
    if (work) removeFolder(work);
  });

  test('shows the converter and offers no write', async () => {
    const page = await openPage(context, server.url);
    await shows(page.getByLabel('Převodník:'), 'DNX8', 'Převodník:');
    await eventually(async () => /\d/.test(await textOf(live(page).getByLabel('Vstup:'))), 'live values');
    assert.equal(await page.getByRole('button', { name: /Zápis/ }).count(), 0);
    assert.ok(await page.getByText('Jen pro čtení: zápis je vypnut.').isVisible());
  });
});
