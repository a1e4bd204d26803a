// The commissioning record from the page in a real headless Chromium: the
// form's four texts, the link that opens the record in a tab of its own,
// the record's own styles under its policy, and one A4 sheet in print.

import assert from 'node:assert/strict';
import { after, before, describe, test } from 'node:test';
import { Server, Simulator, eventually, launchBrowser, removeFolder, workFolder } from './harness.js';
import { recordAddress } from '../../../server/web/assets/js/record.js';

// Every text at its limit, with what HTML would take for markup.
const Longest = {
  tag: 'TT-101 <b>&amp;</b> ' + 'Ř'.repeat(20),
  location: 'Kotelna "Jih" & \'sever\', ' + 'hala č. 2, '.repeat(4) + 'x'.repeat(11),
  technician: 'Jiří Čermák ' + 'ž'.repeat(38),
  note: ['Kalibrováno v pěti bodech.', 'Příště </td><script>alert(1)</script>',
    'a'.repeat(80), 'b'.repeat(94)].join('\n'),
};

async function openPage(context, url) {
  const page = await context.newPage();
  page.problems = [];
  page.on('pageerror', (error) => page.problems.push(error.message));
  await page.goto(url);
  await eventually(() => page.evaluate(() => document.body.dataset.ready === 'yes'), 'the page started');
  return page;
}

async function fillRecord(page, values) {
  await page.getByLabel('Označení:').fill(values.tag);
  await page.getByLabel('Umístění:').fill(values.location);
  await page.getByLabel('Technik:').fill(values.technician);
  await page.getByLabel('Poznámka:').fill(values.note);
}

describe('the commissioning record from the page', () => {
  let work;
  let sim;
  let server;
  let context;
  let page;

  before(async () => {
    work = workFolder('record');
    sim = await Simulator.start(work, 'thermocouple-k');
    server = await Server.start([sim.link]);
    context = await launchBrowser(work);
    page = await openPage(context, server.url);
    await eventually(() => page.getByLabel('Převodník:').textContent().then((t) => t.trim() === 'DNX8'),
      'the converter shown');
  });

  after(async () => {
    await context?.close();
    await server?.stop();
    await sim?.stop();
    if (work) removeFolder(work);
  });

  test('the form opens the record with the measuring point in a new tab, on one A4 sheet', async () => {
    assert.equal(Longest.tag.length, 40);
    assert.equal(Longest.location.length, 80);
    assert.equal(Longest.technician.length, 50);
    assert.equal(Longest.note.length, 240);
    await fillRecord(page, Longest);
    const link = page.getByRole('link', { name: 'Otevřít protokol v nové kartě' });
    const [record] = await Promise.all([context.waitForEvent('page'), link.click()]);
    await record.waitForLoadState('load');
    assert.match(new URL(record.url()).pathname, /^\/api\/converters\/[^/]+\/record$/);
    assert.equal((await record.locator('h1').textContent()).trim(), 'Protokol o nastavení převodníku DNX8');

    const rows = await record.locator('section.point tr').evaluateAll((trs) =>
      trs.map((tr) => [tr.querySelector('th').textContent, tr.querySelector('td').textContent]));
    assert.deepEqual(rows, [['Označení', Longest.tag], ['Umístění', Longest.location],
      ['Technik', Longest.technician], ['Poznámka', Longest.note]]);
    assert.equal(await record.locator('script').count(), 0);
    const signers = await record.locator('div.signers section').evaluateAll((sections) =>
      sections.map((s) => [s.querySelector('h2').textContent, s.querySelector('td').textContent]));
    assert.deepEqual(signers, [['Technik', Longest.technician], ['Zákazník', '']]);

    // Its own inline styles apply under its policy: the page's and the plot's.
    assert.equal(await record.locator('h1').evaluate((h) => getComputedStyle(h).fontSize), '20px');
    assert.equal(await record.locator('svg .curve').first().evaluate((c) => getComputedStyle(c).fill), 'none');

    const pdf = (await record.pdf({ preferCSSPageSize: true })).toString('latin1');
    assert.equal((pdf.match(/\/Type\s*\/Page(?![s\w])/g) || []).length, 1, 'sheets in print');
    assert.match(pdf, /\/MediaBox\s*\[\s*0 0 59[45]\.?\d* 84[12]\.?\d*\s*\]/, 'an A4 sheet');
    await record.close();
  });

  test('a text that does not fit is told on the page and opens nothing', async () => {
    await fillRecord(page, { tag: 'TT-1', location: '', technician: '', note: '1\n2\n3\n4\n5\n6' });
    let opened = 0;
    const count = () => { opened += 1; };
    context.on('page', count);
    await page.getByRole('link', { name: 'Otevřít protokol v nové kartě' }).click();
    await eventually(async () => (await page.locator('#record-status').textContent()) === 'Poznámka má nejvýše 4 řádky',
      'the note\'s problem shown');
    assert.equal(await page.getByLabel('Poznámka:').getAttribute('aria-invalid'), 'true');
    assert.equal(await page.evaluate(() => document.activeElement.id), 'record-note');
    context.off('page', count);
    assert.equal(opened, 0);
    assert.deepEqual(page.problems, []);
  });

  test('at phone width the form fits and works by keyboard', async () => {
    await page.setViewportSize({ width: 360, height: 740 });
    try {
      await fillRecord(page, { tag: '', location: '', technician: '', note: '' });
      await page.getByLabel('Označení:').focus();
      await page.keyboard.type('FT-3');
      for (let i = 0; i < 4; ++i) await page.keyboard.press('Tab');
      assert.equal(await page.evaluate(() => document.activeElement.id), 'record-open');
      const overflow = await page.locator('#record').evaluate((s) => s.scrollWidth - s.clientWidth);
      assert.ok(overflow <= 0, `the form is ${overflow} px too wide`);
      const [record] = await Promise.all([context.waitForEvent('page'), page.keyboard.press('Enter')]);
      await record.waitForLoadState('load');
      assert.equal(await record.locator('section.point td').first().textContent(), 'FT-3');
      await record.close();
    } finally {
      await page.setViewportSize({ width: 1280, height: 900 });
    }
  });
});

describe('the record\'s address', () => {
  test('empty fields are left out, the rest encoded; limits count characters as the server does', () => {
    assert.deepEqual(recordAddress('ttyUSB0', {}), { address: '/api/converters/ttyUSB0/record' });
    const { address } = recordAddress('a b', { tag: ' TT-1 & 2 ', location: '', note: 'ř\nx' });
    assert.equal(address, '/api/converters/a%20b/record?tag=TT-1+%26+2&note=%C5%99%0Ax');
    // 40 characters outside the basic plane are 80 UTF-16 units, and fit.
    assert.ok(recordAddress('a', { tag: '🌡'.repeat(40) }).address);
    assert.equal(recordAddress('a', { tag: '🌡'.repeat(41) }).problem, 'Length');
    const lines = recordAddress('a', { note: '1\r\n2\n3\r4\n5' });
    assert.equal(lines.problem, 'Lines');
    assert.equal(lines.field.id, 'record-note');
  });
});
