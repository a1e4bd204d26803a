// The input configuration panel in a real headless Chromium against a
// simulated converter, worked by role and accessible name: the frames on the
// line are those `dnx8 input` sends for the same choice.

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import { Server, Simulator, eventually, launchBrowser, programs, removeFolder, workFolder } from './harness.js';
import { figure } from '../../../server/web/assets/js/input.js';

// The frames of a write sequence: those that carry data, and Commit.
function writesOf(frames) {
  return frames.filter((frame) => {
    const [, code, size] = frame.split(' ');
    return size !== '00' || code === '2B';
  });
}

// What `dnx8 input --dry-run` sends for the same options.
function dnx8InputFrames(args) {
  const out = execFileSync(programs.dnx8, ['input', 'PORT', ...args, '--dry-run'], { encoding: 'utf8' });
  return writesOf(out.split('\n').map((line) => line.slice(18).trim())
    .filter((hex) => /^[0-9A-F]{2}( [0-9A-F]{2})+$/.test(hex)));
}

async function lineCarried(sim, mark, frames) {
  await eventually(() => writesOf(sim.changesSince(mark)).length >= frames.length, 'the write sequence');
  assert.deepEqual(writesOf(sim.changesSince(mark)), frames);
}

// A slightly curved sensor: order 3 meets it, order 2 does not.
const Points = Array.from({ length: 12 }, (_, i) => {
  const x = 9 * i;
  return `${x} ${(0.5 + 2 * x + 0.01 * x * x + 0.0004 * x ** 3).toPrecision(9)}`;
}).join('\n') + '\n';

test('the report\'s figures read as dnx8 fit --report writes them (printf %.3g)', () => {
  const cases = [[1.2e-5, '1.2e-05'], [14.4, '14.4'], [1234, '1.23e+03'], [999.5, '1e+03'], [0.00099996, '0.001'],
    [0.000109, '0.000109'], [100, '100'], [0, '0'], [null, '–']];
  for (const [value, text] of cases) assert.equal(figure(value), text, String(value));
  assert.equal(figure(120000.5, 7), '120000.5');
});

describe('the input configuration panel', () => {
  let work;
  let sim;
  let server;
  let context;
  let page;
  let panel;

  before(async () => {
    work = workFolder('input');
    sim = await Simulator.start(work);
    server = await Server.start([sim.link]);
    context = await launchBrowser(work);
    page = await context.newPage();
    const problems = [];
    page.on('pageerror', (error) => problems.push(error.message));
    page.problems = problems;
    await page.goto(server.url);
    await eventually(() => page.evaluate(() => document.body.dataset.ready === 'yes'), 'the page started');
    panel = page.getByRole('region', { name: 'Konfigurace vstupu' });
    // The converter's own kind (voltage) is proposed once it is read.
    await eventually(async () => (await panel.getByLabel('Druh vstupu:').inputValue()) === '0', 'the voltage kind');
  });

  after(async () => {
    await context?.close();
    await server?.stop();
    await sim?.stop();
    if (work) removeFolder(work);
  });

  test('a Pt 100 on three wires, written with the frames of dnx8 input and read back', async () => {
    await panel.getByLabel('Druh vstupu:').selectOption({ label: 'Teploměr' });
    await panel.getByLabel('Typ:').selectOption({ label: 'Pt 100 (3850)' });
    await eventually(async () => (await panel.getByLabel('Rozsah:').textContent()) === '-200 až 850 °C', 'the range');
    await panel.getByLabel('Zapojení:').selectOption({ label: 'Třídrát' });
    assert.equal(await panel.getByRole('group', { name: 'Linearizace' }).isVisible(), false);
    const mark = sim.mark();
    await panel.getByRole('button', { name: 'Zápis vstupu' }).click();
    await eventually(async () => (await panel.getByRole('status').last().textContent()) ===
      'Zapsáno a ověřeno čtením zpět.', 'the verified write');
    await lineCarried(sim, mark, dnx8InputFrames(['rtd', '--sensor', 'pt100', '--wiring', '3']));
    const result = await panel.getByLabel('Přečteno zpět').textContent();
    assert.match(result, /Snímač:Pt 100 \(3850\)/);
    assert.match(result, /Řád polynomu5/);
    // The main view follows: its description names the sensor.
    await eventually(async () => (await page.locator('#input-description').textContent()) === 'Pt 100 (3850)',
      'the main view\'s description');
    assert.deepEqual(page.problems, []);
  });

  test('an overwrite from a point file with the order chosen from its report', async () => {
    await panel.getByLabel('Druh vstupu:').selectOption({ label: 'Odpor' });
    await panel.getByLabel('Zapojení:').selectOption({ label: 'Třídrát' });
    await panel.getByRole('radio', { name: 'Přepsat' }).check();
    const file = path.join(work, 'senzor.txt');
    fs.writeFileSync(file, Points);
    await panel.getByLabel('Soubor s body:').setInputFiles(file);
    const table = panel.getByRole('table');
    await eventually(() => table.isVisible(), 'the fit report');
    const preselected = table.getByRole('row', { name: /Polynom 5\. řádu/ });
    assert.match(await preselected.textContent(), /předvolba dialogu/);
    assert.equal(await table.getByRole('radio', { name: 'Polynom 5. řádu' }).isChecked(), true);
    assert.match(await table.getByRole('row', { name: /Polynom 3\. řádu/ }).textContent(),
      /nejnižší řád do 10 % nejlepší odchylky/);
    assert.equal(await table.getByRole('radio', { name: 'Lineární spline' }).count(), 1);
    await table.getByRole('radio', { name: 'Polynom 3. řádu' }).check();
    await eventually(async () => /3\. řádu/.test(await panel.getByRole('img').getAttribute('alt')), 'the plot of order 3');

    const mark = sim.mark();
    await panel.getByRole('button', { name: 'Zápis vstupu' }).click();
    await eventually(async () => (await panel.getByRole('status').last().textContent()) ===
      'Zapsáno a ověřeno čtením zpět.', 'the verified write');
    await lineCarried(sim, mark, dnx8InputFrames(['resistance', '--wiring', '3', '--linearization', file, '--order', '3']));
    assert.deepEqual(await sim.control('get CurveDegree'), ['CurveDegree 3']);
    assert.deepEqual(page.problems, []);
  });

  test('fits a phone\'s width and works by keyboard', async () => {
    await page.setViewportSize({ width: 360, height: 800 });
    const overflow = await page.evaluate(() => document.documentElement.scrollWidth - document.documentElement.clientWidth);
    assert.ok(overflow <= 0, `the page is ${overflow} px wider than the phone`);
    await panel.getByLabel('Druh vstupu:').focus();
    await page.keyboard.press('Tab');
    const focused = await page.evaluate(() => document.activeElement.id);
    assert.ok(focused.startsWith('input-config-'), focused);
    await page.setViewportSize({ width: 1280, height: 900 });
  });
});
