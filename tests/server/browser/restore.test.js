// Backup, restore and diff in a converter's view, against a simulated
// converter: the restore shows every change before anything is written,
// writes on confirmation and is verified; a diff then finds nothing; a bad
// file is refused with the server's reason and nothing sent.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import {
  Server, Simulator, eventually, launchBrowser, openPage, removeFolder, runDnx8, workFolder,
} from './harness.js';

// Requests that carry data: writes (a read's length byte is 00).
function writes(sim, mark) {
  return sim.changesSince(mark).filter((frame) => frame.split(' ')[2] !== '00');
}

async function says(locator, text, what) {
  await eventually(async () => (await locator.textContent()).includes(text), `${what} says "${text}"`);
}

describe('backup, restore and diff on the page', () => {
  let work;
  let sim;
  let server;
  let context;
  let page;
  let backupPath;
  let backup;
  let segmentsPath;

  before(async () => {
    work = workFolder('restore');
    const source = await Simulator.start(fs.mkdirSync(path.join(work, 'source'), { recursive: true }), 'pt100');
    backupPath = path.join(work, 'pt100.json');
    const made = await runDnx8(['backup', source.link, '-o', backupPath]);
    // A converter with a segment table, which no backup can hold.
    await source.control('set SegmentCount 3');
    segmentsPath = path.join(work, 'segments.json');
    const segments = await runDnx8(['backup', source.link, '-o', segmentsPath]);
    await source.stop();
    assert.equal(made.code, 0, made.stderr);
    assert.equal(segments.code, 0, segments.stderr);
    backup = JSON.parse(fs.readFileSync(backupPath, 'utf8'));

    const folder = path.join(work, 'target');
    fs.mkdirSync(folder);
    sim = await Simulator.start(folder, 'voltage');
    server = await Server.start([sim.link]);
    context = await launchBrowser(work);
    page = await openPage(context, server.url);
    await eventually(() => page.getByLabel('Převodník:').isVisible(), 'the lone converter\'s view');
  });

  after(async () => {
    await context?.close();
    await server?.stop();
    await sim?.stop();
    if (work) removeFolder(work);
  });

  function section() {
    return page.getByRole('region', { name: 'Záloha, obnovení, porovnání' });
  }

  test('a bad backup is refused with the reason and nothing is sent', async () => {
    const bad = path.join(work, 'bad.json');
    const text = JSON.stringify({ ...backup, configuration: { ...backup.configuration, Filtr: 5 } });
    fs.writeFileSync(bad, text);
    const mark = sim.mark();
    await section().getByLabel('Obnovit ze zálohy:').setInputFiles(bad);
    await says(section(), 'Záloha odmítnuta, nic nebylo zapsáno:', 'the refusal');
    await says(section(), 'Filtr', 'the refusal');
    assert.equal(await section().getByRole('button', { name: 'Zapsat' }).isVisible(), false);
    assert.deepEqual(writes(sim, mark), []);

    // Not a backup at all (the server's limit is checked here first).
    fs.writeFileSync(bad, 'x'.repeat(70 * 1024));
    await section().getByLabel('Porovnat se zálohou:').setInputFiles(bad);
    await says(section(), 'Soubor je větší než 64 KiB', 'the size refusal');
    assert.deepEqual(writes(sim, mark), []);
    await section().getByRole('button', { name: 'Zrušit' }).click();
  });

  test('a restore shows every change first, writes on confirmation, and a diff then finds nothing', async () => {
    const mark = sim.mark();
    await section().getByLabel('Obnovit ze zálohy:').setInputFiles(backupPath);
    const changes = section().getByRole('table');
    const inputType = changes.getByRole('row', { name: /^InputType/ });
    await eventually(() => inputType.isVisible(), 'the planned change of InputType');
    assert.deepEqual((await inputType.getByRole('cell').allTextContents()).map((s) => s.trim()), ['2', '7']);
    assert.ok(await changes.getByRole('row', { name: /^ScaleMax/ }).isVisible());
    assert.deepEqual(writes(sim, mark), [], 'nothing is written before the confirmation');

    await section().getByRole('button', { name: 'Zapsat' }).click();
    await says(section(), 'Obnoveno a ověřeno.', 'the restore');
    assert.ok(writes(sim, mark).length > 10);
    assert.deepEqual(await sim.control('get InputType'), ['InputType 7']);
    // The view follows what was written.
    await eventually(async () => (await page.getByLabel('Max:').inputValue()) === '850.00', 'Max in the view');
    await eventually(async () => (await page.getByLabel('Měření:').first().textContent()) === 'Teploměr', 'the new input');

    await section().getByLabel('Porovnat se zálohou:').setInputFiles(backupPath);
    await says(section(), 'Převodník odpovídá záloze.', 'the diff');
    assert.equal(await section().getByRole('table').isVisible(), false);
  });

  test('the backup downloaded holds what was restored', async () => {
    const [download] = await Promise.all([
      page.waitForEvent('download'),
      section().getByRole('button', { name: 'Stáhnout zálohu' }).click(),
    ]);
    assert.match(download.suggestedFilename(), /^dnx8-\d+-\d{4}-\d\d-\d\d\.json$/);
    const saved = JSON.parse(fs.readFileSync(await download.path(), 'utf8'));
    assert.equal(saved.format, 'dnx8-configuration');
    assert.deepEqual(saved.configuration, backup.configuration);
    assert.deepEqual(page.problems, []);
  });

  test('what restore cannot put back is shown with its choices, and each choice writes', async () => {
    const mark = sim.mark();
    await section().getByLabel('Obnovit ze zálohy:').setInputFiles(segmentsPath);
    const choice = section().getByRole('group', { name: 'Co obnovení nevrátí:' });
    await says(choice, 'SegmentCount is 3', 'the obstacle');
    await says(section(), 'Vyberte, co s linearizací.', 'the request for a choice');
    assert.equal(await section().getByRole('button', { name: 'Zapsat' }).isVisible(), false);

    await choice.getByRole('radio', { name: 'Ponechat linearizaci převodníku' }).check();
    await says(section(), 'Zápis změní tyto parametry:', 'the preview with the choice');
    assert.deepEqual(writes(sim, mark), []);
    await section().getByRole('button', { name: 'Zapsat' }).click();
    await says(section(), 'Obnoveno a ověřeno.', 'the restore keeping the linearization');

    // A point file fitted with the order chosen.
    const points = path.join(work, 'points.txt');
    fs.writeFileSync(points, '0 0\n1 1.2\n2 2.1\n3 3.3\n4 3.9\n5 5.2\n');
    await section().getByLabel('Obnovit ze zálohy:').setInputFiles(segmentsPath);
    await choice.getByRole('radio', { name: 'Linearizace ze souboru bodů' }).check();
    await says(section(), 'Vyberte soubor bodů.', 'the request for a point file');
    await choice.getByLabel('Proložení:').selectOption({ label: 'Polynom řádu 2' });
    await choice.getByLabel('Soubor bodů:').setInputFiles(points);
    await says(section(), 'Zápis změní tyto parametry:', 'the preview with the point file');
    await section().getByRole('button', { name: 'Zapsat' }).click();
    await says(section(), 'Obnoveno a ověřeno.', 'the restore with the point file');
    assert.deepEqual(await sim.control('get CurveDegree'), ['CurveDegree 2']);
    await section().getByRole('button', { name: 'Zavřít' }).click();
  });
});
