// Pictures of the page for the README: docs/serve-desktop.png (1280 wide)
// and docs/serve-phone.png (390 wide), against a simulated Pt 100 with a
// minute of trend. Usage (after a native build):
//   node tests/server/browser/screenshots.js
// DNX8 and DNX8SIM name the programs (default: build/native/bin).

import path from 'node:path';
import { Server, Simulator, eventually, launchBrowser, removeFolder, root, workFolder } from './harness.js';

const TrendPolls = Number(process.env.TREND_POLLS || 60);

const work = workFolder('screenshots');
let sim;
let server;
let context;
try {
  sim = await Simulator.start(work, 'pt100');
  server = await Server.start([sim.link]);
  context = await launchBrowser(work);
  const page = await context.newPage();
  await page.goto(server.url);
  const points = page.getByLabel('Bodů v trendu:');
  await eventually(async () => Number(await points.textContent()) >= TrendPolls, `${TrendPolls} polls in the trend`,
    (TrendPolls + 60) * 1000);
  await page.getByRole('button', { name: 'Zápis Max' }).focus();
  await page.screenshot({ path: path.join(root, 'docs/serve-desktop.png'), fullPage: true });
  await page.setViewportSize({ width: 390, height: 844 });
  await eventually(() => page.evaluate(() => document.documentElement.scrollWidth <= 390), 'the phone layout');
  await page.screenshot({ path: path.join(root, 'docs/serve-phone.png'), fullPage: true });
  console.log('docs/serve-desktop.png, docs/serve-phone.png');
} finally {
  await context?.close();
  await server?.stop();
  await sim?.stop();
  removeFolder(work);
}
