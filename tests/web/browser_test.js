#!/usr/bin/env node
// The browser test: serves build-web/ on 127.0.0.1, opens it in the system's Chromium
// (headless, through puppeteer-core; no browser is downloaded) and plays the demo's
// play-throughs with real mouse events on the page. Every wait the page's player reaches
// is compared with a native headless run of the same input file (the trace's snapshot,
// without its time), the canvas at chosen waits pixel for pixel with the native --shots,
// and the end of the run. Also measures what the demo page downloads and how long the
// title takes, and prints both; and plays a tiny game of its own through the folder
// picker, over reloads, with a quick save; on a phone's screen reaches the player's menu
// through the toolbar; checks the text for screen readers, reading aloud and a gamepad;
// plays offline through the service worker; and publishes a game as a page of its own.
// Usage: node tests/web/browser_test.js BUILD_WEB NATIVE_TORAMI REPO
'use strict';
const { spawn, spawnSync } = require('child_process');
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const zlib = require('zlib');
const puppeteer = require('puppeteer-core');

const [buildWeb, nativeTorami, repo] = process.argv.slice(2).map((p) => path.resolve(p));
const chromium = process.env.CHROMIUM || '/usr/bin/chromium';
const playthroughs = ['beach', 'lamp', 'sunrise'];
const stepTimeout = 20000;
let failures = 0;

function fail(message) {
  failures += 1;
  console.log(`FAIL ${message}`);
}

// Client positions of the input file's places (the design's control rectangles, inside
// Picture1's 2-pixel border where they sit in it): as the headless backend aims.
const menuCell = (i) => ({ x: [72, 192, 312][i % 3] + 2 + 60, y: [280, 296, 312][Math.floor(i / 3)] + 2 + 8 });
// Two clicks in a row at one place would make a double click in a browser (as they would
// in a window), so every other action aims a little to the side, inside the same control.
function aim(line, index) {
  const [word, arg] = line.split(/\s+/);
  const side = index % 2 ? -1 : 1;
  const beside = (p, d) => ({ x: p.x + side * d, y: p.y, count: 1 });
  switch (word) {
    case 'click': return beside({ x: 230, y: 360 }, 100);
    case 'pick': return beside(menuCell(Number(arg) + 1), 40);
    case 'heading': return beside(menuCell(0), 40);
    case 'chance': return { x: 483, y: 347, count: 2 };
    default: throw new Error(`the browser test does not play "${line}"`);
  }
}

function inputActions(file) {
  return fs.readFileSync(file, 'utf8').split('\n').map((l) => l.trim())
    .filter((l) => l && !l.startsWith('#'));
}

function readTrace(file) {
  return fs.readFileSync(file, 'utf8').split('\n').filter(Boolean).map((l) => JSON.parse(l));
}

const withoutTime = (e) => { const c = { ...e }; delete c.t; return JSON.stringify(c); };

function startServer(folder = buildWeb) {
  return new Promise((resolve, reject) => {
    const server = spawn(process.execPath, [path.join(repo, 'scripts/web-serve.js'), folder, '0'],
      { stdio: ['ignore', 'pipe', 'inherit'] });
    server.stdout.on('data', (d) => {
      const m = /(http:\/\/127\.0\.0\.1:\d+\/)/.exec(d.toString());
      if (m) resolve({ server, url: m[1] });
    });
    server.on('exit', (code) => reject(new Error(`the server ended (${code})`)));
  });
}

// The server compresses a file that has no compressed copy beside it once; ask for each
// first so timings are a warm host's.
function warm(url) {
  return Promise.all(['index.html', 'page.js', 'page.css', 'torami.js', 'torami.wasm', 'torami.data']
    .map((f) => new Promise((resolve) => {
      http.get(url + f, { headers: { 'Accept-Encoding': 'gzip, deflate, br' } }, (res) => {
        res.resume();
        res.on('end', resolve);
      }).on('error', resolve);
    })));
}

async function newPage(browser) {
  const context = await browser.createBrowserContext();  // fresh storage every time
  const page = await context.newPage();
  await page.setViewport({ width: 1100, height: 850 });
  page.on('pageerror', (e) => fail(`page error: ${e.message}`));
  page.on('console', (m) => { if (process.env.VERBOSE) console.log(`  page: ${m.text()}`); });
  return { context, page };
}

// Waits until the page's trace holds `count` wait events, or an end event.
async function waitForWaits(page, count) {
  await page.waitForFunction((n) => {
    const t = window.torami && window.torami.trace();
    return t && (t.filter((e) => e.ev === 'wait').length >= n || t.some((e) => e.ev === 'end'));
  }, { timeout: stepTimeout, polling: 20 }, count);
}

async function canvasDifference(page, pngFile) {
  const url = 'data:image/png;base64,' + fs.readFileSync(pngFile).toString('base64');
  return page.evaluate(async (src) => {
    const canvas = document.getElementById('canvas');
    const img = new Image();
    img.src = src;
    await img.decode();
    if (img.width !== canvas.width || img.height !== canvas.height)
      return `sizes differ: ${img.width}x${img.height} and the canvas ${canvas.width}x${canvas.height}`;
    const off = document.createElement('canvas');
    off.width = img.width;
    off.height = img.height;
    const octx = off.getContext('2d');
    octx.drawImage(img, 0, 0);
    const want = octx.getImageData(0, 0, img.width, img.height).data;
    const got = canvas.getContext('2d').getImageData(0, 0, img.width, img.height).data;
    let diff = 0, first = null;
    for (let i = 0; i < want.length; i += 4) {
      if (want[i] !== got[i] || want[i + 1] !== got[i + 1] || want[i + 2] !== got[i + 2]) {
        diff += 1;
        if (!first) first = `(${(i / 4) % img.width}, ${Math.floor(i / 4 / img.width)})`;
      }
    }
    return diff ? `${diff} pixels differ, the first at ${first}` : null;
  }, url);
}

async function clickAt(page, x, y, count) {
  const box = await (await page.$('#canvas')).boundingBox();
  const s = box.width / 506;
  const px = box.x + (x + 0.5) * s, py = box.y + (y + 0.5) * s;
  for (let i = 0; i < count; ++i) await page.mouse.click(px, py, { delay: 30 });
}

// What the demo page transfers for its title and beside it (as sent: compressed where the
// server compresses, with the headers; and uncompressed), from the page's resource timing,
// and how long the first frame and the menu take. The player and its package must come
// compressed, as a host would send them, and the title without any of the game's files that
// come after it (game/): none is asked for before the page starts fetching them, once the
// game first waits.
async function measureFirstLoad(browser, url) {
  const { context, page } = await newPage(browser);
  await page.goto(url + '?test', { waitUntil: 'domcontentloaded' });
  await waitForWaits(page, 1);
  const title = await page.evaluate(() => window.torami.firstWait);
  const frame = await page.evaluate(() => window.toramiShown);
  await new Promise((r) => setTimeout(r, 1500));  // what the title fetches after it shows
  const laterFrom = await page.evaluate(() => window.torami.laterFrom);
  const files = await page.evaluate(() => [...performance.getEntriesByType('navigation'),
    ...performance.getEntriesByType('resource')].filter((e) => !e.name.startsWith('data:')).map((e) => ({
    name: new URL(e.name).pathname.split('/').pop() || 'index.html', path: new URL(e.name).pathname,
    start: e.startTime, end: e.responseEnd, sent: e.transferSize, bytes: e.decodedBodySize })));
  const mib = (n) => `${(n / 1048576).toFixed(2)} MiB`;
  const sum = (list, key) => list.reduce((n, f) => n + f[key], 0);
  const say = (list) => `${mib(sum(list, 'sent'))} sent (${mib(sum(list, 'bytes'))} uncompressed) in ` +
    `${list.length} files (` + [...list].sort((x, y) => y.sent - x.sent).slice(0, 4)
    .map((f) => `${f.name} ${mib(f.sent)}`).join(', ') + ')';
  // What the title waits for is asked for before its first frame; what is asked for later
  // comes beside it, whether before the menu is ready or after, and so do a piece's
  // instruments and the game's later files (game/), which the title never waits for, even
  // when the player has asked for them before the page noticed its first frame.
  const besideTitle = (f) => f.start > frame || /^\/(freepats|game)\//.test(f.path);
  const first = files.filter((f) => !besideTitle(f)), later = files.filter(besideTitle);
  console.log(`download for the title (asked for before its first frame, but instruments): ${say(first)}`);
  console.log(`download beside the title (instruments, later files; until 1.5 s after the menu): ${say(later)}, ` +
    `${mib(sum(later.filter((f) => f.end <= title), 'sent'))} of it before the menu was ready`);
  console.log(`time to the title: first frame ${Math.round(frame)} ms, menu ready ${Math.round(title)} ms`);
  for (const name of ['torami.wasm', 'torami.data']) {
    const f = files.find((e) => e.name === name);
    if (!f) fail(`load: the page did not fetch ${name}`);
    else if (!(f.sent < f.bytes)) fail(`load: ${name} came uncompressed (${f.sent} bytes sent for ${f.bytes})`);
  }
  const gameFiles = files.filter((f) => f.path.startsWith('/game/'));
  const early = gameFiles.filter((f) => laterFrom === null || f.start < laterFrom);
  if (laterFrom === null) fail('load: the page did not start fetching the game\'s later files at its first wait');
  else if (early.length) fail(`load: the title asked for files that come after it: ${early.map((f) => f.name).join(', ')}`);
  console.log(`the game's later files: ${gameFiles.length} fetched from ${Math.round(laterFrom)} ms, ` +
    `${mib(sum(gameFiles, 'sent'))} sent`);
  await context.close();
}

// The game's later files (game/) held back by the host: the title comes without them, and
// the first scene, reached while its picture is still held back, waits for it and shows it.
// Then a page whose later files cannot be fetched at all: the first scene goes on without
// its picture, as without a missing file, and the console says why.
async function laterFiles(browser, url) {
  const started = Date.now();
  const open = async (answer) => {
    const { context, page } = await newPage(browser);
    const warnings = [];
    page.on('console', (m) => { if (/cannot fetch/.test(m.text())) warnings.push(m.text()); });
    await page.setRequestInterception(true);
    page.on('request', (r) => (new URL(r.url()).pathname.startsWith('/game/') ? answer(r) : r.continue()));
    await page.goto(url + '?test');
    await waitForWaits(page, 1);
    const a = aim('pick 0', 0);  // はじめる: the station, with its picture
    await clickAt(page, a.x, a.y, a.count);
    return { context, page, warnings };
  };
  const station = async (page) => (await page.evaluate(() => window.torami.trace()))
    .find((e) => e.ev === 'picture' && e.name === 'station');

  let held = [], holding = true;
  const late = await open((r) => (holding ? held.push(r) : r.continue()));
  // The scene's piece starts right before its picture is read: from then on the files come.
  await step('the first scene\'s piece', late.page.waitForFunction(() =>
    window.torami.trace().some((e) => e.ev === 'music' && e.mode === 9), { timeout: stepTimeout, polling: 20 }));
  // While the player waits for the held picture, the page says it is loading.
  await step('the page saying it waits', late.page.waitForFunction(() =>
    /Loading/.test(document.getElementById('status').textContent), { timeout: stepTimeout, polling: 20 }));
  holding = false;
  const asked = held.length;
  for (const r of held) r.continue();
  held = [];
  await step('the first scene after its picture came', waitForWaits(late.page, 2));
  const came = await station(late.page);
  if (!came || !came.ok) fail(`later files: the station's picture read before it came is ${JSON.stringify(came)}`);
  const said = await late.page.evaluate(() => document.getElementById('status').textContent);
  if (said) fail(`later files: the page still says "${said}" once the picture came`);
  await late.context.close();

  const gone = await open((r) => r.abort());
  await step('the first scene without its picture', waitForWaits(gone.page, 2));
  const missing = await station(gone.page);
  if (!missing || missing.ok) fail(`later files missing: the station's picture is ${JSON.stringify(missing)}`);
  if (!gone.warnings.length) fail('later files missing: nothing said so on the console');
  await gone.context.close();
  console.log(`later files: the first scene waited for its picture, the page saying so (${asked} files held back until then); ` +
    `without them it went on (${gone.warnings.length} said missing) (${((Date.now() - started) / 1000).toFixed(1)} s)`);
}

// How many waits the native run has reached after each number of actions (0..count):
// an action that changes nothing a person sees (a double click that only sets a flag)
// starts no new wait.
async function waitCounts(input, count) {
  const lines = inputActions(input);
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'torami-web-prefix-'));
  const one = (k) => new Promise((resolve) => {
    const file = path.join(dir, `${k}.txt`);
    fs.writeFileSync(file, lines.slice(0, k).join('\n') + '\n');
    const p = spawn(nativeTorami, ['--headless', '--input', file, path.join(repo, 'demo')],
      { stdio: ['ignore', 'pipe', 'ignore'] });
    let out = '';
    p.stdout.on('data', (d) => { out += d; });
    p.on('close', () => resolve(out.split('\n').filter(Boolean).map((l) => JSON.parse(l))
      .filter((e) => e.ev === 'wait' && e.kind !== 'end').length));
  });
  const counts = new Array(count + 1);
  let next = 0;
  const worker = async () => { while (next <= count) { const k = next++; counts[k] = await one(k); } };
  await Promise.all([worker(), worker(), worker()]);
  fs.rmSync(dir, { recursive: true, force: true });
  return counts;
}

// options: open(page) opens the page (the default goes to it with ?test), onWait(page, n)
// checks the page at the nth wait, act(page, k, action) may take the kth action itself
// (true when it did), label names the run in what it prints.
async function playthrough(browser, url, name, options = {}) {
  const input = path.join(repo, 'tests/demo', `${name}.txt`);
  const work = fs.mkdtempSync(path.join(os.tmpdir(), `torami-web-${name}-`));
  const shots = path.join(work, 'shots'), traceFile = path.join(work, 'trace.jsonl');
  spawnSync(nativeTorami, ['--headless', '--input', input, '--shots', shots, '--trace', traceFile,
    path.join(repo, 'demo')], { stdio: 'ignore' });
  const native = readTrace(traceFile);
  const nativeWaits = native.filter((e) => e.ev === 'wait' && e.kind !== 'end');
  const nativeEnd = native.find((e) => e.ev === 'end');

  const actions = inputActions(input);
  const counts = await waitCounts(input, actions.length);
  const started = Date.now();
  const { context, page } = options.context ? { context: options.context, page: options.page }
    : await newPage(browser);
  if (options.open) await options.open(page);
  else await page.goto(url + '?test');
  // Canvas pictures at the first wait, one in the middle and the last.
  const checkAt = new Set([counts[0], counts[Math.ceil(actions.length / 2)], counts[actions.length]]);
  let checked = 0;
  const reach = async (n, after) => {
    try {
      await waitForWaits(page, n);
    } catch (e) {
      const shot = path.join(os.tmpdir(), `torami-web-${name}-stuck.png`);
      await page.screenshot({ path: shot });
      const last = (await page.evaluate(() => window.torami.trace())).slice(-2);
      console.log(last.map((e) => '  page trace: ' + JSON.stringify(e).slice(0, 300)).join('\n'));
      throw new Error(`${name}: wait ${n} did not come after "${after}" (screenshot ${shot})`);
    }
    if (checkAt.has(n)) {
      const d = await canvasDifference(page, path.join(shots, String(n).padStart(4, '0') + '.png'));
      if (d) fail(`${name}: the canvas at wait ${n}: ${d}`);
      checked += 1;
      checkAt.delete(n);
    }
    if (options.onWait) await options.onWait(page, n);
  };
  await reach(counts[0], 'opening the page');
  for (let k = 1; k <= actions.length; ++k) {
    if (!(options.act && await options.act(page, k, actions[k - 1]))) {
      const a = aim(actions[k - 1], k - 1);
      await clickAt(page, a.x, a.y, a.count);
    }
    // An action that starts no new wait (the native run says which) gets time to be taken.
    if (counts[k] > counts[k - 1]) await reach(counts[k], actions[k - 1]);
    else await new Promise((r) => setTimeout(r, 400));
  }
  // After the last action the run ends as the native one did, or waits where it ran out.
  if (nativeEnd.reason !== 'input') {
    await page.waitForFunction(() => window.torami.trace().some((e) => e.ev === 'end'),
      { timeout: stepTimeout, polling: 50 });
  } else {
    await new Promise((r) => setTimeout(r, 500));
  }
  const web = await page.evaluate(() => window.torami.trace());
  const webWaits = web.filter((e) => e.ev === 'wait' && e.kind !== 'end');
  for (let i = 0; i < Math.max(webWaits.length, nativeWaits.length); ++i) {
    const w = webWaits[i] ? withoutTime(webWaits[i]) : 'nothing';
    const h = nativeWaits[i] ? withoutTime(nativeWaits[i]) : 'nothing';
    if (w !== h) {
      fail(`${name}: wait ${i + 1} differs:\n  page:   ${w}\n  native: ${h}`);
      break;
    }
  }
  // Music and sound as the native run had them: the same pieces and waves, each opened.
  const media = (trace) => trace.filter((e) => e.ev === 'music' || e.ev === 'sound').map(withoutTime);
  const webMedia = media(web), nativeMedia = media(native);
  const firstOff = webMedia.findIndex((e, i) => e !== nativeMedia[i]);
  if (firstOff >= 0 || webMedia.length !== nativeMedia.length)
    fail(`${name}: music and sound differ (event ${firstOff + 1}): page ${webMedia[firstOff]}, native ${nativeMedia[firstOff]}`);
  const webEnd = web.find((e) => e.ev === 'end');
  const webFlags = webEnd ? webEnd.flags : (webWaits.at(-1) || {}).flags;
  if (nativeEnd.reason !== 'input' && (!webEnd || webEnd.reason !== nativeEnd.reason))
    fail(`${name}: the page's run ended ${webEnd ? webEnd.reason : 'not at all'}, the native run ${nativeEnd.reason}`);
  if (JSON.stringify(webFlags) !== JSON.stringify(nativeEnd.flags))
    fail(`${name}: flags at the end: page ${JSON.stringify(webFlags)}, native ${JSON.stringify(nativeEnd.flags)}`);
  console.log(`${options.label || name}: ${actions.length} clicks, ${webWaits.length} waits compared with the native run, ` +
    `${checked} canvas pictures, ${webMedia.length} music and sound events, end ${webEnd ? webEnd.reason : 'waiting'} ` +
    `(${((Date.now() - started) / 1000).toFixed(1)} s)`);
  if (!options.keep) await context.close();
  fs.rmSync(work, { recursive: true, force: true });
}

// The last wait's first message row as text.
async function lastMessage(page) {
  return page.evaluate(() => {
    const waits = window.torami.trace().filter((e) => e.ev === 'wait');
    const w = waits[waits.length - 1];
    return w ? w.mes[0].map((run) => run[1]).join('').trim() : null;
  });
}

async function waitForMessage(page, text, what) {
  try {
    await page.waitForFunction((t) => {
      const waits = window.torami.trace().filter((e) => e.ev === 'wait');
      const w = waits[waits.length - 1];
      return w && w.mes[0].map((run) => run[1]).join('').trim() === t;
    }, { timeout: stepTimeout, polling: 20 }, text);
  } catch (e) {
    throw new Error(`${what}: the message is "${await lastMessage(page)}", not "${text}"`);
  }
}

// A game of the player's own through the folder picker: it plays, a reload plays it
// again (kept in the browser's storage) and asks whether to continue, and a quick save
// made before the reload loads after it.
async function step(what, promise) {
  try {
    return await promise;
  } catch (e) {
    throw new Error(`${what}: ${e.message}`);
  }
}

async function ownGame(browser, url) {
  const started = Date.now();
  const { context, page } = await newPage(browser);
  await page.setViewport({ width: 1100, height: 850, hasTouch: true });
  await page.goto(url + '?test');
  await waitForWaits(page, 1);
  const input = await page.$('#folder');
  await Promise.all([
    page.waitForNavigation(),
    input.uploadFile(path.join(repo, 'tests/web/tiny')),  // the folder, as the picker gives it
  ]);
  await waitForMessage(page, 'あ', 'the picked game');
  await clickAt(page, 130, 360, 1);
  await waitForMessage(page, 'い', 'a click in the picked game');
  const synced = await page.evaluate(() => window.torami.syncs());
  await page.keyboard.press('F5');
  await step('the quick save (F5) kept in the browser', page.waitForFunction((n) =>
    window.torami.trace().some((e) => e.ev === 'save' && e.slot === 'quick' && e.ok) &&
    window.torami.syncs() > n, { timeout: stepTimeout, polling: 20 }, synced));
  await clickAt(page, 330, 360, 1);
  await waitForMessage(page, 'う', 'a click after the quick save');
  await step('the continue save kept in the browser', page.waitForFunction((n) =>
    window.torami.syncs() > n, { timeout: stepTimeout, polling: 20 }, synced + 1));
  await page.reload();
  // The unfinished game asks whether to continue: the first button continues.
  await step('the question whether to continue',
    page.waitForSelector('#ask[open] button', { timeout: stepTimeout }));
  const question = await page.$eval('#ask-text', (e) => e.textContent);
  await page.click('#ask-buttons button');
  await waitForMessage(page, 'う', `continuing after a reload (asked "${question.replace(/\n/g, ' ')}")`);
  await page.keyboard.press('F9');
  await waitForMessage(page, 'い', 'the quick save loaded after a reload');
  // A tap is a left click (a phone's finger on the page).
  const box = await (await page.$('#canvas')).boundingBox();
  await page.touchscreen.tap(box.x + 230 * box.width / 506, box.y + 360 * box.width / 506);
  await waitForMessage(page, 'う', 'a tap on the message area');
  console.log(`own game: picked, played, kept over two reloads, continued, quick save loaded, a tap taken ` +
    `(${((Date.now() - started) / 1000).toFixed(1)} s)`);
  await context.close();
}

// A phone (390 x 844, touch): the toolbar's menu button opens the player's menu, and taps
// save to the first slot, load it back and show the backlog.
async function phone(browser, url) {
  const started = Date.now();
  const { context, page } = await newPage(browser);
  await page.setViewport({ width: 390, height: 844, hasTouch: true, isMobile: true });
  await page.goto(url + '?test');
  await waitForWaits(page, 1);
  const tap = async (x, y) => {
    const box = await (await page.$('#canvas')).boundingBox();
    const s = box.width / 506;
    await page.touchscreen.tap(box.x + (x + 0.5) * s, box.y + (y + 0.5) * s);
  };
  const traceHas = (what, test) => step(what, page.waitForFunction(test,
    { timeout: stepTimeout, polling: 20 }));
  const row = (i) => 48 + 22 * i;  // the menu's rows, in the design's pixels
  await tap(menuCell(1).x, menuCell(1).y);  // はじめる
  await waitForWaits(page, 2);
  await tap(230, 360);
  await waitForWaits(page, 3);
  await page.click('#menu');
  await traceHas('the menu opened by the toolbar', () =>
    window.torami.trace().some((e) => e.ev === 'player-menu' && e.open));
  await tap(250, row(0));  // セーブ Save
  await tap(106, 104);     // slot 1
  await traceHas('a slot saved by taps', () =>
    window.torami.trace().some((e) => e.ev === 'save' && e.slot === '1' && e.ok));
  await page.click('#menu');  // closes it
  await tap(230, 360);
  await waitForWaits(page, 4);
  await page.click('#menu');
  await tap(250, row(1));  // ロード Load
  await tap(106, 104);
  await traceHas('the slot loaded by taps', () =>
    window.torami.trace().some((e) => e.ev === 'load' && e.slot === '1' && e.ok));
  await page.click('#menu');
  await tap(250, row(10));  // 履歴 Backlog
  await traceHas('the backlog shown from the menu', () =>
    window.torami.trace().some((e) => e.ev === 'wait' && e.backlog === 1));
  const bar = await page.$eval('#bar', (e) => e.scrollWidth <= e.clientWidth);
  if (!bar) fail('the toolbar does not fit a phone\'s width');
  console.log(`phone: menu by the toolbar, a slot saved and loaded, the backlog, by taps ` +
    `(${((Date.now() - started) / 1000).toFixed(1)} s)`);
  await context.close();
}

// --- text for screen readers, speech, the gamepad ---------------------------------------

// What the page's readers should hold at each wait of the native run: the page given last
// and, at a menu, its heading and labels. The run writes --text-out's events right after
// the wait they belong to; both go to standard output here, in the order they happen.
function readerStates(input) {
  const run = spawnSync(nativeTorami, ['--headless', '--input', input, '--trace', '-', '--text-out', '-',
    path.join(repo, 'demo')], { encoding: 'utf8', maxBuffer: 1 << 28 });
  const states = [];
  let state = { page: '', heading: '', labels: [] };
  for (const line of run.stdout.split('\n').filter(Boolean)) {
    const e = JSON.parse(line);
    if (e.ev === 'wait' && e.kind !== 'end') {
      state = { ...state };
      states.push(state);
    } else if (e.ev === 'page') {
      Object.assign(state, { page: e.text, heading: '', labels: [] });
    } else if (e.ev === 'menu') {
      Object.assign(state, { heading: e.heading, labels: e.labels });
    }
  }
  return states;
}

function readerState(page) {
  return page.evaluate(() => ({
    page: document.getElementById('reader-page').textContent,
    heading: document.getElementById('reader-heading').textContent,
    labels: [...document.querySelectorAll('#labels button')].map((b) => b.textContent),
    live: document.getElementById('reader').getAttribute('aria-live'),
  }));
}

// A play-through in which, at every wait, the live region holds what --text-out gave for it
// and a menu's buttons carry its labels; one label is picked by its button (focused, then
// Return, as a keyboard or a screen reader does), and the play-through still matches.
async function readers(browser, url) {
  const name = 'lamp';
  const states = readerStates(path.join(repo, 'tests/demo', `${name}.txt`));
  let compared = 0, menus = 0, pressed = null;
  await playthrough(browser, url, name, {
    label: `${name} with the text for screen readers`,
    onWait: async (page, n) => {
      const want = states[n - 1], got = await readerState(page);
      if (!want) return fail(`readers: the native run has no wait ${n}`);
      if (got.live !== 'polite') fail(`readers: the live region is aria-live="${got.live}"`);
      if (got.page !== want.page)
        fail(`readers: at wait ${n} the live region holds ${JSON.stringify(got.page)}, the native run's page is ${JSON.stringify(want.page)}`);
      if (got.heading !== want.heading || JSON.stringify(got.labels) !== JSON.stringify(want.labels))
        fail(`readers: at wait ${n} the menu is ${JSON.stringify([got.heading, got.labels])}, natively ${JSON.stringify([want.heading, want.labels])}`);
      compared += 1;
      if (want.labels.length) menus += 1;
    },
    act: async (page, k, action) => {
      const m = /^pick (\d)$/.exec(action);
      if (!m || pressed !== null || menus < 2) return false;
      const selector = `#labels button[data-number="${Number(m[1]) + 1}"]`;
      if (!await page.$(selector)) return false;
      await page.focus(selector);
      const shown = await page.$eval('#labels', (e) => e.getBoundingClientRect().height > 1);
      if (!shown) fail('readers: a focused label\'s button does not show');
      pressed = await page.$eval(selector, (b) => b.textContent);
      await page.keyboard.press('Enter');
      return true;
    },
  });
  if (pressed === null) fail('readers: no label was picked by its button');
  if (!menus) fail('readers: no menu was compared');
  console.log(`readers: the live region and the labels' buttons matched the native run's text at ${compared} waits ` +
    `(${menus} menus); 「${pressed}」 picked by its button`);
}

// Reading aloud, turned on in the player's menu, says the page (the page's speech
// synthesis is replaced by a recorder).
async function speech(browser, url) {
  const started = Date.now();
  const { context, page } = await newPage(browser);
  await page.evaluateOnNewDocument(() => {
    window.toramiSpoken = [];
    if (window.speechSynthesis) {
      speechSynthesis.speak = (u) => window.toramiSpoken.push({ text: u.text, lang: u.lang });
      speechSynthesis.cancel = () => window.toramiSpoken.push({ cancel: true });
    }
  });
  await page.goto(url + '?test');
  await waitForWaits(page, 1);
  const has = await page.evaluate(() => typeof speechSynthesis !== 'undefined');
  if (!has) throw new Error('this Chromium has no speech synthesis to stand in for');
  const said = (test) => page.evaluate(test);
  await page.click('#menu');
  await step('the menu opened by the toolbar', page.waitForFunction(() =>
    window.torami.trace().some((e) => e.ev === 'player-menu' && e.open), { timeout: stepTimeout, polling: 20 }));
  await clickAt(page, 250, 48 + 22 * 8, 1);  // 読み上げ Read aloud
  // The title's menu is said at once: its heading and each label after its number.
  await step('the menu said when reading aloud is turned on', page.waitForFunction(() => {
    const labels = [...document.querySelectorAll('#labels button')];
    return labels.length && window.toramiSpoken.some((u) => u.text && u.lang === 'ja-JP' &&
      labels.every((b) => u.text.includes(b.dataset.number + ' ' + b.textContent)));
  }, { timeout: stepTimeout, polling: 20 }));
  await page.click('#menu');  // closes it
  await step('the menu closed', page.waitForFunction(() =>
    window.torami.trace().some((e) => e.ev === 'player-menu' && !e.open), { timeout: stepTimeout, polling: 20 }));
  await clickAt(page, menuCell(1).x, menuCell(1).y, 1);  // the first label: the story begins
  await waitForWaits(page, 2);
  await step('the next page said', page.waitForFunction(() => {
    const text = document.getElementById('reader-page').textContent;
    const last = window.toramiSpoken.filter((u) => u.text).at(-1);
    return text && last && last.text === text;
  }, { timeout: stepTimeout, polling: 20 }));
  const count = await said(() => window.toramiSpoken.filter((u) => u.text).length);
  console.log(`speech: reading aloud turned on in the player's menu; the menu and the next page said ` +
    `(${count} utterances, ${((Date.now() - started) / 1000).toFixed(1)} s)`);
  await context.close();
}

// A gamepad (the page's Gamepad API stood in for) plugged in during the game: its A turns
// the page, as the native run's "button A" does.
async function gamepad(browser, url) {
  const started = Date.now();
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'torami-web-pad-'));
  const input = path.join(dir, 'input.txt');
  fs.writeFileSync(input, 'pick 0\nbutton A\n');
  const run = spawnSync(nativeTorami, ['--headless', '--input', input, path.join(repo, 'demo')],
    { encoding: 'utf8', maxBuffer: 1 << 28 });
  const counts = await waitCounts(input, 2);
  fs.rmSync(dir, { recursive: true, force: true });
  const nativeWaits = run.stdout.split('\n').filter(Boolean).map((l) => JSON.parse(l))
    .filter((e) => e.ev === 'wait' && e.kind !== 'end');
  if (!(counts[2] > counts[1] && counts[1] > counts[0]))
    throw new Error(`the native run's waits after 0, 1 and 2 actions: ${counts}`);

  const { context, page } = await newPage(browser);
  await page.evaluateOnNewDocument(() => {
    const pad = { id: 'torami test pad (STANDARD GAMEPAD)', index: 0, connected: true, mapping: 'standard',
                  timestamp: 1, axes: [0, 0, 0, 0],
                  buttons: Array.from({ length: 17 }, () => ({ pressed: false, touched: false, value: 0 })) };
    let plugged = false;
    Object.defineProperty(navigator, 'getGamepads', { configurable: true,
      value: () => [plugged ? pad : null, null, null, null] });
    window.toramiPad = {
      plug() {
        plugged = true;
        const e = new Event('gamepadconnected');
        Object.defineProperty(e, 'gamepad', { value: pad });
        window.dispatchEvent(e);
      },
      set(button, down) {
        pad.buttons[button] = { pressed: down, touched: down, value: down ? 1 : 0 };
        pad.timestamp += 1;
      },
    };
  });
  await page.goto(url + '?test');
  await waitForWaits(page, counts[0]);
  await page.evaluate(() => window.toramiPad.plug());
  const a = aim('pick 0', 0);
  await clickAt(page, a.x, a.y, a.count);
  await waitForWaits(page, counts[1]);
  // A pressed, held until the player has it (its trace says so), and let go.
  const before = await page.evaluate(() => window.torami.trace().filter((e) => e.ev === 'button').length);
  await page.evaluate(() => window.toramiPad.set(0, true));
  await step('the gamepad\'s A reaching the player', page.waitForFunction((n) =>
    window.torami.trace().filter((e) => e.ev === 'button' && e.name === 'A').length > n,
    { timeout: stepTimeout, polling: 20 }, before));
  await page.evaluate(() => window.toramiPad.set(0, false));
  await step('the page turned by the gamepad\'s A', waitForWaits(page, counts[2]));
  const webWaits = (await page.evaluate(() => window.torami.trace())).filter((e) => e.ev === 'wait' && e.kind !== 'end');
  for (let i = 0; i < counts[2]; ++i) {
    if (withoutTime(webWaits[i]) !== withoutTime(nativeWaits[i]))
      fail(`gamepad: wait ${i + 1} differs:\n  page:   ${withoutTime(webWaits[i])}\n  native: ${withoutTime(nativeWaits[i])}`);
  }
  console.log(`gamepad: plugged in during the game, its A turned the page as natively ` +
    `(${((Date.now() - started) / 1000).toFixed(1)} s)`);
  await context.close();
}

// --- offline ----------------------------------------------------------------------------

// The page as an app that plays offline: once its service worker controls it, a
// play-through (fetching its pieces' instruments) and a game of one's own (fetching the
// whole fonts) are kept; then with the server stopped and the browser offline the game of
// one's own plays again from the browser's storage, and the demo's play-through plays and
// matches the native run, with every instrument at hand.
async function offline(browser) {
  const started = Date.now();
  const { server, url } = await startServer();  // a server of its own, stopped midway
  const { context, page } = await newPage(browser);
  const missing = [];
  page.on('console', (m) => { if (/cannot fetch/.test(m.text())) missing.push(m.text()); });
  await page.goto(url + '?test');
  await waitForWaits(page, 1);
  const manifest = await page.evaluate(async () => {
    const link = document.querySelector('link[rel=manifest]');
    return link && (await fetch(link.href)).json();
  });
  if (!manifest || manifest.name !== 'torami' || manifest.display !== 'standalone' ||
      !manifest.icons.some((i) => i.sizes === '512x512'))
    fail(`offline: the page's manifest is ${JSON.stringify(manifest)}`);
  await step('the service worker controlling the page', page.waitForFunction(
    () => navigator.serviceWorker && navigator.serviceWorker.controller, { timeout: stepTimeout, polling: 50 }));
  const name = 'sunrise';
  await playthrough(browser, url, name, { context, page, keep: true, label: `${name} online, kept`,
    open: async () => { await page.reload(); } });
  // A game of one's own, played once online.
  await Promise.all([page.waitForNavigation(), (await page.$('#folder')).uploadFile(path.join(repo, 'tests/web/tiny'))]);
  await waitForMessage(page, 'あ', 'the picked game, online');

  server.kill();
  await page.setOfflineMode(true);
  const gone = await page.evaluate(() => fetch('no-such-file', { cache: 'no-store' }).then(() => false, () => true));
  if (!gone) fail('offline: the server still answers');
  await page.reload();
  await step('the page offline', waitForMessage(page, 'あ', 'the picked game, offline'));
  await clickAt(page, 230, 360, 1);
  await waitForMessage(page, 'い', 'a click in the picked game, offline');
  await playthrough(browser, url, name, { context, page, keep: true, label: `${name} offline`,
    open: async () => { await Promise.all([page.waitForNavigation(), page.click('#demo')]); } });
  if (missing.length) fail(`offline: ${missing.length} files could not be fetched: ${missing[0]}`);
  console.log(`offline: the service worker kept the player, the instruments and the whole fonts; ` +
    `played offline (${((Date.now() - started) / 1000).toFixed(1)} s)`);
  await context.close();
}

// --- a game published as a page -------------------------------------------------------

// scripts/web-game publishes the tiny game; served on its own, its page starts on the
// game's first page (not the demo) and offers no folder picker.
async function published(browser) {
  const started = Date.now();
  const out = fs.mkdtempSync(path.join(os.tmpdir(), 'torami-web-game-'));
  const made = spawnSync(path.join(repo, 'scripts/web-game'), [path.join(repo, 'tests/web/tiny'), buildWeb, out],
    { encoding: 'utf8' });
  if (made.status !== 0) throw new Error(`scripts/web-game failed: ${made.stderr}`);
  const site = path.join(out, 'tiny');
  for (const f of ['index.html', 'torami.wasm', 'torami.data', 'sw.js', 'manifest.webmanifest', 'icon-512.png'])
    if (!fs.existsSync(path.join(site, f))) fail(`web-game: the published folder has no ${f}`);
  if (!fs.existsSync(path.join(out, 'tiny.zip'))) fail('web-game: no zip beside the folder');
  // The files a host sends compressed are there compressed, each the same file.
  for (const f of ['torami.wasm', 'torami.data', 'torami.js', 'index.html']) {
    const whole = fs.readFileSync(path.join(site, f));
    for (const [suffix, unpack] of [['.br', zlib.brotliDecompressSync], ['.gz', zlib.gunzipSync]]) {
      const packed = path.join(site, f + suffix);
      if (!fs.existsSync(packed)) fail(`web-game: the published folder has no ${f}${suffix}`);
      else if (!unpack(fs.readFileSync(packed)).equals(whole)) fail(`web-game: ${f}${suffix} is not ${f}`);
    }
  }
  const { server, url } = await startServer(site);
  try {
    const { context, page } = await newPage(browser);
    await page.goto(url + '?test');
    await waitForMessage(page, 'あ', 'the published game\'s first page');
    const first = await page.evaluate(() => window.torami.trace().find((e) => e.ev === 'wait'));
    if (first.mes[0].map((run) => run[1]).join('').trim() !== 'あ')
      fail(`web-game: the page's first wait is not the game's: ${JSON.stringify(first.mes)}`);
    if (await page.$eval('#open', (e) => !e.hidden)) fail('web-game: the published page offers the folder picker');
    await context.close();
  } finally {
    server.kill();
    fs.rmSync(out, { recursive: true, force: true });
  }
  console.log(`web-game: the tiny game published, served and started on its first page ` +
    `(${((Date.now() - started) / 1000).toFixed(1)} s)`);
}

(async () => {
  const { server, url } = await startServer();
  let browser;
  try {
    await warm(url);
    browser = await puppeteer.launch({
      executablePath: chromium, headless: true,
      args: ['--no-sandbox', '--autoplay-policy=no-user-gesture-required', '--mute-audio'],
    });
    // Each step on its own: one that fails says why and the steps after it still run.
    const steps = [['load', () => measureFirstLoad(browser, url)],
      ['later', () => laterFiles(browser, url)],
      ['own', () => ownGame(browser, url)],
      ['phone', () => phone(browser, url)],
      ['readers', () => readers(browser, url)],
      ['speech', () => speech(browser, url)],
      ['gamepad', () => gamepad(browser, url)],
      ['offline', () => offline(browser)],
      ['published', () => published(browser)],
      ...playthroughs.map((name) => [name, () => playthrough(browser, url, name)])];
    const only = process.env.TORAMI_WEB_ONLY;
    for (const [name, run] of steps) {
      if (only && only !== name && name !== 'load') continue;
      try {
        await run();
      } catch (e) {
        fail(e.stack || String(e));
      }
    }
  } catch (e) {
    fail(e.stack || String(e));
  } finally {
    if (browser) await browser.close();
    server.kill();
  }
  console.log(failures ? `browser test: ${failures} failures` : 'browser test: passed');
  process.exit(failures ? 1 : 0);
})();
