// The page around the player: starts it with its arguments, keeps the player's data
// folder in the browser's storage (IndexedDB), loads a game folder the player picks or
// drops, scales the canvas to the page, full screen, and the player's message boxes.
'use strict';
(function () {
  const params = new URLSearchParams(location.search);
  const $ = (id) => document.getElementById(id);
  const canvas = $('canvas');
  const status = $('status');
  const design = { width: 506, height: 384 };
  const dataFolder = '/data';              // kept in IndexedDB
  const gameFolder = '/data/game';         // the game the player picked, kept too
  const patchConfig = '/freepats/timidity.cfg';
  // A game published as a page (scripts/web-game) comes in its place of the demo; its page
  // carries no whole fonts for games of one's own.
  const published = document.documentElement.hasAttribute('data-game');
  const bundledGame = published ? '/game' : '/demo';
  if (published) $('open').hidden = true;

  // --- the canvas on the page -------------------------------------------------------
  // A whole-number scale when one fits (crisp pixels), else the largest that fits.
  function layout() {
    if (canvas.width !== design.width) return;  // the player has not opened its window yet
    const stage = $('stage').getBoundingClientRect();
    let s = Math.min(stage.width / design.width, stage.height / design.height);
    if (s >= 1) s = Math.floor(s);
    canvas.style.width = design.width * s + 'px';
    canvas.style.height = design.height * s + 'px';
  }
  window.addEventListener('resize', layout);
  // A long press opens no context menu (it is the right button), anywhere on the page.
  document.addEventListener('contextmenu', (e) => e.preventDefault());

  function fullscreenElement() { return document.fullscreenElement || document.webkitFullscreenElement; }
  $('fullscreen').addEventListener('click', () => {
    const root = document.documentElement;
    const request = root.requestFullscreen || root.webkitRequestFullscreen;
    if (request) request.call(root).catch(() => {});
    canvas.focus();
  });
  for (const name of ['fullscreenchange', 'webkitfullscreenchange'])
    document.addEventListener(name, () => {
      document.body.classList.toggle('fullscreen', !!fullscreenElement());
      layout();
    });

  // The player's menu: the button gives the player F1, as the keyboard would.
  function sendKey(type, key, keyCode, code) {
    const e = new KeyboardEvent(type, { key, code: code || key, keyCode, which: keyCode, bubbles: true,
                                        cancelable: true });
    for (const name of ['keyCode', 'which']) Object.defineProperty(e, name, { get: () => keyCode });
    window.dispatchEvent(e);
  }
  $('menu').addEventListener('click', () => {
    canvas.focus();
    sendKey('keydown', 'F1', 112);
    sendKey('keyup', 'F1', 112);
  });

  // --- text for screen readers ----------------------------------------------------------
  // The player gives each complete page and each menu: the page and the menu's heading go
  // to the live region, the labels become buttons that pick them by their keys (1 to 8),
  // as the keyboard would. The next page takes the buttons away.
  const readerPage = $('reader-page'), readerHeading = $('reader-heading'), labels = $('labels');
  let labelsHadFocus = false;
  function clearLabels() {
    if (labels.contains(document.activeElement)) {
      labelsHadFocus = true;
      canvas.focus();
    }
    labels.textContent = '';
  }
  // Keys pressed on a label's button are the button's (Return and Space press it, Tab
  // moves on), not the game's.
  for (const type of ['keydown', 'keyup', 'keypress'])
    labels.addEventListener(type, (e) => e.stopPropagation());
  window.toramiReaders = {
    page(text) {
      gameWaits();
      clearLabels();
      labelsHadFocus = false;
      readerHeading.textContent = '';
      readerPage.textContent = text;
    },
    menu(heading) {
      gameWaits();
      clearLabels();
      readerHeading.textContent = heading;
    },
    label(number, caption) {
      const b = document.createElement('button');
      b.type = 'button';
      b.textContent = caption;
      b.dataset.number = String(number);
      b.setAttribute('aria-keyshortcuts', String(number));
      b.addEventListener('click', () => {
        sendKey('keydown', String(number), 48 + number, 'Digit' + number);
        sendKey('keyup', String(number), 48 + number, 'Digit' + number);
      });
      labels.appendChild(b);
      // A pick made on a button that leads to another menu leaves the focus on its first.
      if (labelsHadFocus) {
        labelsHadFocus = false;
        b.focus();
      }
    },
  };

  // --- the player's data folder in the browser's storage --------------------------------
  let syncing = false, again = false, timer = null, syncs = 0;
  function sync() {
    if (syncing) { again = true; return; }
    syncing = true;
    FS.syncfs(false, (err) => {
      syncing = false;
      if (err) console.warn('torami: cannot keep the saved games in the browser (' + err + ')');
      syncs += 1;
      if (again) { again = false; sync(); }
    });
  }
  function syncSoon() { clearTimeout(timer); timer = setTimeout(sync, 30); }
  // Keeps what is written now, then goes on (after a sync already under way).
  function syncThen(next) {
    if (syncing) { setTimeout(() => syncThen(next), 20); return; }
    syncing = true;
    FS.syncfs(false, () => { syncing = false; next(); });
  }
  // Saves are written whole and renamed, or appended to a journal: every write is kept
  // within moments.
  function watchWrites() {
    const inData = (p) => typeof p === 'string' && p.startsWith(dataFolder + '/');
    const write = FS.write, rename = FS.rename, unlink = FS.unlink;
    FS.write = function (stream) {
      const r = write.apply(this, arguments);
      if (stream && inData(stream.path)) syncSoon();
      return r;
    };
    FS.rename = function (from, to) { const r = rename.apply(this, arguments); if (inData(to)) syncSoon(); return r; };
    FS.unlink = function (p) { const r = unlink.apply(this, arguments); if (inData(p)) syncSoon(); return r; };
    addEventListener('pagehide', sync);
    document.addEventListener('visibilitychange', () => { if (document.hidden) sync(); });
  }

  function exists(p) { return FS.analyzePath(p).exists; }
  function removeTree(p) {
    if (!exists(p)) return;
    if (FS.isDir(FS.stat(p).mode)) {
      for (const name of FS.readdir(p)) if (name !== '.' && name !== '..') removeTree(p + '/' + name);
      FS.rmdir(p);
    } else {
      FS.unlink(p);
    }
  }

  // The packed files (torami-data.js) are written when torami.data has come, which may be
  // after the whole fonts came (from the browser's cache): each whole face replaces the
  // cut one once that is there, as writing first would make the packed one fail.
  function packed(file) {
    return new Promise((resolve) => (function look() {
      if (exists(file)) resolve();
      else setTimeout(look, 20);
    })());
  }
  // A file beside the page, whole; a failed answer is an error, as a failed connection is.
  async function fetchBytes(url, options) {
    const response = await fetch(url, options);
    if (!response.ok) throw new Error('HTTP ' + response.status);
    return new Uint8Array(await response.arrayBuffer());
  }
  function wholeFonts() {
    status.textContent = 'フォントを読み込み中… Loading the fonts…';
    return Promise.all(['ipag.ttf', 'ipam.ttf'].map(async (name) => {
      try {
        const bytes = await fetchBytes('fonts/' + name);
        await packed('/fonts/' + name);
        FS.writeFile('/fonts/' + name, bytes);
      } catch (e) {
        console.warn('torami: cannot fetch the font ' + name + ' (' + e + '); some characters may not show');
      }
    }));
  }

  // --- the game's files that come after its title ----------------------------------------
  // The package (torami-data.js) carries what the game needs up to its title; its other
  // pictures and sounds are served beside the page and listed in Module.laterFiles, in the
  // order the script first names them. Each has an empty stand-in in the file system, so
  // that looking its name up finds it; once the game first waits they are fetched in that
  // order, two at a time and behind anything else the page fetches (a piece's instruments),
  // and the player waits for one it reads sooner, which is fetched at once. A file that
  // cannot be fetched goes: the game goes on without it, as without any missing file.
  const later = new Map();  // its path in the file system -> { url, arrival }
  let laterStarted = false, playingPacked = false;
  function standIns() {
    const list = Module.laterFiles;
    if (!list) return;
    for (const [name] of list.files) {
      const file = list.folder + '/' + name;
      FS.mkdirTree(file.substring(0, file.lastIndexOf('/')));
      FS.writeFile(file, new Uint8Array(0));
      later.set(file, { url: list.url + name.split('/').map(encodeURIComponent).join('/'), arrival: null });
    }
  }
  function arrival(file, priority = 'high') {
    const f = later.get(file);
    if (!f) return Promise.resolve();
    if (!f.arrival) {
      f.arrival = (async () => {
        try {
          FS.writeFile(file, await fetchBytes(f.url, { priority }));
        } catch (e) {
          console.warn('torami: cannot fetch ' + f.url + ' (' + e + '); the game goes on without it');
          try { FS.unlink(file); } catch (gone) { /* already gone */ }
        }
        later.delete(file);
      })();
    }
    return f.arrival;
  }
  // Resolves once every file has come or failed; at once when none is to come.
  let laterDone;
  const laterFetched = new Promise((resolve) => { laterDone = resolve; });
  function fetchLater() {
    if (laterStarted) return;
    laterStarted = true;
    window.torami.laterFrom = performance.now();
    const queue = [...later.keys()];
    const fetcher = async () => { while (queue.length) await arrival(queue.shift(), 'low'); };
    Promise.all([fetcher(), fetcher()]).then(laterDone);
  }

  // The player waits for a file that has not come yet: when that takes more than a moment
  // (a slow connection), the page says what it waits for until the file is there.
  const waiting = '読み込み中… Loading…';
  function awaited(file) {
    const say = setTimeout(() => { status.textContent = waiting; }, 300);
    return arrival(file).finally(() => {
      clearTimeout(say);
      if (status.textContent === waiting) status.textContent = '';
    });
  }

  // The game has reached its first wait (its title is up): what comes later is fetched now.
  function gameWaits() {
    if (playingPacked) fetchLater();
  }

  // --- a game folder of the player's own ------------------------------------------------
  // files: [{ path: 'Folder/sub/NAME', file: File }]. The folder's files replace the kept
  // game and the page starts again with it.
  async function loadGame(files) {
    // Paths start with the folder's own name; files given one by one have none.
    const parts = (f) => f.path.split('/').filter(Boolean);
    const inFolder = files.some((f) => parts(f).length > 1);
    const inner = files.map((f) => ({ rel: parts(f).slice(inFolder ? 1 : 0).join('/'), file: f.file }))
      .filter((f) => f.rel);
    if (!inner.some((f) => f.rel.toLowerCase() === 'torami.acs')) {
      status.textContent = 'そのフォルダには TORAMI.acs がありません / That folder has no TORAMI.acs';
      return;
    }
    status.textContent = '読み込み中… Loading the game…';
    removeTree(gameFolder);
    FS.mkdirTree(gameFolder);
    for (const f of inner) {
      const target = gameFolder + '/' + f.rel;
      FS.mkdirTree(target.substring(0, target.lastIndexOf('/')));
      FS.writeFile(target, new Uint8Array(await f.file.arrayBuffer()));
    }
    syncThen(() => location.reload());
  }
  $('folder').addEventListener('change', (e) => {
    const files = [...e.target.files].map((file) => ({ path: file.webkitRelativePath || file.name, file }));
    if (files.length) loadGame(files);
  });
  $('demo').addEventListener('click', () => {
    removeTree(gameFolder);
    syncThen(() => location.reload());
  });

  function entryFiles(entry, prefix) {
    if (entry.isFile)
      return new Promise((resolve) => entry.file((file) => resolve([{ path: prefix + entry.name, file }]), () => resolve([])));
    const reader = entry.createReader();
    const all = [];
    return new Promise((resolve) => {
      const more = () => reader.readEntries(async (batch) => {
        if (!batch.length) {
          resolve((await Promise.all(all.map((e) => entryFiles(e, prefix + entry.name + '/')))).flat());
          return;
        }
        all.push(...batch);
        more();
      }, () => resolve([]));
      more();
    });
  }
  addEventListener('dragover', (e) => { e.preventDefault(); $('drop').hidden = published; });
  addEventListener('dragleave', (e) => { if (!e.relatedTarget) $('drop').hidden = true; });
  addEventListener('drop', async (e) => {
    e.preventDefault();
    $('drop').hidden = true;
    const entry = e.dataTransfer.items[0] && e.dataTransfer.items[0].webkitGetAsEntry();
    if (entry && entry.isDirectory && !published) loadGame(await entryFiles(entry, ''));
  });

  // --- the player's message boxes (the error box, whether to continue) -------------------
  // Resolves to the index of the chosen button, or -1 when the box is closed.
  window.toramiAsk = function (title, text, buttons) {
    const dialog = $('ask');
    $('ask-title').textContent = title;
    $('ask-text').textContent = text;
    const menu = $('ask-buttons');
    menu.textContent = '';
    buttons.forEach((caption, i) => {
      const b = document.createElement('button');
      b.value = String(i);
      b.textContent = caption;
      menu.appendChild(b);
    });
    dialog.returnValue = '';
    return new Promise((resolve) => {
      dialog.addEventListener('close', () => {
        resolve(dialog.returnValue === '' ? -1 : Number(dialog.returnValue));
        canvas.focus();
      }, { once: true });
      dialog.showModal();
      if (menu.firstChild) menu.firstChild.focus();
    });
  };

  // --- what the browser test reads ------------------------------------------------------
  window.torami = {
    firstWait: null,
    laterFrom: null,  // when the game's later files began to be fetched
    syncs: () => syncs,
    // The player's trace (written only with ?test).
    trace() {
      let text;
      try {
        text = FS.readFile('/tmp/trace.jsonl', { encoding: 'utf8' });
      } catch (e) {
        return [];
      }
      const events = text.split('\n').filter(Boolean).map((l) => JSON.parse(l));
      if (this.firstWait === null && events.some((e) => e.ev === 'wait')) this.firstWait = performance.now();
      return events;
    },
  };

  // --- the player ------------------------------------------------------------------------
  const args = ['--scale', '1'];
  if (params.has('test')) args.push('--trace', '/tmp/trace.jsonl');

  window.Module = {
    canvas: canvas,
    arguments: args,  // the game folder is added once the storage is read
    preRun: [function () {
      standIns();
      ENV.XDG_DATA_HOME = dataFolder;
      ENV.TIMIDITY_CFG = ENV.TORAMI_SOUNDFONT = patchConfig;  // in the page's data
      FS.mkdir(dataFolder);
      FS.mount(IDBFS, {}, dataFolder);
      addRunDependency('torami-storage');
      FS.syncfs(true, (err) => {
        if (err) console.warn('torami: the browser keeps no saved games here (' + err + ')');
        const own = exists(gameFolder);
        $('demo').hidden = !own;
        args.push(own ? gameFolder : bundledGame);
        playingPacked = !own && later.size > 0;
        if (!playingPacked) laterDone();
        watchWrites();
        // The page carries the fonts cut down to the demo's characters; a game of the
        // player's own gets the whole faces.
        if (own) wholeFonts().finally(() => removeRunDependency('torami-storage'));
        else removeRunDependency('torami-storage');
      });
    }],
    // What the player asks before it reads a file (platform/web/later_files.cpp).
    toramiFileOnItsWay: (file) => later.has(file),
    toramiFileArrival: (file) => awaited(file),
    print: (text) => console.log(text),
    printErr: (text) => console.warn(text),
    setStatus: (text) => { status.textContent = text.replace(/\(\d+\/\d+\)/, ''); },
    onRuntimeInitialized: () => { status.textContent = ''; },
    onExit: () => {
      sync();
      status.textContent = 'おしまい — 再読み込みでもう一度 / The end: reload to play again';
    },
  };
  // --- playing offline -------------------------------------------------------------------
  // The service worker keeps the player, and what it fetches, for playing offline. Browsers
  // allow one on https and on this machine's own addresses; it is registered once the player
  // shows and the game's later files have come, so that it fetches what the page has already
  // fetched (from the browser's cache).
  function keepForOffline() {
    const local = ['127.0.0.1', 'localhost', '[::1]'].includes(location.hostname);
    if (!('serviceWorker' in navigator) || !(location.protocol === 'https:' || (location.protocol === 'http:' && local)))
      return;
    navigator.serviceWorker.register('sw.js').catch((e) =>
      console.warn('torami: the page will not play offline (' + e + ')'));
    // What was fetched before the worker took the page over is given to it to keep.
    navigator.serviceWorker.ready.then((registration) => {
      const fetched = performance.getEntriesByType('resource').map((r) => r.name)
        .filter((u) => /\/(freepats|fonts)\//.test(new URL(u).pathname));
      if (fetched.length && registration.active) registration.active.postMessage({ keep: fetched });
    });
  }

  // The window opens with the first frame; scale it as soon as it has its size.
  (function waitForWindow() {
    if (canvas.width === design.width) {
      layout();
      window.toramiShown = performance.now();
      canvas.focus();
      laterFetched.then(keepForOffline);
      // A game whose first wait shows no text gets its later files a while after it shows.
      setTimeout(gameWaits, 5000);
      return;
    }
    requestAnimationFrame(waitForWindow);
  })();
})();
