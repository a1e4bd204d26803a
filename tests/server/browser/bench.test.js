// The bench: one server, four simulated converters, the overview live for
// all of them, one opened in its own view, and one backup restored into all
// four at once from the overview.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import {
  Server, Simulator, eventually, launchBrowser, openPage, removeFolder, runDnx8, startSimulators, workFolder,
} from './harness.js';

const Presets = ['voltage', 'current', 'voltage', 'current'];
const Serials = [1001, 1002, 1003, 1004];

function rowOf(page, sim) {
  return page.getByRole('row').filter({ has: page.getByRole('link', { name: `Otevřít ${sim.link}` }) });
}

// The row's cells after the port: pick, identity, serial, input, process, state.
async function cellTexts(row) {
  return (await row.getByRole('cell').allTextContents()).map((text) => text.trim());
}

async function rowShows(row, index, wanted, what) {
  await eventually(async () => {
    const text = (await cellTexts(row))[index];
    return wanted instanceof RegExp ? wanted.test(text) : text === wanted;
  }, `${what} shows ${wanted}`);
}

// Requests that carry data: writes (a read's length byte is 00).
function writes(sim, mark) {
  return sim.changesSince(mark).filter((frame) => frame.split(' ')[2] !== '00');
}

describe('a bench of converters', () => {
  let work;
  let sims;
  let server;
  let context;
  let page;
  let backupPath;

  before(async () => {
    work = workFolder('bench');
    // The backup to restore: a Pt 100 converter's, as dnx8 backup writes it.
    const source = await Simulator.start(fs.mkdirSync(path.join(work, 'source'), { recursive: true }), 'pt100');
    backupPath = path.join(work, 'pt100.json');
    const made = await runDnx8(['backup', source.link, '-o', backupPath]);
    await source.stop();
    assert.equal(made.code, 0, made.stderr);

    sims = await startSimulators(work, Presets);
    await Promise.all(sims.map((sim, i) => sim.control(`set SerialNumber ${Serials[i]}`)));
    server = await Server.start(sims.map((sim) => sim.link));
    context = await launchBrowser(work);
    page = await openPage(context, server.url);
  });

  after(async () => {
    await context?.close();
    await server?.stop();
    await Promise.all((sims || []).map((sim) => sim.stop()));
    if (work) removeFolder(work);
  });

  test('the overview lists every converter with its input and live process value', async () => {
    assert.equal(await page.getByRole('heading', { name: 'Přehled převodníků' }).isVisible(), true);
    for (const [i, sim] of sims.entries()) {
      const row = rowOf(page, sim);
      await rowShows(row, 5, 'Připojen', `${sim.link}'s state`);
      const cells = await cellTexts(row);
      assert.equal(cells[1], 'DNX8');
      assert.equal(cells[2], String(Serials[i]));
      assert.match(cells[3], Presets[i] === 'voltage' ? /^Napětí/ : /^Proud/);
      await rowShows(row, 4, /^-?\d+\.\d{3}$/, `${sim.link}'s process value`);
    }
    // Live for every converter at once, with no converter's view open.
    await sims[1].control('live LiveProcess 12.5');
    await sims[3].control('live LiveProcess fault');
    await rowShows(rowOf(page, sims[1]), 4, '12.500', 'the second process value');
    await rowShows(rowOf(page, sims[3]), 4, 'Porucha', 'the fourth process value');

    await page.setViewportSize({ width: 360, height: 800 });
    try {
      await eventually(() => page.evaluate(() => document.documentElement.scrollWidth <= 360),
        'no sideways scrolling of the page at 360 px');
      await page.getByRole('checkbox', { name: `Vybrat ${sims[0].link}` }).focus();
      await page.keyboard.press('Space');
      assert.equal(await page.getByRole('checkbox', { name: `Vybrat ${sims[0].link}` }).isChecked(), true);
      await page.keyboard.press('Space');
    } finally {
      await page.setViewportSize({ width: 1280, height: 900 });
    }
    assert.deepEqual(page.problems, []);
  });

  test('a converter opens in its own view and the back button returns to the overview', async () => {
    await page.getByRole('link', { name: `Otevřít ${sims[2].link}` }).click();
    const serial = page.getByLabel('Výrobní číslo:');
    await eventually(async () => (await serial.textContent()) === String(Serials[2]), 'the third converter\'s view');
    assert.equal(await page.getByRole('heading', { name: 'Přehled převodníků' }).isVisible(), false);
    assert.match(new URL(page.url()).hash, /^#\/converter\//);

    await page.goBack();
    await eventually(() => page.getByRole('heading', { name: 'Přehled převodníků' }).isVisible(), 'the overview');
    assert.equal(await serial.isVisible(), false);
    await rowShows(rowOf(page, sims[0]), 5, 'Připojen', 'the first converter in the overview');
  });

  test('one backup restored into four converters at once, each verified', async () => {
    const marks = sims.map((sim) => sim.mark());
    const batch = page.getByRole('group', { name: 'Hromadné obnovení' });
    // Nothing ticked: nothing sent.
    await batch.getByRole('button', { name: 'Obnovit vybrané' }).click();
    await eventually(async () => (await batch.getByRole('status').first().textContent()).includes('Vyberte převodníky'),
      'the request to select converters');

    for (const sim of sims) await page.getByRole('checkbox', { name: `Vybrat ${sim.link}` }).check();
    await batch.getByLabel('Záloha:').setInputFiles(backupPath);
    await batch.getByRole('button', { name: 'Obnovit vybrané' }).click();
    await batch.getByRole('button', { name: 'Zapsat', exact: true }).click();

    const summary = page.getByText('Ověřeno 4, s rozdíly 0, selhalo 0, přeskočeno 0 z 4.');
    await eventually(() => summary.isVisible(), 'the batch summary');
    for (const sim of sims) {
      const line = batch.getByRole('listitem').filter({ hasText: sim.link });
      assert.match(await line.textContent(), /ověřeno/);
      assert.ok(writes(sim, marks[sims.indexOf(sim)]).length > 10, `${sim.link} was written`);
      assert.deepEqual(await sim.control('get InputType'), ['InputType 7']);
      // The overview reads the new input.
      await rowShows(rowOf(page, sim), 3, /^Teploměr/, `${sim.link}'s input`);
    }
    assert.deepEqual(page.problems, []);
  });
});
