// The viewer page in headless Chromium (the system's, driven by
// playwright-core), served from a local server as a user would serve it:
// a real export loaded through the file input, its layers and their counts,
// a layer turned off, a parcel found by its number and the view moved to
// it, a click on a parcel and what the file says of it, the SVG and the DXF
// downloaded and held against the converter's bytes, and no error in the
// console. A screenshot of the loaded page is saved as an artifact.
//
//   node web/tests/browser_test.mjs VORLANE_CONVERTER [SCREENSHOT.png]
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { createReadStream, existsSync, mkdtempSync, readFileSync, rmSync, statSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { basename, dirname, extname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

const converter = resolve(process.argv[2] || 'build/vorlane');
const screenshot = resolve(process.argv[3] || 'viewer.png');
const dist = resolve(dirname(fileURLToPath(import.meta.url)), '../dist');
const real = process.env.VORLANE_REAL_DATA;
const exportVse = real && join(real, 'qgis-vfk-plugin_Export_vse_v5.5_latin2.vfk');
const input = exportVse && existsSync(exportVse) ? exportVse : resolve(dist, '../../examples/sample.vfk');
// A building plot of Export_vse and a parcel without a building; two of the
// sample's parcels (it has no building plots) otherwise.
const [plot, field] = input === exportVse ? ['st. 37/1', '1250'] : ['12/3', '10'];

// The converter's drawing and report of the input.
function native(args, extension) {
  const folder = mkdtempSync(join(tmpdir(), 'vorlane-browser-'));
  const name = basename(input);
  spawnSync('cp', [input, folder]);
  const run = spawnSync(converter, ['--quiet', '--report', 'report.json', ...args, name],
                        { cwd: folder });
  assert.equal(run.status, 0, 'the converter');
  const drawing = readFileSync(join(folder, name.replace(/\.vfk$/, extension)));
  const report = JSON.parse(readFileSync(join(folder, 'report.json'), 'utf8'));
  rmSync(folder, { recursive: true });
  return { drawing, report };
}

const types = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css',
                '.mjs': 'text/javascript', '.json': 'application/json' };
const server = createServer((request, response) => {
  const path = join(dist, decodeURIComponent(new URL(request.url, 'http://x').pathname));
  if (!path.startsWith(dist) || !existsSync(path) || statSync(path).isDirectory()) {
    response.writeHead(404).end();
    return;
  }
  response.writeHead(200, { 'Content-Type': types[extname(path)] || 'application/octet-stream' });
  createReadStream(path).pipe(response);
});
await new Promise((done) => server.listen(0, '127.0.0.1', done));

let browser;
try {
  browser = await chromium.launch({ executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
                                    args: ['--no-sandbox'] });
} catch (error) {
  console.log(`Skipped: Chromium cannot start: ${error.message.split('\n')[0]}`);
  server.close();
  process.exit(77);
}

let failed = false;
const check = async (what, test) => {
  try {
    await test();
    console.log(`ok: ${what}`);
  } catch (error) {
    failed = true;
    console.log(`FAILED: ${what}: ${error.message.split('\n')[0]}`);
  }
};

try {
  const page = await browser.newPage({ viewport: { width: 1300, height: 850 }, acceptDownloads: true });
  const errors = [];
  page.on('console', (message) => { if (message.type() === 'error') errors.push(message.text()); });
  page.on('pageerror', (error) => errors.push(String(error)));
  await page.goto(`http://127.0.0.1:${server.address().port}/index.html`);
  await page.setInputFiles('#files', input);
  await page.waitForSelector('#layers li', { timeout: 60000 });
  await page.screenshot({ path: screenshot });
  const standard = native([], '.svg');

  await check('the layer list holds each layer with its count', async () => {
    const shown = await page.$$eval('#layers li', (items) => items.map((item) =>
      [item.querySelector('input').dataset.layer, Number(item.querySelector('.count').textContent)]));
    const expected = Object.entries(standard.report.conversions[0].layers)
      .map(([name, held]) => [name, held.paths + held.texts + held.symbols + held.arrows]);
    assert.deepEqual(shown, expected);
  });

  await check('a layer turned off is hidden', async () => {
    await page.uncheck('#layers input[data-layer="VL_hranice_budov"]');
    const display = await page.$eval('#map svg > g[layer="VL_hranice_budov"]',
                                     (group) => getComputedStyle(group).display);
    assert.equal(display, 'none');
    await page.check('#layers input[data-layer="VL_hranice_budov"]');
  });

  await check(`the search finds ${plot} and moves the view to it`, async () => {
    await page.fill('#search', plot);
    await page.press('#search', 'Enter');
    await page.waitForFunction(() => document.querySelector('.vorlane-found'));
    await page.waitForTimeout(300);
    const [found, map] = await page.evaluate(() => [
      document.querySelector('.vorlane-found').getBoundingClientRect().toJSON(),
      document.getElementById('map').getBoundingClientRect().toJSON()]);
    const centre = (box) => [box.x + box.width / 2, box.y + box.height / 2];
    const [fx, fy] = centre(found);
    const [mx, my] = centre(map);
    assert.ok(Math.abs(fx - mx) < 40 && Math.abs(fy - my) < 40, `at ${fx},${fy}, not ${mx},${my}`);
    assert.ok(Math.max(found.width, found.height) > 100, `only ${found.width}x${found.height} px`);
    assert.match(await page.textContent('#attributes'), new RegExp(plot.replace('.', '\\.')));
  });

  await check(`a click on parcel ${field} shows what the file says of it`, async () => {
    await page.fill('#search', field);
    await page.press('#search', 'Enter');
    await page.waitForTimeout(300);
    await page.fill('#search', '');
    const box = await page.$eval('.vorlane-found', (path) => {
      // The parcel's own number stands inside it.
      const number = [...document.querySelectorAll('#map svg text')]
        .find((text) => text.id === path.id);
      return number.getBoundingClientRect().toJSON();
    });
    await page.evaluate(() => document.getElementById('attributes').replaceChildren());
    await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
    const shown = await page.textContent('#attributes');
    assert.match(shown, new RegExp(`cislo${field.replace('/', '\\/')}`));
  });

  for (const [button, format, extension] of [['#download-svg', 'svg', '.svg'],
                                             ['#download-dxf', 'dxf', '.dxf']]) {
    await check(`the ${format.toUpperCase()} downloaded is the converter's, byte for byte`, async () => {
      const [download] = await Promise.all([page.waitForEvent('download'), page.click(button)]);
      const bytes = readFileSync(await download.path());
      const expected = format === 'svg' ? standard.drawing : native(['--format=dxf'], extension).drawing;
      assert.equal(Buffer.compare(bytes, expected), 0, `${bytes.length} bytes against ${expected.length}`);
    });
  }

  await check('the exact drawing is shown with its own layers', async () => {
    await page.selectOption('#drawing', 'exact');
    await page.waitForSelector('#layers input[data-layer="VL_body"]', { timeout: 60000 });
    const exact = native(['--exact'], '.svg');
    const [download] = await Promise.all([page.waitForEvent('download'), page.click('#download-svg')]);
    assert.equal(Buffer.compare(readFileSync(await download.path()), exact.drawing), 0);
  });

  await check('no error in the console', async () => assert.deepEqual(errors, [], errors.join('; ')));
} finally {
  await browser.close();
  server.close();
}
process.exit(failed ? 1 : 0);
