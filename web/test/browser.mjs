// The page in headless Chromium, with the Web Serial test double: navigator.serial hands out
// one port whose streams run over a WebSocket to the bridge, so the page talks to the same
// simulated radio the desktop's tests use. window.__bridgeUrl says where the next open goes.
import fs from 'node:fs';
import puppeteer from 'puppeteer-core';
import { serve } from '../tools/serve.mjs';
import { site } from './helpers.mjs';

const kChromium = process.env.CHROMIUM ?? '/usr/bin/chromium';

export async function startBrowser() {
  const server = await serve(site, { port: 0 });
  const browser = await puppeteer.launch({
    executablePath: kChromium,
    headless: true,
    args: ['--no-sandbox', '--lang=en-US'],
  });
  return {
    url: server.url,
    browser,
    async close() {
      await browser.close();
      await server.close();
    },
  };
}

function serialDouble() {
  class BridgedPort {
    async open(options) {
      window.__openOptions = options;
      const socket = new WebSocket(window.__bridgeUrl);
      socket.binaryType = 'arraybuffer';
      await new Promise((resolve, reject) => {
        socket.onopen = resolve;
        socket.onerror = () => reject(new DOMException('no port', 'NetworkError'));
      });
      this.socket = socket;
      this.readable = new ReadableStream({
        start(controller) {
          socket.onmessage = (e) => controller.enqueue(new Uint8Array(e.data));
          socket.onclose = () => { try { controller.close(); } catch { /* cancelled already */ } };
        },
      });
      this.writable = new WritableStream({ write: (chunk) => socket.send(chunk) });
    }
    async close() {
      this.socket?.close();
      this.readable = null;
      this.writable = null;
    }
  }
  Object.defineProperty(navigator, 'serial', {
    configurable: true,
    value: {
      async requestPort() {
        window.__portRequests = (window.__portRequests ?? 0) + 1;
        window.__port ??= new BridgedPort();
        return window.__port;
      },
    },
  });
}

function noWebSerial() {
  Object.defineProperty(Navigator.prototype, 'serial', { configurable: true, get: () => undefined });
}

// The file pickers of the File System Access API cannot be driven headless; without them the
// page uses a file input and a download, which the tests can.
function plainFilePickers() {
  delete window.showOpenFilePicker;
  delete window.showSaveFilePicker;
}

export async function openPage(env, { webSerial = true, downloads = null, language = 'english' } = {}) {
  const page = await env.browser.newPage();
  await page.setViewport({ width: 1100, height: 720 });
  await page.evaluateOnNewDocument(webSerial ? serialDouble : noWebSerial);
  await page.evaluateOnNewDocument(plainFilePickers);
  await page.evaluateOnNewDocument((value) => {
    if (!localStorage.getItem('halyx.language')) localStorage.setItem('halyx.language', value);
  }, language);
  if (downloads) {
    fs.mkdirSync(downloads, { recursive: true });
    const cdp = await page.createCDPSession();
    await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
  }
  await page.goto(env.url);
  await page.waitForSelector('body[data-ready="true"]');
  return page;
}

// The grid's twenty rows as shown.
export function gridRows(page) {
  return page.$$eval('table[role="grid"] tbody tr', (rows) =>
    rows.map((row) => Array.from(row.children, (cell) => cell.dataset.text ?? cell.textContent)));
}

// Waits for the message box and answers it with its first button; returns its caption and text.
export async function answerBox(page, timeout = 15000) {
  await page.waitForSelector('dialog.box[open]', { timeout });
  const box = await page.$eval('dialog.box', (d) => ({
    caption: d.querySelector('h2').textContent,
    text: d.querySelector('.box-text').textContent,
  }));
  const dialog = await page.$('dialog.box');
  await page.click('dialog.box .buttons button');
  await page.waitForFunction((d) => !d.isConnected, {}, dialog);
  return box;
}

export async function waitForDownload(folder, name, timeout = 5000) {
  const file = `${folder}/${name}`;
  const until = Date.now() + timeout;
  while (Date.now() < until) {
    if (fs.existsSync(file)) return fs.readFileSync(file);
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  throw new Error(`no download ${name}`);
}
