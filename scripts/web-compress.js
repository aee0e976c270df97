#!/usr/bin/env node
// Writes NAME.br and NAME.gz beside each file of the page that compresses (the player, its
// package, the page's text, the patches, the game's pictures and sounds), at the best levels, so that a static host (and
// scripts/web-serve.js) sends them to browsers that take them. A file whose compressed
// copies are newer than itself is left as it is; a copy that would not be smaller is not
// written. Folders reached through a symbolic link are not entered (the build's patch set
// is the system's, compressed by the server when it is asked for).
// Usage: node scripts/web-compress.js FOLDER_OR_FILE...
'use strict';
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');

const compressible = new Set(['.html', '.js', '.css', '.wasm', '.data', '.json', '.webmanifest',
                              '.cfg', '.pat', '.szg', '.wav']);

function brotli(bytes, text) {
  return zlib.brotliCompressSync(bytes, { params: {
    [zlib.constants.BROTLI_PARAM_QUALITY]: zlib.constants.BROTLI_MAX_QUALITY,
    [zlib.constants.BROTLI_PARAM_LGWIN]: zlib.constants.BROTLI_MAX_WINDOW_BITS,
    [zlib.constants.BROTLI_PARAM_MODE]: text ? zlib.constants.BROTLI_MODE_TEXT : zlib.constants.BROTLI_MODE_GENERIC,
    [zlib.constants.BROTLI_PARAM_SIZE_HINT]: bytes.length,
  } });
}

const gzip = (bytes) => zlib.gzipSync(bytes, { level: zlib.constants.Z_BEST_COMPRESSION, memLevel: 9 });

let written = 0, before = 0, after = 0;

function compress(file) {
  const stat = fs.statSync(file);
  const bytes = fs.readFileSync(file);
  const text = !['.wasm', '.data', '.pat', '.szg', '.wav'].includes(path.extname(file));
  let best = bytes.length;
  for (const [suffix, pack] of [['.br', () => brotli(bytes, text)], ['.gz', () => gzip(bytes)]]) {
    const target = file + suffix;
    let kept = null;
    try {
      kept = fs.statSync(target);
    } catch {
      // not written yet
    }
    if (kept && kept.mtimeMs >= stat.mtimeMs) {
      best = Math.min(best, kept.size);
      continue;
    }
    const packed = pack();
    if (packed.length >= bytes.length) {
      fs.rmSync(target, { force: true });
      continue;
    }
    fs.writeFileSync(target, packed);
    written += 1;
    best = Math.min(best, packed.length);
  }
  before += bytes.length;
  after += best;
}

function walk(folder) {
  for (const entry of fs.readdirSync(folder, { withFileTypes: true })) {
    const p = path.join(folder, entry.name);
    if (entry.isDirectory()) walk(p);
    else if ((entry.isFile() || (entry.isSymbolicLink() && fs.statSync(p).isFile())) &&
             compressible.has(path.extname(entry.name)))
      compress(p);
  }
}

const folders = process.argv.slice(2);
if (!folders.length) {
  console.error('usage: node scripts/web-compress.js FOLDER_OR_FILE...');
  process.exit(2);
}
for (const p of folders) {
  if (!fs.existsSync(p)) continue;  // a part the build left out (no patch set)
  if (fs.statSync(p).isDirectory()) walk(p);
  else compress(p);
}
console.log(`web-compress: ${written} compressed copies written; the page's files ` +
  `${(before / 1048576).toFixed(2)} MiB, ${(after / 1048576).toFixed(2)} MiB as sent`);
