// The page around the saver: loads the data folder into the program's file system, keeps the
// settings in the browser, runs the frame timers, draws frames and labels on the canvas, plays
// effects and songs through Web Audio after the first click or key, and full screen.
var Module = window.Module || {};

// Inside a function of its own: the Emscripten script's globals (run, FS...) must not meet ours.
(() => {
  'use strict';

  const SETTINGS_KEY = 'duskhollow.tarnix.ini';
  const DATA_DIR = '/data/Duskhollow';
  const SETTINGS_PATH = '/settings/tarnix.ini';
  const params = new URLSearchParams(location.search);
  const repeatable = params.has('seed');
  const canvas = document.getElementById('screen');
  const ctx = canvas.getContext('2d');
  const statusText = document.getElementById('status');
  const dusk = window.dusk = { frames: 0, labels: [], ended: null, firstFrameMs: null, sound: false, effectsPeak: 0, songsFetched: [], songsPlayed: [] };

  // The data folder: one gzip file of name/size/bytes records, fetched while the program loads.
  const dataPack = fetch('data.bin').then(async (response) => {
    if (!response.ok) throw new Error('data.bin: ' + response.status);
    const stream = response.body.pipeThrough(new DecompressionStream('gzip'));
    return new Uint8Array(await new Response(stream).arrayBuffer());
  });

  function unpack(bytes) {
    const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
    const files = [];
    for (let at = 0; at < bytes.length;) {
      const nameLength = view.getUint32(at, true);
      const name = new TextDecoder().decode(bytes.subarray(at + 4, at + 4 + nameLength));
      at += 4 + nameLength;
      const size = view.getUint32(at, true);
      files.push([name, bytes.subarray(at + 4, at + 4 + size)]);
      at += 4 + size;
    }
    return files;
  }

  // --- frames ---

  function hex(color) { return '#' + color.toString(16).padStart(6, '0'); }

  function drawLabel(label) {
    const [l, t, r, b] = label.box;
    if (r <= l || b <= t) return;
    ctx.save();
    ctx.beginPath();
    ctx.rect(l, t, r - l, b - t);
    ctx.clip();
    ctx.fillStyle = hex(label.back);
    ctx.fillRect(l, t, r - l, b - t);
    ctx.font = `bold ${label.font}px Arial, "Liberation Sans", sans-serif`;
    ctx.textBaseline = 'top';
    ctx.fillStyle = hex(label.color);
    let text = label.text;
    if (ctx.measureText(text).width > r - l) {
      let keep = text.length;
      while (keep > 0 && ctx.measureText(text.slice(0, keep) + '...').width > r - l) keep--;
      text = text.slice(0, keep) + '...';
    }
    const width = ctx.measureText(text).width;
    ctx.fillText(text, label.left ? l : l + (r - l - width) / 2, t);
    ctx.restore();
  }

  function meets(a, box) {
    return a[0] < box[2] && box[0] < a[0] + a[2] && a[1] < box[3] && box[1] < a[1] + a[3];
  }

  Module.duskPresent = (pixels, width, height, rects, count, labelsJson) => {
    if (canvas.width !== width || canvas.height !== height) {
      canvas.width = width;
      canvas.height = height;
    }
    const image = new ImageData(new Uint8ClampedArray(Module.HEAPU8.buffer, pixels, width * height * 4), width, height);
    const sent = [];
    for (let i = 0; i < count; i++) {
      const r = Module.HEAP32.subarray((rects >> 2) + i * 4, (rects >> 2) + i * 4 + 4);
      ctx.putImageData(image, 0, 0, r[0], r[1], r[2], r[3]);
      sent.push([r[0], r[1], r[2], r[3]]);
    }
    dusk.labels = JSON.parse(labelsJson);
    for (const label of dusk.labels)
      if (sent.some((r) => meets(r, label.box))) drawLabel(label);
    dusk.frames++;
    if (dusk.firstFrameMs === null) {
      dusk.firstFrameMs = performance.now();
      statusText.textContent = 'Sound starts with your first click or key (browsers ask for one).';
    }
  };

  Module.duskEnded = (code, message) => {
    dusk.ended = { code, message };
    if (message) statusText.textContent = message;
  };

  // --- sound: nothing plays before the first click or key ---

  let audio = null;  // the AudioContext, once allowed
  let effects = null;  // its node that plays the effects (held here: an unheld one may be collected)
  const songs = new Map();  // file -> its audio element, fetched when it is about to play
  let song = null;  // { file, fromMs, since, gain }

  function songUrl(file) { return 'songs/' + file.replace(/\.[^.]*$/, '') + '.ogg'; }

  function startSong() {
    if (!audio || !song) return;
    let element = songs.get(song.file);
    if (!element) {
      element = new Audio(songUrl(song.file));
      dusk.songsFetched.push(song.file);
      const file = song.file;
      element.addEventListener('playing', () => dusk.songsPlayed.push(file));
      element.level = audio.createGain();
      audio.createMediaElementSource(element).connect(element.level).connect(audio.destination);
      songs.set(song.file, element);
    }
    element.level.gain.value = song.gain;
    element.currentTime = (song.fromMs + (performance.now() - song.since)) / 1000;
    element.play().catch(() => {});
  }

  Module.duskSongPlay = (file, fromMs, gain) => {
    song = { file, fromMs, since: performance.now(), gain };
    startSong();
  };
  Module.duskSongStop = (file) => {
    const element = songs.get(file);
    if (element) element.pause();
    if (song && song.file === file) song = null;
  };

  // The effects: the wave mixer renders on this thread, in blocks of BLOCK frames; an AudioWorklet
  // (effects.js) plays them from its queue, kept LEAD frames ahead, and says when it has used a
  // block up. Where a page has no audioWorklet (one not served from https or localhost), a
  // ScriptProcessorNode pulls the mixer instead.
  const BLOCK = 512, LEAD = 6 * BLOCK;  // 23 ms a block, 139 ms ahead at 22050 Hz
  let mixed = 0;  // the mixer's buffer of BLOCK stereo 16-bit frames in the program's memory

  function mix() {
    if (!mixed) mixed = Module._malloc(BLOCK * 4);
    Module._web_audio_render(mixed, BLOCK);
    const samples = Module.HEAP16.subarray(mixed >> 1, (mixed >> 1) + BLOCK * 2);
    let peak = dusk.effectsPeak;
    for (const v of samples) peak = Math.max(peak, Math.abs(v));
    dusk.effectsPeak = peak;  // the loudest effect sample yet (the tests listen with it)
    return samples;
  }

  function toFloat(samples) {
    const out = new Float32Array(samples.length);
    for (let i = 0; i < samples.length; i++) out[i] = samples[i] / 32768;
    return out;
  }

  async function playEffects() {
    try {
      await audio.audioWorklet.addModule('effects.js');
      const node = effects = new AudioWorkletNode(audio, 'dusk-effects', { numberOfInputs: 0, outputChannelCount: [2] });
      const send = () => {
        const block = toFloat(mix());
        node.port.postMessage(block, [block.buffer]);
      };
      node.port.onmessage = () => send();  // a block used up: the next one
      for (let queued = 0; queued < LEAD; queued += BLOCK) send();
      node.connect(audio.destination);
      dusk.effectsNode = 'worklet';
    } catch (error) {
      console.warn('The effects play through a ScriptProcessorNode: ' + error.message);
      const node = effects = audio.createScriptProcessor(BLOCK * 2, 0, 2);
      node.onaudioprocess = (e) => {
        const left = e.outputBuffer.getChannelData(0), right = e.outputBuffer.getChannelData(1);
        for (let at = 0; at < left.length; at += BLOCK) {
          const samples = mix();
          for (let i = 0; i < BLOCK; i++) {
            left[at + i] = samples[2 * i] / 32768;
            right[at + i] = samples[2 * i + 1] / 32768;
          }
        }
      };
      node.connect(audio.destination);
      dusk.effectsNode = 'script';
    }
  }

  function allowSound() {
    if (audio || repeatable) return;
    audio = new AudioContext({ sampleRate: Module._web_audio_rate() });
    dusk.sound = true;
    playEffects();
    audio.resume();
    startSong();
  }

  // --- the run ---

  let started = 0, timer = null, runScreen = null;  // the run's [width, height, dpi]

  function pump() {
    timer = null;
    const next = Module._web_pump(performance.now() - started);
    if (next >= 0) timer = setTimeout(pump, next);
  }

  function run() {
    if (timer !== null) clearTimeout(timer);
    timer = null;
    Module._web_stop();
    for (const element of songs.values()) element.pause();
    song = null;
    dusk.ended = null;
    const [width, height, dpi] = runScreen = screenSize();
    const seed = repeatable ? Number(params.get('seed')) : -1;
    const ticks = repeatable ? Number(params.get('ticks') || 0) : 0;
    started = performance.now();
    if (Module._web_start(width, height, dpi, seed, ticks) !== 0) {
      const message = Module.UTF8ToString(Module._web_message());
      statusText.textContent = 'The saver did not start' + (message ? ': ' + message : '.');
      console.error(statusText.textContent);
    }
    if (!repeatable) pump();
  }

  // The canvas holds a pixel for each of the screen's (its size in CSS pixels times the device
  // pixel ratio), so that a high-density screen shows the picture sharp; the screen's dots per
  // inch (96 a CSS inch) keep the labels' apparent size.
  function screenSize() {
    const ratio = devicePixelRatio || 1, box = canvas.getBoundingClientRect();
    return [Math.max(1, Math.round((box.width || innerWidth) * ratio)),
      Math.max(1, Math.round((box.height || innerHeight) * ratio)), Math.round(96 * ratio)];
  }

  // A new size is a resize; a new pixel ratio (another screen, a zoom) starts the run anew, as
  // the labels' sizes are set when the saver starts.
  function resized() {
    if (repeatable || !runScreen) return;
    const [width, height, dpi] = screenSize();
    if (dpi !== runScreen[2]) run();
    else if (width !== runScreen[0] || height !== runScreen[1]) {
      runScreen = [width, height, dpi];
      Module._web_resize(width, height);
    }
  }
  addEventListener('resize', resized);
  (function watchRatio() {
    matchMedia(`(resolution: ${devicePixelRatio || 1}dppx)`).addEventListener('change', () => {
      watchRatio();
      resized();
    }, { once: true });
  })();

  // --- full screen: a key or a click leaves it, as either ends the saver elsewhere ---

  document.getElementById('fullscreen').addEventListener('click', () => {
    allowSound();
    document.documentElement.requestFullscreen().catch(() => {});
  });
  function input() {
    allowSound();
    if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
  }
  addEventListener('keydown', input);
  canvas.addEventListener('click', input);
  addEventListener('click', allowSound);

  // The bar and the pointer step aside after a few quiet seconds (the first time after long
  // enough to read the bar), unless the settings are open.
  let resting = null;
  function restAfter(ms) {
    document.body.classList.remove('resting');
    clearTimeout(resting);
    resting = setTimeout(() => {
      if (document.getElementById('panel').hidden) document.body.classList.add('resting');
    }, ms);
  }
  for (const e of ['pointermove', 'pointerdown', 'keydown']) addEventListener(e, () => restAfter(3000));
  restAfter(8000);

  // --- settings: kept in the browser, applied live, downloaded and loaded as tarnix.ini ---

  function readSettings() { return localStorage.getItem(SETTINGS_KEY) || ''; }

  function writeSettings(text) {
    if (text) localStorage.setItem(SETTINGS_KEY, text);
    if (text) Module.FS.writeFile(SETTINGS_PATH, text);
  }

  function lines(text) {
    return text.split('\n').filter((l) => l).map((l) => l.split('\t'));
  }

  function caption(text) { return text.replace(/&(.)/g, '$1'); }

  function buildPanel() {
    const fields = document.getElementById('fields');
    fields.textContent = '';
    const values = new Map(lines(Module.ccall('web_settings_values', 'string', ['string'], [readSettings()])));
    const groups = new Map();
    for (const [key, type, text, , low, high, longest, row] of lines(Module.ccall('web_settings_table', 'string', [], []))) {
      let group = groups.get(row);
      if (!group) {
        group = document.createElement('fieldset');
        const legend = document.createElement('legend');
        // A page has one screen: the monitors' setting is kept for the file, and shows nothing here.
        legend.textContent = row.charAt(0).toUpperCase() + row.slice(1) + (row === 'monitors' ? ' (one here)' : '');
        group.append(legend);
        groups.set(row, group);
        fields.append(group);
      }
      const label = document.createElement('label');
      const field = document.createElement('input');
      field.name = key;
      field.dataset.type = type;
      if (type === 'switch') {
        field.type = 'checkbox';
        field.checked = values.get(key) === '1';
        label.append(field, ' ' + caption(text));
      } else if (type === 'number') {
        field.type = 'number';
        if (Number(high) > Number(low)) {
          field.min = low;
          field.max = high;
        }
        field.value = values.get(key);
        label.append(caption(text) + ' ', field);
      } else {
        field.type = 'text';
        if (Number(longest) > 0) field.maxLength = Number(longest);
        field.value = values.get(key) || '';
        label.append(caption(text) + ' ', field);
      }
      group.append(label);
    }
  }

  function panelValues() {
    let out = '';
    for (const field of document.querySelectorAll('#fields input')) {
      const value = field.type === 'checkbox' ? (field.checked ? '1' : '0') : field.value.replace(/[\t\n\r]/g, ' ');
      out += field.name + '\t' + value + '\n';
    }
    return out;
  }

  function say(text, error) {
    const message = document.getElementById('message');
    message.textContent = text;
    message.className = error ? 'error' : '';
  }

  document.getElementById('settings').addEventListener('click', () => {
    const panel = document.getElementById('panel');
    panel.hidden = !panel.hidden;
  });
  document.getElementById('panel').addEventListener('change', (e) => {
    if (e.target.id === 'load') return;
    writeSettings(Module.ccall('web_settings_file', 'string', ['string'], [panelValues()]));
    say('');
    run();
  });
  document.getElementById('panel').addEventListener('submit', (e) => e.preventDefault());
  // A file of plain ASCII as it is; one with other characters (a message) as UTF-16 with its
  // mark, which Windows reads whatever its code page (and the Linux saver reads too).
  function fileBytes(text) {
    if (!/[^\x00-\x7f]/.test(text)) return text;
    const bytes = new Uint8Array(2 + text.length * 2);
    bytes[0] = 0xff;
    bytes[1] = 0xfe;
    for (let i = 0; i < text.length; i++) {
      bytes[2 + 2 * i] = text.charCodeAt(i) & 0xff;
      bytes[3 + 2 * i] = text.charCodeAt(i) >> 8;
    }
    return bytes;
  }

  document.getElementById('download').addEventListener('click', () => {
    const text = readSettings() || Module.ccall('web_settings_file', 'string', ['string'], ['']);
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([fileBytes(text)], { type: 'text/plain' }));
    link.download = 'tarnix.ini';
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 1000);
  });
  document.getElementById('load').addEventListener('change', async (e) => {
    const file = e.target.files[0];
    e.target.value = '';
    if (!file) return;
    const bytes = new Uint8Array(await file.arrayBuffer());
    const at = Module._malloc(bytes.length || 1);
    Module.HEAPU8.set(bytes, at);
    const problem = Module.UTF8ToString(Module._web_settings_check(at, bytes.length));
    Module._free(at);
    if (problem) {
      say(file.name + ' was not loaded: ' + problem, true);
      return;
    }
    writeSettings(Module.UTF8ToString(Module._web_checked_text()));
    buildPanel();
    say(file.name + ' loaded.');
    run();
  });

  // --- start ---

  Module.noInitialRun = true;
  Module.onRuntimeInitialized = async () => {
    try {
      const files = unpack(await dataPack);
      Module.FS.mkdirTree(DATA_DIR);
      Module.FS.mkdirTree('/settings');
      for (const [name, bytes] of files) Module.FS.writeFile(DATA_DIR + '/' + name, bytes);
      writeSettings(readSettings());
      buildPanel();
      run();
      dusk.ready = true;
    } catch (error) {
      statusText.textContent = 'The saver could not start: ' + error.message;
      throw error;
    }
  };
})();
