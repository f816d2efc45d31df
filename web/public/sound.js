// The game's sound in the page: an AudioContext at the module's own mixing
// rate with an AudioWorklet that pulls mixed samples from the module.
// Browsers let sound start only after a user gesture, so start() is called
// on the first key press. Without AudioWorklet the game plays silently.

export function audioWorkletAvailable() {
  return typeof AudioContext !== 'undefined' && typeof AudioWorkletNode !== 'undefined';
}

export class Sound {
  // mix(frames) returns that many samples, 8-bit unsigned, from the module.
  constructor(rate, mix) {
    this.rate = rate;
    this.mix = mix;
    this.context = null;
    this.stats = { played: 0, peak: 0 };
  }

  async start() {
    if (this.context || !audioWorkletAvailable()) return;
    try {
      this.context = new AudioContext({ sampleRate: this.rate });
    } catch {
      this.context = new AudioContext(); // the worklet holds each sample as long as it lasts
    }
    await this.context.audioWorklet.addModule('sound-worklet.js');
    this.node = new AudioWorkletNode(this.context, 'game-sound', {
      outputChannelCount: [1],
      processorOptions: { sourceRate: this.rate },
    });
    this.node.port.onmessage = (event) => this.answer(event.data);
    this.node.connect(this.context.destination);
    await this.context.resume();
  }

  answer(message) {
    if (message.need) {
      const bytes = this.mix(message.need);
      const samples = new Float32Array(bytes.length);
      for (let i = 0; i < bytes.length; ++i) samples[i] = (bytes[i] - 128) / 128;
      this.node.port.postMessage(samples, [samples.buffer]);
    } else if (message.played !== undefined) {
      this.stats = message;
    }
  }

  suspend() {
    this.context?.suspend();
  }

  resume() {
    this.context?.resume();
  }
}
