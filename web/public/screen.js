// The canvas: the game's 176 x 220 frame, scaled by the largest whole number
// that fits the window (at least 1), with crisp pixels.

export const WIDTH = 176;
export const HEIGHT = 220;

export function wholeScale(windowWidth, windowHeight) {
  return Math.max(1, Math.min(Math.floor(windowWidth / WIDTH), Math.floor(windowHeight / HEIGHT)));
}

export class Screen {
  constructor(canvas) {
    this.canvas = canvas;
    this.context = canvas.getContext('2d', { alpha: false });
    this.image = this.context.createImageData(WIDTH, HEIGHT);
    this.fit = this.fit.bind(this);
    window.addEventListener('resize', this.fit);
    this.fit();
  }

  // Sizes the canvas on the page; its own pixels stay 176 x 220.
  fit() {
    const scale = wholeScale(window.innerWidth, window.innerHeight);
    this.canvas.style.width = `${WIDTH * scale}px`;
    this.canvas.style.height = `${HEIGHT * scale}px`;
    this.scale = scale;
  }

  // Shows one frame: 176 x 220 RGBA bytes, top row first, and over it the
  // opaque pixels of `overlay` (the same size) when there is one. The frame
  // itself is left as it is.
  show(rgba, overlay = null) {
    const pixels = this.image.data;
    pixels.set(rgba);
    if (overlay) {
      for (let i = 0; i < overlay.length; i += 4) {
        if (overlay[i + 3] === 0) continue;
        pixels[i] = overlay[i];
        pixels[i + 1] = overlay[i + 1];
        pixels[i + 2] = overlay[i + 2];
      }
    }
    this.context.putImageData(this.image, 0, 0);
  }
}
