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
  '.szg': 'application/octet-stream', '.wav': 'audio/wav',
};
const compressible = new Set(['.html', '.js', '.css', '.wasm', '.data', '.json', '.webmanifest',
                              '.cfg', '.pat', '.szg', '.wav']);
// Pictures and sounds: some compress well (bitmaps, waves), some not at all (PNG, JPEG); they
// are sent compressed only from copies written beside them, which exist where it pays.
const copiesOnly = new Set(['.szg', '.wav']);
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

// How the file is sent: from a compressed copy beside it when one is as new as the file,
// else gzip made here (fast enough for any file the page asks for) unless only copies
// serve, else as it is.
function choose(file, stat, taken) {
  if (!compressible.has(path.extname(file))) return {};
  for (const [name, suffix] of encodings) {
    if (!taken.has(name)) continue;
    try {
      if (fs.statSync(file + suffix).mtimeMs >= stat.mtimeMs) return { encoding: name, from: file + suffix };
    } catch {
      // none beside it
    }
  }
  return taken.has('gzip') && !copiesOnly.has(path.extname(file)) ? { encoding: 'gzip' } : {};
}

// The bytes sent, read (or compressed and kept) only when a body is sent at all.
function bytesOf(file, stat, way) {
  if (way.from || !way.encoding) return fs.readFileSync(way.from || file);
  const kept = packed.get(file);
  if (kept && kept.mtime === stat.mtimeMs) return kept.body;
  const made = zlib.gzipSync(fs.readFileSync(file), { level: 6 });
  packed.set(file, { mtime: stat.mtimeMs, body: made });
  return made;
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
    const way = choose(file, stat, accepted(req.headers['accept-encoding']));
    const tag = Math.floor(stat.mtimeMs).toString(16) + (way.encoding ? '-' + way.encoding : '');
    const etag = `"${stat.size.toString(16)}-${tag}"`;
    const headers = { 'Content-Type': types[path.extname(file)] || 'application/octet-stream',
                      'Cache-Control': 'no-cache', 'ETag': etag };
    if (compressible.has(path.extname(file))) headers['Vary'] = 'Accept-Encoding';
    if (req.headers['if-none-match'] === etag) {
      res.writeHead(304, headers).end();
      return;
    }
    let bytes;
    try {
      bytes = bytesOf(file, stat, way);
    } catch {
      res.writeHead(500).end();
      return;
    }
    if (way.encoding) headers['Content-Encoding'] = way.encoding;
    headers['Content-Length'] = bytes.length;
    res.writeHead(200, headers);
    res.end(req.method === 'HEAD' ? undefined : bytes);
  });
});

server.listen(port, '127.0.0.1', () => {
  console.log(`torami: serving ${root} at http://127.0.0.1:${server.address().port}/`);
});
