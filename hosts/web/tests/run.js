// The web page in Debian's chromium (driven by playwright-core, which never downloads a browser):
//   node run.js SITE_DIR HEADLESS_PROGRAM DATA_DIR
// Its frames against the headless host's, the settings panel, a downloaded tarnix.ini read by
// the headless host, a bad file refused, what loads before the first frame, the sound's gate
// and full screen left on a key. Prints one line a case; the exit code is the verdict.
'use strict';
const { chromium } = require('playwright-core');
const { execFileSync } = require('child_process');
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');

const [site, headless, data] = process.argv.slice(2).map((p) => path.resolve(p));
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'dusk-web-'));

// A plain static server, as any would serve the site.
const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm', '.ogg': 'audio/ogg' };
const server = http.createServer((req, res) => {
  const file = path.join(site, decodeURIComponent(new URL(req.url, 'http://x').pathname).replace(/\/$/, '/index.html'));
  if (!file.startsWith(site) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
    res.writeHead(404);
    res.end();
    return;
  }
  res.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
  fs.createReadStream(file).pipe(res);
});

// The headless host's frame after `ticks` frames, as PNG bytes; `ini`: the settings file's text.
let runs = 0;
function headlessFrame(width, height, seed, ticks, ini, dpi = 96) {
  const windir = path.join(work, 'windir' + ++runs);
  fs.mkdirSync(windir);
  fs.symlinkSync(data, path.join(windir, 'Duskhollow'));
  if (ini !== undefined) fs.writeFileSync(path.join(windir, 'tarnix.ini'), ini);
  const frames = path.join(windir, 'frames');
  execFileSync(headless, ['--windir', windir, '--screen', `${width}x${height}`, '--seed', String(seed),
    '--ticks', String(ticks), '--frames', frames, '--every', String(ticks), '--dpi', String(dpi), '--no-sound', '/s']);
  return fs.readFileSync(path.join(frames, `frame-${String(ticks).padStart(6, '0')}.png`));
}

// How many pixels of the page's canvas differ from the PNG (-1: not of the same size). Inside the
// labels' boxes, where the browser's text is not cairo's, only that both show the label (its back
// colour the most common, and text over it) is asked: a box without it counts as one pixel.
function differing(page, png) {
  return page.evaluate(async (base64) => {
    const bytes = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
    const bitmap = await createImageBitmap(new Blob([bytes]), { colorSpaceConversion: 'none', premultiplyAlpha: 'none' });
    const screen = document.getElementById('screen');
    if (bitmap.width !== screen.width || bitmap.height !== screen.height) return -1;
    const off = new OffscreenCanvas(bitmap.width, bitmap.height).getContext('2d');
    off.drawImage(bitmap, 0, 0);
    const want = off.getImageData(0, 0, bitmap.width, bitmap.height).data;
    const got = screen.getContext('2d').getImageData(0, 0, screen.width, screen.height).data;
    const labels = window.dusk.labels;
    const inBox = (x, y) => labels.find(({ box: [l, t, r, b] }) => x >= l && x < r && y >= t && y < b);
    const written = new Map(labels.map((label) => [label, [new Map(), new Map()]]));
    const count = (colours, c) => colours.set(c, (colours.get(c) || 0) + 1);
    let n = 0;
    for (let i = 0; i < want.length; i += 4) {
      const x = (i / 4) % bitmap.width, y = Math.floor(i / 4 / bitmap.width);
      const label = inBox(x, y);
      if (label) {
        count(written.get(label)[0], (want[i] << 16) | (want[i + 1] << 8) | want[i + 2]);
        count(written.get(label)[1], (got[i] << 16) | (got[i + 1] << 8) | got[i + 2]);
      } else if (want[i] !== got[i] || want[i + 1] !== got[i + 1] || want[i + 2] !== got[i + 2]) n++;
    }
    const shown = (colours, back) =>
      colours.size >= 2 && [...colours].sort((a, b) => b[1] - a[1])[0][0] === back;
    for (const [label, [theirs, ours]] of written) if (!shown(theirs, label.back) || !shown(ours, label.back)) n++;
    return n;
  }, png.toString('base64'));
}

function pixels(page) {
  return page.evaluate(() => {
    const s = document.getElementById('screen');
    return Array.from(s.getContext('2d').getImageData(0, 0, s.width, s.height).data.filter((_, i) => i % 97 === 0));
  });
}

let browser, base;
async function open(query, width, height, settings, deviceScaleFactor = 1) {
  const context = await browser.newContext({ viewport: { width, height }, deviceScaleFactor, acceptDownloads: true });
  if (settings !== undefined)
    await context.addInitScript((text) => localStorage.setItem('duskhollow.tarnix.ini', text), settings);
  const page = await context.newPage();
  page.errors = [];
  page.on('pageerror', (e) => page.errors.push(e.message));
  await page.goto(base + query);
  await page.waitForFunction(() => window.dusk && window.dusk.ready && window.dusk.frames > 0, null, { timeout: 30000 });
  return page;
}

function check(condition, what) {
  if (!condition) throw new Error(what);
}

const cases = {
  async frames() {
    for (const [width, height, seed, ticks] of [[800, 600, 5, 40], [1280, 720, 11, 25]]) {
      const page = await open(`?seed=${seed}&ticks=${ticks}`, width, height);
      const n = await differing(page, headlessFrame(width, height, seed, ticks));
      check(n === 0, `${width}x${height}: ${n} pixels differ from the headless host's frame`);
      check(page.errors.length === 0, page.errors.join('; '));
      await page.context().close();
    }
    // With the clock and a message: the same picture, the labels in the same boxes.
    const ini = fs.readFileSync(path.join(work, 'labels.ini'), 'latin1');
    const page = await open('?seed=5&ticks=30', 800, 600, ini);
    check((await page.evaluate(() => window.dusk.labels.length)) === 2, 'the clock and message are not both shown');
    const n = await differing(page, headlessFrame(800, 600, 5, 30, ini));
    check(n === 0, `with labels: ${n} pixels differ from the headless host's frame`);
    await page.context().close();
    // On a screen of two device pixels a CSS pixel: the canvas has the device's pixels, and the
    // labels are as large as at 192 dots per inch.
    const sharp = await open('?seed=11&ticks=25', 640, 360, ini, 2);
    const m = await differing(sharp, headlessFrame(1280, 720, 11, 25, ini, 192));
    check(m === 0, `at a device pixel ratio of 2: ${m} pixels differ from the headless host's 1280x720 frame`);
    await sharp.context().close();
  },

  async settings() {
    const page = await open('?seed=5&ticks=40', 800, 600);
    const before = await pixels(page);
    await page.click('#settings');
    // Every creature off but the first, and another speed: the picture changes at once.
    const boxes = await page.$$eval('#fields fieldset', (sets) => sets.map((s) => s.querySelectorAll('input[type=checkbox]').length));
    const group = boxes.indexOf(Math.max(...boxes));
    check(boxes[group] >= 20, 'no fieldset holds the creatures');
    const frames = await page.evaluate(() => window.dusk.frames);
    await page.$$eval(`#fields fieldset:nth-of-type(${group + 1}) input[type=checkbox]`, (inputs) => {
      inputs.forEach((input, i) => { input.checked = i === 0; });
      inputs[1].dispatchEvent(new Event('change', { bubbles: true }));
    });
    await page.waitForFunction((n) => window.dusk.frames > n, frames);
    const after = await pixels(page);
    check(before.some((v, i) => v !== after[i]), 'the picture did not change with the creatures');
    // The panel's file, downloaded, is the one the page keeps, and the headless host shows with
    // it the same frame.
    const [download] = await Promise.all([page.waitForEvent('download'), page.click('#download')]);
    const ini = fs.readFileSync(await download.path(), 'latin1');
    check(ini === await page.evaluate(() => localStorage.getItem('duskhollow.tarnix.ini')), 'the download is not the kept file');
    check(/^\[Duskhollow\]\r\n/.test(ini), 'the download is not a settings file: ' + ini.slice(0, 40));
    const n = await differing(page, headlessFrame(800, 600, 5, 40, ini));
    check(n === 0, `${n} pixels differ from the headless host's frame with the downloaded tarnix.ini`);
    // Kept in the browser: a new page shows the same.
    const again = await page.context().newPage();
    await again.goto(base + '?seed=5&ticks=40');
    await again.waitForFunction(() => window.dusk && window.dusk.frames > 0);
    const kept = await pixels(again);
    check(kept.every((v, i) => v === after[i]), 'the settings were not kept for the next visit');
    await page.context().close();
  },

  async badFile() {
    const page = await open('?seed=5&ticks=10', 800, 600);
    await page.click('#settings');
    const kept = await page.evaluate(() => localStorage.getItem('duskhollow.tarnix.ini'));
    const frames = await page.evaluate(() => window.dusk.frames);
    await page.setInputFiles('#load', { name: 'tarnix.ini', mimeType: 'text/plain', buffer: Buffer.from('[Other]\r\nspeed=abc\r\n') });
    await page.waitForFunction(() => document.getElementById('message').textContent !== '');
    const message = await page.textContent('#message');
    check(/not loaded/.test(message) && /Duskhollow/.test(message), 'no clear message: ' + message);
    check(await page.evaluate(() => localStorage.getItem('duskhollow.tarnix.ini')) === kept, 'a bad file changed the settings');
    check(await page.evaluate(() => window.dusk.frames) === frames, 'a bad file restarted the saver');
    // A good one is taken.
    const good = '[Duskhollow]\r\nfirstrun=1\r\nspeed=120\r\n';
    await page.setInputFiles('#load', { name: 'mine.ini', mimeType: 'text/plain', buffer: Buffer.from(good) });
    await page.waitForFunction(() => /loaded\./.test(document.getElementById('message').textContent));
    check(await page.evaluate(() => document.querySelector('#fields input[name=speed]').value) === '120', 'the loaded speed is not shown');
    await page.context().close();
  },

  async loading() {
    // What is sent before the first frame: the page, the program and the data, no song.
    const page = await open('', 800, 600);
    const { bytes, songs, first } = await page.evaluate(() => {
      const first = window.dusk.firstFrameMs;
      const before = performance.getEntriesByType('resource').filter((e) => e.responseEnd <= first);
      const nav = performance.getEntriesByType('navigation')[0];
      return {
        bytes: before.reduce((n, e) => n + (e.transferSize || e.encodedBodySize), nav.transferSize || 0),
        songs: before.filter((e) => /songs\//.test(e.name)).length,
        first,
      };
    });
    console.log(`#   first frame after ${Math.round(first)} ms, ${(bytes / 1e6).toFixed(2)} MB transferred before it`);
    check(bytes < 5e6, `${bytes} bytes before the first frame`);
    check(songs === 0, 'a song was fetched before the first frame');
    // Nothing sounds, and no song is fetched, before the first click; then the mixer's effects
    // are heard and the song that plays is fetched.
    check(!(await page.evaluate(() => window.dusk.sound)), 'sound started before a click or key');
    check((await page.evaluate(() => window.dusk.songsFetched.length)) === 0, 'a song was fetched before a click');
    const song = page.waitForResponse((r) => /songs\/h_song\d+\.ogg$/.test(r.url()), { timeout: 30000 });
    await page.click('#screen');
    check(await page.evaluate(() => window.dusk.sound), 'a click did not start the sound');
    await page.waitForFunction(() => window.dusk.effectsNode, null, { timeout: 30000 });
    check(await page.evaluate(() => window.dusk.effectsNode) === 'worklet', 'the effects do not play on an AudioWorklet');
    await page.waitForFunction(() => window.dusk.effectsPeak > 1000, null, { timeout: 30000 });
    check((await song).ok(), 'the song playing was not fetched');
    await page.waitForFunction(() => window.dusk.songsPlayed.length > 0, null, { timeout: 30000 });
    await page.context().close();
  },

  async fullScreen() {
    const page = await open('', 800, 600);
    await page.click('#fullscreen');
    await page.waitForFunction(() => document.fullscreenElement !== null);
    await page.keyboard.press('a');
    await page.waitForFunction(() => document.fullscreenElement === null);
    await page.click('#fullscreen');
    await page.waitForFunction(() => document.fullscreenElement !== null);
    await page.mouse.click(400, 300);
    await page.waitForFunction(() => document.fullscreenElement === null);
    await page.context().close();
  },
};

(async () => {
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  base = `http://127.0.0.1:${server.address().port}/index.html`;
  execFileSync(headless, ['--write-settings', path.join(work, 'labels.ini'), 'clock=1', 'messagetext=Good evening']);
  browser = await chromium.launch({ executablePath: process.env.DUSK_CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-dev-shm-usage', '--autoplay-policy=user-gesture-required'] });
  let failed = 0;
  const only = process.env.DUSK_WEB_CASE;
  for (const [name, test] of Object.entries(cases)) {
    if (only && only !== name) continue;
    try {
      await test();
      console.log(`ok web.${name}`);
    } catch (error) {
      failed++;
      console.log(`not ok web.${name}: ${error.message}`);
    }
  }
  await browser.close();
  server.close();
  fs.rmSync(work, { recursive: true, force: true });
  process.exit(failed ? 1 : 0);
})();
