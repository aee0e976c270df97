// The page around the player: starts it with its arguments and environment, scales the
// canvas to the page.
'use strict';
(function () {
  const params = new URLSearchParams(location.search);
  const canvas = document.getElementById('canvas');
  const status = document.getElementById('status');
  const design = { width: 506, height: 384 };

  function layout() {
    if (canvas.width !== design.width) return;  // the player has not opened its window yet
    const w = window.innerWidth, h = window.innerHeight;
    let s = Math.min(w / design.width, h / design.height);
    if (s >= 1) s = Math.floor(s);
    canvas.style.width = design.width * s + 'px';
    canvas.style.height = design.height * s + 'px';
  }
  window.addEventListener('resize', layout);

  const args = ['--scale', '1'];
  if (params.has('test')) args.push('--trace', '/tmp/trace.jsonl');

  // What the browser test reads: the player's trace (written only with ?test).
  window.torami = {
    firstWait: null,
    trace() {
      let text;
      try {
        text = Module.FS.readFile('/tmp/trace.jsonl', { encoding: 'utf8' });
      } catch (e) {
        return [];
      }
      const events = text.split('\n').filter(Boolean).map((l) => JSON.parse(l));
      if (this.firstWait === null && events.some((e) => e.ev === 'wait')) this.firstWait = performance.now();
      return events;
    },
  };

  window.Module = {
    canvas: canvas,
    arguments: args,
    preRun: [function () {
      ENV.XDG_DATA_HOME = '/data';
      args.push('/demo');
    }],
    print: (text) => console.log(text),
    printErr: (text) => console.warn(text),
    setStatus: (text) => { if (text) status.textContent = text; },
    onRuntimeInitialized: () => { status.textContent = ''; },
  };
  // The window opens with the first frame; scale it as soon as it has its size.
  (function waitForWindow() {
    if (canvas.width === design.width) { layout(); window.toramiShown = performance.now(); return; }
    requestAnimationFrame(waitForWindow);
  })();
})();
