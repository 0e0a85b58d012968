// The browser build's figures for the README: the wasm's size, raw and
// gzipped; the conversion time in headless Chromium (in the viewer's
// Worker) against the native converter's, on Export_vse and on a generated
// 100 MB export; the tab's peak memory for the 100 MB file; how long the
// page's main thread is held while a conversion runs; and the frame times
// of zooming and panning Export_vse's drawing. Medians of five runs.
//
//   node web/tests/figures.mjs VORLANE_CONVERTER GENERATE_VFK
import { execFileSync, spawnSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { gzipSync } from 'node:zlib';
import { chromium } from 'playwright-core';

const [converter, generator] = process.argv.slice(2).map((path) => resolve(path));
const dist = resolve(dirname(fileURLToPath(import.meta.url)), '../dist');
const real = process.env.VORLANE_REAL_DATA || '../shared/data/vfk';
const exportVse = join(real, 'qgis-vfk-plugin_Export_vse_v5.5_latin2.vfk');
const work = mkdtempSync(join(tmpdir(), 'vorlane-figures-'));
const median = (values) => values.slice().sort((a, b) => a - b)[Math.floor(values.length / 2)];

const module = readFileSync(join(dist, 'vorlane-module.mjs'), 'utf8');
const wasm = Buffer.from(/base64,([A-Za-z0-9+/=]+)/.exec(module)[1], 'base64');
console.log(`wasm: ${(wasm.length / 1024).toFixed(0)} KiB, gzip ${(gzipSync(wasm, { level: 9 }).length / 1024).toFixed(0)} KiB; ` +
            `vorlane-module.mjs gzip ${(gzipSync(module, { level: 9 }).length / 1024).toFixed(0)} KiB`);

const large = join(work, 'generated_100mb.vfk');
execFileSync(generator, ['--seed', '1', '--size-mb', '100', '--whole-map', large], { stdio: 'ignore' });

function nativeMilliseconds(file) {
  const times = [];
  for (let run = 0; run < 5; run++) {
    const started = process.hrtime.bigint();
    spawnSync(converter, ['--quiet', '-o', work, file]);
    times.push(Number(process.hrtime.bigint() - started) / 1e6);
  }
  return median(times);
}

const browser = await chromium.launch({ executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
                                        args: ['--no-sandbox'] });
const page = await browser.newPage({ viewport: { width: 1300, height: 850 } });
await page.goto(pathToFileURL(join(dist, 'index.html')).href);

// The longest time the main thread did not draw a frame, from now until
// "done" resolves.
async function longestFrameGap(done) {
  await page.evaluate(() => {
    self.frameGap = 0;
    let last = performance.now();
    self.stopFrames = false;
    const tick = (now) => {
      self.frameGap = Math.max(self.frameGap, now - last);
      last = now;
      if (!self.stopFrames) requestAnimationFrame(tick);
    };
    requestAnimationFrame(tick);
  });
  await done();
  return page.evaluate(() => { self.stopFrames = true; return self.frameGap; });
}

for (const [name, file] of [['Export_vse', exportVse], ['generated 100 MB', large]]) {
  if (!existsSync(file)) continue;
  // Loading shows the drawing; the main thread's longest pause is measured
  // while the Worker converts, before the drawing goes into the page.
  const gap = await longestFrameGap(async () => {
    await page.setInputFiles('#files', file);
    await page.waitForFunction(() => document.getElementById('progress').hidden, null,
                               { timeout: 300000 });
  });
  await page.waitForSelector('#layers li', { timeout: 300000 });
  const times = [];
  for (let run = 0; run < 5; run++) {
    times.push(await page.evaluate(async () => (await convertInWorker({}, false)).result.milliseconds));
  }
  console.log(`${name}: Chromium ${median(times).toFixed(0)} ms in the Worker, native ` +
              `${nativeMilliseconds(file).toFixed(0)} ms (the whole process); the page's main ` +
              `thread at most ${gap.toFixed(0)} ms without a frame while converting`);
}

// The tab's peak memory: the renderer processes' high-water marks.
let peak = 0;
for (const pid of execFileSync('pgrep', ['-f', '--', '--type=renderer'], { encoding: 'utf8' }).split('\n')) {
  if (!pid) continue;
  const status = readFileSync(`/proc/${pid}/status`, 'utf8');
  peak = Math.max(peak, Number(/VmHWM:\s+(\d+)/.exec(status)?.[1] || 0));
}
console.log(`peak resident memory of the tab (its renderer) after the 100 MB file: ` +
            `${(peak / 1024).toFixed(0)} MB`);

// Zooming and panning Export_vse: the frames of 40 wheel steps and 40 drags.
await page.setInputFiles('#files', exportVse);
await page.waitForSelector('#layers li', { timeout: 60000 });
const box = await page.$eval('#map', (map) => map.getBoundingClientRect().toJSON());
await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
await page.evaluate(() => {
  self.frameTimes = [];
  let last = performance.now();
  self.stopFrames = false;
  const tick = (now) => {
    self.frameTimes.push(now - last);
    last = now;
    if (!self.stopFrames) requestAnimationFrame(tick);
  };
  requestAnimationFrame(tick);
});
for (let step = 0; step < 40; step++) {
  await page.mouse.wheel(0, -120);
  await page.waitForTimeout(16);
}
await page.mouse.down();
for (let step = 0; step < 40; step++) {
  await page.mouse.move(box.x + box.width / 2 + step * 5, box.y + box.height / 2 + step * 3);
  await page.waitForTimeout(16);
}
await page.mouse.up();
const times = await page.evaluate(() => { self.stopFrames = true; return self.frameTimes; });
console.log(`zoom and pan of Export_vse: ${times.length} frames, median ${median(times).toFixed(1)} ms, ` +
            `longest ${Math.max(...times).toFixed(0)} ms`);
await browser.close();
rmSync(work, { recursive: true, force: true });
