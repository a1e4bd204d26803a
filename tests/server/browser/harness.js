// A simulated converter, `dnx8 serve` in front of it and a headless
// Chromium from the system, for the page's tests and its screenshots.
// DNX8 and DNX8SIM name the programs (default: build/native/bin).

import { spawn } from 'node:child_process';
import { once } from 'node:events';
import fs from 'node:fs';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';
import readline from 'node:readline';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../..');
const programs = {
  dnx8: process.env.DNX8 || path.join(root, 'build/native/bin/dnx8'),
  dnx8sim: process.env.DNX8SIM || path.join(root, 'build/native/bin/dnx8sim'),
  chromium: process.env.CHROMIUM || '/usr/bin/chromium',
};

// Generous: CI is a busy 2-core machine.
export const Patience = 30000;

// Polls check until it returns a truthy value (or stops throwing).
export async function eventually(check, what, timeout = Patience) {
  const until = Date.now() + timeout;
  let last;
  for (;;) {
    try {
      const result = await check();
      if (result) return result;
      last = new Error(`not yet: ${what}`);
    } catch (error) {
      last = error;
    }
    if (Date.now() > until) throw new Error(`${what}: gave up after ${timeout} ms: ${last.message}`);
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
}

function firstLine(child, name) {
  const lines = readline.createInterface({ input: child.stdout });
  return new Promise((resolve, reject) => {
    const timer = setTimeout(() => reject(new Error(`${name} printed nothing in ${Patience} ms`)), Patience);
    lines.once('line', (line) => {
      clearTimeout(timer);
      resolve(line.trim());
    });
    child.once('exit', (code) => {
      clearTimeout(timer);
      reject(new Error(`${name} ended (${code}) before its first line`));
    });
  });
}

function start(program, args, name) {
  if (!fs.existsSync(program)) throw new Error(`${name} not found at ${program}; build it first`);
  const child = spawn(program, args, { stdio: ['ignore', 'pipe', 'pipe'] });
  let stderr = '';
  child.stderr.on('data', (chunk) => {
    stderr += chunk;
  });
  child.stderrText = () => stderr;
  return child;
}

async function stop(child) {
  if (!child || child.exitCode !== null || child.signalCode !== null) return;
  child.kill('SIGTERM');
  const timer = setTimeout(() => child.kill('SIGKILL'), 10000);
  await once(child, 'exit');
  clearTimeout(timer);
}

// The simulator: its link, its trace and its control socket.
export class Simulator {
  static async start(work, preset = 'voltage') {
    const sim = new Simulator();
    sim.link = path.join(work, 'link');
    sim.tracePath = path.join(work, 'trace');
    sim.controlPath = path.join(work, 'control');
    sim.child = start(programs.dnx8sim, ['--preset', preset, '--link', sim.link, '--trace', sim.tracePath,
      '--control-socket', sim.controlPath], 'dnx8sim');
    await firstLine(sim.child, 'dnx8sim');
    await eventually(() => fs.existsSync(sim.controlPath), 'the simulator\'s control socket');
    return sim;
  }

  // One control line; resolves with its output lines, rejects on "error:".
  control(line) {
    return new Promise((resolve, reject) => {
      const socket = net.createConnection(this.controlPath);
      let text = '';
      socket.setEncoding('utf8');
      socket.on('error', reject);
      socket.on('data', (chunk) => {
        text += chunk;
        const lines = text.split('\n');
        const last = lines.filter((l) => l !== '').pop() || '';
        if (last === 'ok' || last.startsWith('error')) {
          socket.end();
          if (last === 'ok') resolve(lines.slice(0, -2));
          else reject(new Error(`dnx8sim: ${line}: ${last}`));
        }
      });
      socket.write(line + '\n');
    });
  }

  // The request frames of the trace, as "01 3E 01 07 B9".
  requests() {
    const text = fs.existsSync(this.tracePath) ? fs.readFileSync(this.tracePath, 'utf8') : '';
    return text.split('\n').map((l) => /^\S+ request (.*)$/.exec(l)).filter(Boolean).map((m) => m[1]);
  }

  mark() {
    return this.requests().length;
  }

  // The requests since a mark that carry data (writes, Commit): not the
  // reads that go on meanwhile (live values, identity checks, the server's
  // read of the configuration as found before its first write).
  changesSince(mark) {
    return this.requests().slice(mark).filter((frame) => frame.split(' ')[2] !== '00');
  }

  async stop() {
    await stop(this.child);
  }
}

// `dnx8 serve` on a free loopback port; url is the first line it prints.
export class Server {
  static async start(args) {
    const server = new Server();
    server.child = start(programs.dnx8, ['serve', '--listen', '127.0.0.1:0', ...args], 'dnx8 serve');
    server.url = await firstLine(server.child, 'dnx8 serve');
    if (!/^http:\/\//.test(server.url)) throw new Error(`dnx8 serve printed "${server.url}", no URL`);
    return server;
  }

  async stop() {
    await stop(this.child);
  }
}

// A fresh profile each time; the context's pages share its cookies, as the
// tabs of one browser do.
export async function launchBrowser(work, options = {}) {
  if (!fs.existsSync(programs.chromium)) {
    throw new Error(`no Chromium at ${programs.chromium}; scripts/setup.sh installs it`);
  }
  return chromium.launchPersistentContext(fs.mkdtempSync(path.join(work, 'chromium-')), {
    executablePath: programs.chromium,
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    timeout: Patience * 2,
    locale: 'cs-CZ',
    viewport: { width: 1280, height: 900 },
    acceptDownloads: true,
    ...options,
  });
}

export function workFolder(name) {
  return fs.mkdtempSync(path.join(os.tmpdir(), `dnx8-${name}-`));
}

export function removeFolder(folder) {
  fs.rmSync(folder, { recursive: true, force: true });
}

export { programs, root };

// Several simulators, each in a folder of its own under work, started
// together: presets names each one's memory.
export function startSimulators(work, presets) {
  return Promise.all(presets.map((preset, i) => {
    const folder = path.join(work, `sim${i + 1}`);
    fs.mkdirSync(folder, { recursive: true });
    return Simulator.start(folder, preset);
  }));
}

// `dnx8` itself, run to its end: {code, stdout, stderr}.
export function runDnx8(args) {
  return new Promise((resolve, reject) => {
    const child = start(programs.dnx8, args, 'dnx8');
    let stdout = '';
    child.stdout.on('data', (chunk) => {
      stdout += chunk;
    });
    const timer = setTimeout(() => child.kill('SIGKILL'), Patience);
    child.once('error', reject);
    child.once('exit', (code) => {
      clearTimeout(timer);
      resolve({ code, stdout, stderr: child.stderrText() });
    });
  });
}

// A new tab on url once the page has started; problems collects what the
// page logs as errors and uncaught exceptions.
export async function openPage(context, url) {
  const page = await context.newPage();
  const problems = [];
  page.on('console', (message) => {
    if (message.type() === 'error' && !message.text().startsWith('Failed to load resource')) {
      problems.push(message.text());
    }
  });
  page.on('pageerror', (error) => problems.push(error.message));
  page.problems = problems;
  await page.goto(url);
  await eventually(() => page.evaluate(() => document.body.dataset.ready === 'yes'), 'the page started');
  return page;
}
