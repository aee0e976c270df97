#!/usr/bin/env node
// Serves the browser build on 127.0.0.1 and prints its address. Files that compress are
// sent brotli- or gzip-encoded to browsers that take it, as a static host would: from the
// copies written beside them at build time (NAME.br, NAME.gz: scripts/web-compress.js),
// else compressed here once and kept. An ETag answers a browser asking again for an
// unchanged file.
// Usage: node scripts/web-serve.js [FOLDER [PORT]]   (PORT 0: any free port)
'use strict';
const http = require('http');
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');

const root = path.resolve(process.argv[2] || 'build-web');
const port = Number(process.argv[3] || 8631);
const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8', '.wasm': 'application/wasm', '.png': 'image/png',
  '.data': 'application/octet-stream', '.json': 'application/json', '.cfg': 'text/plain',
  '.webmanifest': 'application/manifest+json', '.pat': 'application/octet-stream',
};
const compressible = new Set(['.html', '.js', '.css', '.wasm', '.data', '.json', '.webmanifest',
                              '.cfg', '.pat']);
const encodings = [['br', '.br'], ['gzip', '.gz']];  // the first the browser takes
const packed = new Map();  // file -> { mtime, body }, compressed here

// Which of the encodings the browser takes (q=0 refuses one).
function accepted(header) {
  const taken = new Set();
  for (const part of (header || '').split(',')) {
    const [name, ...params] = part.trim().toLowerCase().split(';');
    const q = params.map((p) => /^\s*q=([\d.]+)/.exec(p)).find(Boolean);
    if (name && !(q && Number(q[1]) === 0)) taken.add(name);
  }
  return taken;
}

// The body to send and its encoding: a compressed copy beside the file when one is as new
// as the file, else gzip made here (fast enough for any file the page asks for).
function body(file, stat, taken) {
  if (!compressible.has(path.extname(file))) return { bytes: fs.readFileSync(file) };
  for (const [name, suffix] of encodings) {
    if (!taken.has(name)) continue;
    try {
      const beside = fs.statSync(file + suffix);
      if (beside.mtimeMs >= stat.mtimeMs) return { bytes: fs.readFileSync(file + suffix), encoding: name };
    } catch {
      // none beside it
    }
  }
  if (!taken.has('gzip')) return { bytes: fs.readFileSync(file) };
  const kept = packed.get(file);
  if (kept && kept.mtime === stat.mtimeMs) return { bytes: kept.body, encoding: 'gzip' };
  const made = zlib.gzipSync(fs.readFileSync(file), { level: 6 });
  packed.set(file, { mtime: stat.mtimeMs, body: made });
  return { bytes: made, encoding: 'gzip' };
}

const server = http.createServer((req, res) => {
  let name;
  try {
    name = decodeURIComponent(new URL(req.url, 'http://x').pathname);
  } catch {
    res.writeHead(400).end();
    return;
  }
  if (name.endsWith('/')) name += 'index.html';
  const file = path.join(root, path.normalize(name));
  if (!file.startsWith(root + path.sep)) {
    res.writeHead(403).end();
    return;
  }
  fs.stat(file, (err, stat) => {
    if (err || !stat.isFile()) {
      res.writeHead(404, { 'Content-Type': 'text/plain' }).end('not found\n');
      return;
    }
    // A file asked for again unchanged is answered "not modified", as a web host would.
    let sent;
    try {
      sent = body(file, stat, accepted(req.headers['accept-encoding']));
    } catch {
      res.writeHead(500).end();
      return;
    }
    const tag = Math.floor(stat.mtimeMs).toString(16) + (sent.encoding ? '-' + sent.encoding : '');
    const etag = `"${stat.size.toString(16)}-${tag}"`;
    const headers = { 'Content-Type': types[path.extname(file)] || 'application/octet-stream',
                      'Cache-Control': 'no-cache', 'ETag': etag };
    if (compressible.has(path.extname(file))) headers['Vary'] = 'Accept-Encoding';
    if (req.headers['if-none-match'] === etag) {
      res.writeHead(304, headers).end();
      return;
    }
    if (sent.encoding) headers['Content-Encoding'] = sent.encoding;
    headers['Content-Length'] = sent.bytes.length;
    res.writeHead(200, headers);
    res.end(req.method === 'HEAD' ? undefined : sent.bytes);
  });
});

server.listen(port, '127.0.0.1', () => {
  console.log(`torami: serving ${root} at http://127.0.0.1:${server.address().port}/`);
});
