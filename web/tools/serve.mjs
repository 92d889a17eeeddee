// A small static file server for the built site: correct types (the browser compiles the core
// only when it comes as application/wasm), gzip when the browser asks for it, nothing cached by
// the browser itself so the service worker alone decides what is kept.
//
//   node web/tools/serve.mjs [FOLDER] [--port N] [--host H]
import http from 'node:http';
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import { fileURLToPath } from 'node:url';

const kTypes = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8', '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm', '.json': 'application/json', '.webmanifest': 'application/manifest+json',
  '.svg': 'image/svg+xml', '.png': 'image/png', '.lang': 'text/plain; charset=utf-8',
  '.kda': 'application/octet-stream',
};

// Compressed once per file version: compressing on every request would cost more than sending.
const gzipped = new Map();
function gzipOf(file, body) {
  const key = `${file}:${fs.statSync(file).mtimeMs}`;
  if (!gzipped.has(key)) gzipped.set(key, zlib.gzipSync(body, { level: 9 }));
  return gzipped.get(key);
}

export function serve(folder, { port = 8080, host = '127.0.0.1' } = {}) {
  const root = path.resolve(folder);
  const server = http.createServer((request, response) => {
    const url = new URL(request.url ?? '/', 'http://localhost');
    let file = path.join(root, decodeURIComponent(url.pathname));
    if (!file.startsWith(root)) {
      response.writeHead(403).end();
      return;
    }
    if (fs.existsSync(file) && fs.statSync(file).isDirectory()) file = path.join(file, 'index.html');
    fs.readFile(file, (error, body) => {
      if (error) {
        response.writeHead(404, { 'content-type': 'text/plain' }).end('not found');
        return;
      }
      const headers = {
        'content-type': kTypes[path.extname(file)] ?? 'application/octet-stream',
        'cache-control': 'no-cache',
      };
      if (/\bgzip\b/.test(String(request.headers['accept-encoding'] ?? ''))) {
        body = gzipOf(file, body);
        headers['content-encoding'] = 'gzip';
      }
      response.writeHead(200, headers).end(body);
    });
  });
  return new Promise((resolve) => {
    server.listen(port, host, () => resolve({
      url: `http://${host}:${server.address().port}/`,
      close: () => new Promise((done) => { server.closeAllConnections(); server.close(done); }),
    }));
  });
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const args = process.argv.slice(2);
  const option = (name, fallback) => (args.includes(name) ? args[args.indexOf(name) + 1] : fallback);
  const folder = args.find((a, i) => !a.startsWith('--') && !args[i - 1]?.startsWith('--')) ?? 'build-web/site';
  const server = await serve(folder, { port: Number(option('--port', '8080')), host: option('--host', '127.0.0.1') });
  console.log(server.url);
}
