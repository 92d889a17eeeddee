// Measures the browser face's budgets: the compressed size of the whole site, the first load to
// an interactive grid, a read through the bridge against the paced simulator, and the page's
// memory after that read. Prints one line per budget with its limit.
//
//   node web/tools/benchmark.mjs SITE_DIR RADIOSIM
import fs from 'node:fs';
import os from 'node:os';
import { spawnSync } from 'node:child_process';
import path from 'node:path';
import zlib from 'node:zlib';
import puppeteer from 'puppeteer-core';
import { serve } from './serve.mjs';
import { startBridge, startSimulator } from './bridge.mjs';

const [site, simulator] = process.argv.slice(2);
const kLineFloorSeconds = 0.851;  // every byte of a read at 9600 baud, 10 bits a byte
const kRuns = 5;

const median = (values) => values.sort((a, b) => a - b)[Math.floor(values.length / 2)];
let failed = 0;
function report(name, value, unit, limit) {
  const ok = value <= limit;
  if (!ok) failed++;
  console.log(`${name}: ${value.toFixed(unit === 'KB' || unit === 'MB' ? 1 : 3)} ${unit} (budget ${limit} ${unit}) ${ok ? 'ok' : 'OVER'}`);
}

function siteFiles(folder) {
  return fs.readdirSync(folder, { withFileTypes: true }).flatMap((entry) => {
    const file = path.join(folder, entry.name);
    return entry.isDirectory() ? siteFiles(file) : [file];
  });
}

const compressed = siteFiles(site).reduce((sum, file) => sum + zlib.gzipSync(fs.readFileSync(file), { level: 9 }).length, 0);
report('compressed site', compressed / 1024, 'KB', 600);

const server = await serve(site, { port: 0 });
const browser = await puppeteer.launch({ executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium', headless: true, args: ['--no-sandbox'] });
const loads = [];
for (let i = 0; i < kRuns; i++) {
  const context = await browser.createBrowserContext();  // a first visit: nothing cached
  const page = await context.newPage();
  await page.goto(server.url);
  await page.waitForSelector('body[data-ready="true"]');
  loads.push(Number(await page.$eval('body', (b) => b.dataset.readyMs)) / 1000);
  await context.close();
}
report('first load to an interactive grid (median of 5)', median(loads), 's', 1);

const page = await browser.newPage();
await page.evaluateOnNewDocument(() => {
  Object.defineProperty(navigator, 'serial', {
    value: {
      async requestPort() {
        const socket = new WebSocket(window.__bridgeUrl);
        socket.binaryType = 'arraybuffer';
        await new Promise((resolve) => { socket.onopen = resolve; });
        return {
          async open() {},
          async close() { socket.close(); },
          readable: new ReadableStream({ start(c) { socket.onmessage = (e) => c.enqueue(new Uint8Array(e.data)); } }),
          writable: new WritableStream({ write: (chunk) => socket.send(chunk) }),
        };
      },
    },
  });
});
await page.goto(server.url);
await page.waitForSelector('body[data-ready="true"]');
const reads = [];
for (let i = 0; i < kRuns; i++) {
  const sim = await startSimulator(simulator, ['--image', path.join(site, 'default.kda')]);
  const bridge = await startBridge({ ptyPath: sim.path });
  // The page's own link and core, timed from the request to the last record.
  const seconds = await page.evaluate(async (url) => {
    window.__bridgeUrl = url;
    const { link, session } = window.halyx;
    await link.choosePortAgain();
    await link.open();
    return new Promise((resolve) => {
      const start = performance.now();
      link.run(() => session.startRead(), (event) => {
        if (event.type === 'finished') resolve(event.number === 0 ? (performance.now() - start) / 1000 : Infinity);
      });
    });
  }, bridge.url);
  reads.push(seconds);
  await bridge.stop();
  await sim.stop();
}
const read = median(reads);
console.log(`read through the bridge (median of 5): ${read.toFixed(3)} s, line-time floor ${kLineFloorSeconds} s`);
// For comparison on the same machine at the same time: the desktop's command line, start-up included.
const cli = path.join(path.dirname(simulator), 'halyx-cli');
if (fs.existsSync(cli)) {
  const desktop = [];
  for (let i = 0; i < kRuns; i++) {
    const sim = await startSimulator(simulator, ['--image', path.join(site, 'default.kda')]);
    const home = fs.mkdtempSync(path.join(os.tmpdir(), 'halyx-bench-'));
    const start = performance.now();
    spawnSync(cli, ['read', '--port', sim.path, '-o', path.join(home, 'read.kda'), '--no-backup'],
      { env: { ...process.env, XDG_DATA_HOME: home, XDG_CONFIG_HOME: home, HOME: home } });
    desktop.push((performance.now() - start) / 1000);
    await sim.stop();
  }
  console.log(`halyx-cli read on the same simulator (median of 5, start-up included): ${median(desktop).toFixed(3)} s`);
}
report('read / line-time floor', read / kLineFloorSeconds, 'x', 1.15);
const metrics = await page.metrics();
const wasm = await page.evaluate(() => window.halyx.core.HEAP8.byteLength);
report('page memory after the reads (JS heap + WebAssembly memory)', (metrics.JSHeapUsedSize + wasm) / (1024 * 1024), 'MB', 50);
await browser.close();
await server.close();
process.exit(failed ? 1 : 0);
