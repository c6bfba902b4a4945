// The effects' player on the audio thread: the page sends the wave mixer's output in blocks
// (interleaved stereo), played in order; each block used up is reported, and the page sends the
// next. Should the page fall behind, silence until a block comes.
class Effects extends AudioWorkletProcessor {
  constructor() {
    super();
    this.blocks = [];
    this.at = 0;  // the next sample of the first block
    this.port.onmessage = (e) => this.blocks.push(e.data);
  }

  process(inputs, outputs) {
    const [left, right] = outputs[0];
    for (let i = 0; i < left.length; i++) {
      const block = this.blocks[0];
      if (!block) {
        left.fill(0, i);
        right.fill(0, i);
        break;
      }
      left[i] = block[this.at];
      right[i] = block[this.at + 1];
      this.at += 2;
      if (this.at >= block.length) {
        this.blocks.shift();
        this.at = 0;
        this.port.postMessage(0);
      }
    }
    return true;
  }
}

registerProcessor('dusk-effects', Effects);
