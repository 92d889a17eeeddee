// The serial cable for tests and demonstrations: a WebSocket whose messages are the bytes of a
// simulated radio's pseudo-terminal. Each connection opens the terminal afresh, the way a page
// opens its port; bytes pass through unchanged in both directions.
//
//   node web/tools/bridge.mjs [--port N] [--simulator PATH] [-- RADIOSIM OPTIONS...]
// prints "ws://127.0.0.1:N/" once the simulator is up.
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import tty from 'node:tty';
import { once } from 'node:events';
import { createInterface } from 'node:readline';
import { fileURLToPath } from 'node:url';
import { WebSocketServer } from 'ws';

export async function startSimulator(simulator, args = []) {
  const child = spawn(simulator, args, { stdio: ['ignore', 'pipe', 'pipe'] });
  let stderr = '';
  child.stderr.on('data', (chunk) => { stderr += chunk; });
  const lines = createInterface({ input: child.stdout });
  const [first] = await Promise.race([
    once(lines, 'line'),
    once(child, 'exit').then(([code]) => { throw new Error(`radiosim exited (${code}): ${stderr}`); }),
  ]);
  const exited = once(child, 'exit');
  return {
    path: first.trim(),
    stderr: () => stderr,
    async stop() {
      if (child.exitCode === null) {
        child.kill('SIGTERM');
        await exited;
      }
      return stderr;
    },
  };
}

// Bytes the simulator received, in order, from its verbose log ("received: 35 01 ...").
export function receivedBytes(verboseLog) {
  const bytes = [];
  for (const line of verboseLog.split('\n')) {
    const match = /^received: (.*)$/.exec(line.trim());
    if (match) {
      for (const hex of match[1].trim().split(/\s+/)) bytes.push(parseInt(hex, 16));
    }
  }
  return Uint8Array.from(bytes);
}

export async function startBridge({ ptyPath, port = 0 }) {
  const server = new WebSocketServer({ host: '127.0.0.1', port });
  await once(server, 'listening');
  server.on('connection', (socket) => {
    const fd = fs.openSync(ptyPath, fs.constants.O_RDWR | fs.constants.O_NOCTTY);
    const input = new tty.ReadStream(fd);
    let open = true;
    input.on('data', (chunk) => { if (open) socket.send(chunk); });
    input.on('error', () => socket.close());
    socket.on('message', (data) => {
      if (open) fs.writeSync(fd, Buffer.isBuffer(data) ? data : Buffer.from(data));
    });
    socket.on('close', () => {
      open = false;
      input.destroy();  // closes the descriptor
    });
  });
  return {
    url: `ws://127.0.0.1:${server.address().port}/`,
    async stop() {
      for (const client of server.clients) client.terminate();
      await new Promise((resolve) => server.close(resolve));
    },
  };
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const argv = process.argv.slice(2);
  const dash = argv.indexOf('--');
  const own = dash < 0 ? argv : argv.slice(0, dash);
  const simArgs = dash < 0 ? [] : argv.slice(dash + 1);
  const option = (name, fallback) => {
    const at = own.indexOf(name);
    return at < 0 ? fallback : own[at + 1];
  };
  const sim = await startSimulator(option('--simulator', 'halyx-radiosim'), simArgs);
  const bridge = await startBridge({ ptyPath: sim.path, port: Number(option('--port', '8765')) });
  console.log(bridge.url);
  const stop = async () => {
    await bridge.stop();
    await sim.stop();
    process.exit(0);
  };
  process.on('SIGINT', stop);
  process.on('SIGTERM', stop);
}
