#!/usr/bin/env node
// Serves the browser build on 127.0.0.1 and prints its address. Files are sent gzipped
// to browsers that take it (compressed once, then kept), with an ETag that answers a
// browser asking again for an unchanged file, as a web host would.
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
  '.webmanifest': 'application/manifest+json',
};
const packed = new Map();  // file -> { mtime, body }

function gzipped(file, stat) {
  const kept = packed.get(file);
  if (kept && kept.mtime === stat.mtimeMs) return kept.body;
  const body = zlib.gzipSync(fs.readFileSync(file), { level: 6 });
  packed.set(file, { mtime: stat.mtimeMs, body });
  return body;
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
    const etag = `"${stat.size.toString(16)}-${Math.floor(stat.mtimeMs).toString(16)}"`;
    const headers = { 'Content-Type': types[path.extname(file)] || 'application/octet-stream',
                      'Cache-Control': 'no-cache', 'ETag': etag };
    if (req.headers['if-none-match'] === etag) {
      res.writeHead(304, headers).end();
      return;
    }
    const ext = path.extname(file);
    const compress = /\bgzip\b/.test(req.headers['accept-encoding'] || '') &&
                     ['.html', '.js', '.css', '.wasm', '.data', '.cfg'].includes(ext);
    let body;
    try {
      body = compress ? gzipped(file, stat) : fs.readFileSync(file);
    } catch {
      res.writeHead(500).end();
      return;
    }
    if (compress) headers['Content-Encoding'] = 'gzip';
    headers['Content-Length'] = body.length;
    res.writeHead(200, headers);
    res.end(req.method === 'HEAD' ? undefined : body);
  });
});

server.listen(port, '127.0.0.1', () => {
  console.log(`torami: serving ${root} at http://127.0.0.1:${server.address().port}/`);
});
