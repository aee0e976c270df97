// Under node there is no Web Audio: this stands in for the little of it that SDL2's
// Emscripten audio driver uses (an AudioContext with a ScriptProcessorNode), and pulls
// the mixed sound from it on a timer as a page would, so the program's audio callback
// runs whenever the program yields (emscripten_sleep) and its output is simply dropped.
if (typeof AudioContext === 'undefined' && typeof process === 'object') {
  class ScriptProcessorNode {
    constructor(context, size, channels) {
      this.onaudioprocess = null;
      const data = [];
      for (let c = 0; c < channels; ++c) data.push(new Float32Array(size));
      const outputBuffer = {numberOfChannels: channels, getChannelData: (c) => data[c]};
      const ms = (1000 * size) / context.sampleRate;
      this.timer = setInterval(() => {
        if (this.onaudioprocess) this.onaudioprocess({outputBuffer});
      }, ms);
    }
    connect() {}
    disconnect() { clearInterval(this.timer); }
  }
  globalThis.AudioContext = class {
    constructor() {
      this.sampleRate = 44100;
      this.state = 'running';
      this.destination = {};
    }
    createScriptProcessor(size, inputs, outputs) { return new ScriptProcessorNode(this, size, outputs); }
    resume() { return Promise.resolve(); }
    close() { return Promise.resolve(); }
  };
  // The driver also waits for a click or a key on the page before it resumes the sound,
  // and asks the browser whether it could record.
  if (typeof document === 'undefined') {
    globalThis.document = {getElementById: () => null, addEventListener() {}, removeEventListener() {}};
  }
  if (typeof navigator === 'undefined') globalThis.navigator = {};
}
