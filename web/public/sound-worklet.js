// The audio thread's side of the game's sound: plays the mixed samples the
// page sends, and asks for more when fewer than LOW_WATER frames are left.
// Between requests it plays silence rather than wait. When the context does
// not run at the module's rate, each sample is held for as long as it lasts
// at that rate (the nearest earlier sample).

const CAPACITY = 16384; // frames, about 1.5 s at 11025 Hz
const LOW_WATER = 2048;
const REPORT_EVERY = 2048; // frames between reports of what has played

class GameSound extends AudioWorkletProcessor {
  constructor(options) {
    super();
    this.step = options.processorOptions.sourceRate / sampleRate; // samples per output frame
    this.phase = 0;
    this.ring = new Float32Array(CAPACITY);
    this.read = 0;
    this.count = 0;
    this.asked = false;
    this.played = 0;
    this.peak = 0;
    this.sinceReport = 0;
    this.port.onmessage = (event) => this.receive(event.data);
  }

  receive(samples) {
    this.asked = false;
    const room = CAPACITY - this.count;
    const n = Math.min(room, samples.length);
    for (let i = 0; i < n; ++i) this.ring[(this.read + this.count + i) % CAPACITY] = samples[i];
    this.count += n;
  }

  process(_inputs, outputs) {
    const out = outputs[0][0];
    for (let i = 0; i < out.length; ++i) {
      let s = 0;
      if (this.count > 0) {
        s = this.ring[this.read];
        this.phase += this.step;
        while (this.phase >= 1 && this.count > 0) {
          this.phase -= 1;
          this.read = (this.read + 1) % CAPACITY;
          --this.count;
        }
      }
      for (let c = 0; c < outputs[0].length; ++c) outputs[0][c][i] = s;
      this.peak = Math.max(this.peak, Math.abs(s));
    }
    this.played += out.length;
    this.sinceReport += out.length;
    if (!this.asked && this.count < LOW_WATER) {
      this.asked = true;
      this.port.postMessage({ need: CAPACITY - this.count });
    }
    if (this.sinceReport >= REPORT_EVERY) {
      this.sinceReport = 0;
      this.port.postMessage({ played: this.played, peak: this.peak });
    }
    return true;
  }
}

registerProcessor('game-sound', GameSound);
