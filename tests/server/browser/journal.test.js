// The history panel in a real headless Chromium: a write through the page
// shows in the journal with the client and the echo, the configuration as
// found before it can be downloaded whole, and "restore this copy" says so
// while no restore flow is wired.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import { Server, Simulator, eventually, launchBrowser, removeFolder, workFolder } from './harness.js';

describe('the history of writes', () => {
  let work;
  let data;
  let sim;
  let server;
  let context;
  let page;
  const problems = [];

  before(async () => {
    work = workFolder('journal');
    data = path.join(work, 'data');
    sim = await Simulator.start(work);
    server = await Server.start(['--data', data, sim.link]);
    context = await launchBrowser(work);
    page = await context.newPage();
    page.on('pageerror', (error) => problems.push(error.message));
    page.on('response', (response) => {
      if (response.status() >= 400) problems.push(`${response.status()} ${new URL(response.url()).pathname}`);
    });
    await page.goto(server.url);
    await eventually(() => page.evaluate(() => document.body.dataset.ready === 'yes'), 'the page started');
  });

  after(async () => {
    await context?.close();
    await server?.stop();
    await sim?.stop();
    if (work) removeFolder(work);
  });

  const history = () => page.getByRole('region', { name: 'Historie zápisů' });

  test('a write shows in the journal and the copy as found is offered', async () => {
    await eventually(() => history().getByText('Zatím žádný zápis.').isVisible(), 'an empty journal');
    await eventually(async () => (await page.getByLabel('Filtr:').inputValue()) === '5', 'the filter read');
    await page.getByLabel('Filtr:').selectOption('7');
    await page.getByRole('button', { name: 'Zápis Filtr' }).click();

    const writes = history().getByRole('list', { name: 'Zápisy (nejnovější nahoře)' }).getByRole('listitem');
    await eventually(async () => (await writes.count()) === 1, 'one journal line');
    const line = await writes.first().textContent();
    assert.match(line, /^\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2} · 127\.0\.0\.1 · Filter: 7 → 7$/);

    const copies = history().getByRole('list', { name: 'Konfigurace před prvním zápisem' }).getByRole('listitem');
    await eventually(async () => (await copies.count()) === 1, 'one as-found copy');
    const [name] = fs.readdirSync(data).filter((n) => n.startsWith('as-found-'));
    const download = copies.first().getByRole('link', { name: `Stáhnout ${name}` });
    const [file] = await Promise.all([page.waitForEvent('download'), download.click()]);
    assert.equal(file.suggestedFilename(), name);
    assert.equal(fs.readFileSync(await file.path(), 'utf8'), fs.readFileSync(path.join(data, name), 'utf8'));
    assert.equal(JSON.parse(fs.readFileSync(path.join(data, name), 'utf8')).configuration.Filter, 5);

    // The copy goes through the restore flow: its changes first, nothing
    // written before the confirmation, then the filter as found.
    const before = sim.requests().length;
    await copies.first().getByRole('button', { name: `Obnovit tuto zálohu ${name}` }).press('Enter');
    const restore = page.getByRole('region', { name: 'Záloha, obnovení, porovnání' });
    const filter = restore.getByRole('table').getByRole('row', { name: /^Filter/ });
    await eventually(() => filter.isVisible(), 'the planned change of the filter');
    assert.deepEqual((await filter.getByRole('cell').allTextContents()).map((s) => s.trim()), ['7', '5']);
    assert.equal(sim.requests().slice(before).filter((r) => r.split(' ')[2] !== '00').length, 0);
    await restore.getByRole('button', { name: 'Zapsat' }).click();
    await eventually(async () => (await restore.textContent()).includes('Obnoveno a ověřeno.'), 'the restore');
    assert.deepEqual(await sim.control('get Filter'), ['Filter 5']);
  });

  test('the panel follows the language and fits 360 px', async () => {
    await page.getByRole('button', { name: 'English', exact: true }).click();
    await eventually(() => page.getByRole('region', { name: 'History of writes' }).isVisible(), 'English heading');
    await eventually(async () => (await page.getByRole('list', { name: 'Writes (newest first)' })
      .getByRole('listitem').allTextContents()).some((line) => / · Filter: 7 → 7$/.test(line)),
    'the line in English');
    await page.setViewportSize({ width: 360, height: 800 });
    try {
      await page.getByRole('button', { name: 'Reload history' }).scrollIntoViewIfNeeded();
      await eventually(() => page.evaluate(() => document.documentElement.scrollWidth <= 360),
        'no sideways scrolling at 360 px');
    } finally {
      await page.setViewportSize({ width: 1280, height: 900 });
    }
    assert.deepEqual(problems, []);
  });
});
