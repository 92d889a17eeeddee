// Shared pieces of the web tests: the core loaded in node, the simulated radio behind the
// bridge, and a driver that runs an exchange the way the page does (bytes in, 10 ms ticks).
import { createRequire } from 'node:module';
import { execFile } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { promisify } from 'node:util';
import { fileURLToPath } from 'node:url';
import WebSocket from 'ws';

export const repo = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
export const site = process.env.HALYX_WEB_SITE ?? path.join(repo, 'build-web/site');

// The desktop programs the tests measure the page against; CI names its own build folder.
export function desktopProgram(name) {
  const candidates = [process.env.HALYX_BIN, path.join(repo, 'build-ci/bin'), path.join(repo, 'build/bin')];
  for (const folder of candidates) {
    if (folder && fs.existsSync(path.join(folder, name))) return path.join(folder, name);
  }
  throw new Error(`${name} not found: build it or set HALYX_BIN`);
}

export async function loadCore() {
  const folder = path.join(site, 'core');
  // The module's node branch expects CommonJS globals, and fetch cannot read a file path.
  globalThis.__dirname = folder;
  globalThis.require = createRequire(import.meta.url);
  const { default: createHalyxCore } = await import(path.join(folder, 'halyx_core.mjs'));
  return createHalyxCore({ wasmBinary: fs.readFileSync(path.join(folder, 'halyx_core.wasm')) });
}

export async function newSession(core, language = 'english') {
  const session = new core.Session();
  const file = `${language}.lang`;
  session.installLanguageFile(file, fs.readFileSync(path.join(site, 'lang', file), 'utf8'));
  session.useLanguageFile(file);
  return session;
}

export function tempDir() {
  return fs.mkdtempSync(path.join(os.tmpdir(), 'halyx-web-'));
}

// A radio memory in which every interpreted and uninterpreted byte differs from its neighbours,
// so a byte carried to the wrong place cannot go unnoticed; channels 1..20 hold real frequencies.
export function patternedImage() {
  const image = new Uint8Array(2048);
  for (let i = 0; i < image.length; i++) image[i] = (i * 7 + 3) & 0xff;
  image[22] = 1;  // 406.1-470 MHz
  for (let channel = 1; channel <= 20; channel++) {
    const at = 40 + 27 * channel;
    const steps = 44600000 + channel * 1250;  // 446.0xxxx MHz in 10 Hz steps
    const digits = String(steps).padStart(8, '0');
    for (let k = 0; k < 4; k++) {
      const bcd = parseInt(digits.slice(2 * k, 2 * k + 2), 16);
      image[at + 2 + k] = bcd;
      image[at + 6 + k] = bcd;
    }
    image[at + 13] = channel;       // receive tone
    image[at + 14] = channel + 60;  // transmit tone
    image[at + 15] = channel % 2;   // bandwidth
  }
  return image;
}

// Runs the session's exchange over a WebSocket to the bridge until it finishes; returns the
// events it reported. Ticks follow the clock, as in the page.
export function runExchange(session, url, start) {
  return new Promise((resolve, reject) => {
    const socket = new WebSocket(url);
    socket.binaryType = 'nodebuffer';
    const events = [];
    let timer;
    const flush = () => {
      const out = session.takeOutgoing();
      if (out.length) socket.send(out);
      for (const event of session.takeEvents()) {
        events.push(event);
        if (event.type === 'finished') {
          clearInterval(timer);
          socket.close();
          resolve(events);
        }
      }
    };
    socket.on('error', reject);
    socket.on('message', (data) => {
      session.receive(new Uint8Array(data));
      flush();
    });
    socket.on('open', () => {
      start();
      flush();
      let last = performance.now();
      timer = setInterval(() => {
        const now = performance.now();
        while (now - last >= 10) {
          last += 10;
          session.tick();
        }
        flush();
      }, 10);
    });
  });
}

const run = promisify(execFile);

// The desktop's command line against the same kind of simulated radio, for the wire comparison.
export async function halyxCli(args, env = {}) {
  const home = tempDir();
  return run(desktopProgram('halyx-cli'), args, {
    env: { ...process.env, XDG_DATA_HOME: home, XDG_CONFIG_HOME: home, HOME: home, ...env },
  }).catch((error) => error);
}
