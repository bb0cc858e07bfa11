// Page tests of the web edition: Debian's chromium, driven by playwright-core,
// uses the built site (served on 127.0.0.1) and the single file as a pupil
// does: presses on the canvas, taps, list rows, buttons, the keyboard, the
// accessibility tree, offline after one visit and the file opened from disk.
//
//   node tests/web/page_tests.mjs [BUILD_DIR] [case name filter]
// BUILD_DIR defaults to build/web. The acceptance triangles' reports are
// the acceptance test's (tests/acceptance/expected, from the independent
// model report_oracle.py). The random triangles' reports and the expected
// drawings come from the in-memory window (window_dump): built natively, as
// the desktop edition is, where TRIVYRHNIK_WINDOW_DUMP names it (ctest does);
// otherwise the reports come from report_oracle.py and the drawings from the
// core built for Node.
import { chromium } from 'playwright-core';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { serve } from '../../web/serve.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const source = path.resolve(here, '..', '..');
const build = path.resolve(process.argv[2] || path.join(source, 'build', 'web'));
const only = process.argv[3] || '';
const expectedDir = path.join(source, 'tests', 'acceptance', 'expected');
const oracle = path.join(source, 'tests', 'acceptance', 'report_oracle.py');
const nativeDump = process.env.TRIVYRHNIK_WINDOW_DUMP || '';

const browserArgs = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

const SURFACE = { width: 335, height: 229 };
const WHITE = [255, 255, 255], BLACK = [0, 0, 0], RED = [255, 0, 0];
const PALETTE = [WHITE, BLACK, RED, [0, 0, 255], [0, 255, 0], [250, 25, 100]];

// The triangles of the acceptance test: expected file and the three points.
const TRIANGLES = [
  { file: 'right.txt', points: [[10, 10], [40, 10], [10, 50]] },
  { file: 'obtuse.txt', points: [[10, 10], [50, 10], [20, 20]] },
  { file: 'acute.txt', points: [[10, 10], [50, 10], [30, 40]] },
  { file: 'collinear.txt', points: [[10, 10], [20, 20], [30, 30]] },
  { file: 'obtuse_half.txt', points: [[10, 10], [51, 10], [20, 21]] },
];

class Failure extends Error {}
function check(condition, message) {
  if (!condition) throw new Failure(message);
}
function checkEqual(actual, expected, what) {
  check(JSON.stringify(actual) === JSON.stringify(expected),
    `${what}: ${JSON.stringify(actual)}, expected ${JSON.stringify(expected)}`);
}

// A browser with a fresh profile of its own, closed when the case ends; any
// error on the page fails the case, but for those that `expected` names.
async function withBrowser(options, body, expected = () => false) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'trivyrhnik-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: browserArgs,
    locale: 'en-US',
    viewport: { width: 800, height: 600 },
    ...options,
  });
  try {
    const page = context.pages()[0] || await context.newPage();
    const errors = [];
    page.on('pageerror', (e) => errors.push(String(e)));
    page.on('console', (m) => { if (m.type() === 'error') errors.push(m.text()); });
    await body(page, context);
    const unexpected = errors.filter((e) => !expected(e));
    check(unexpected.length === 0, `page errors: ${unexpected.join('; ')}`);
  } finally {
    await context.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
}

async function withServer(body) {
  const server = await serve(build);
  try {
    await body(`http://127.0.0.1:${server.address().port}/site/`, server);
  } finally {
    server.closeAllConnections();
    server.close();
  }
}

async function open(page, url) {
  await page.goto(url);
  await page.waitForFunction(() => document.documentElement.dataset.ready === 'true', null, { timeout: 15000 });
}

// The viewport position of the middle of a logical pixel of the surface,
// from the canvas's box as laid out (fitted, zoomed).
async function pointOf(page, x, y, fx = 0.5, fy = 0.5) {
  const box = await page.evaluate(() => {
    const r = document.getElementById('Picture1').getBoundingClientRect();
    return { left: r.left, top: r.top, width: r.width, height: r.height };
  });
  return { x: box.left + (x + fx) * box.width / SURFACE.width, y: box.top + (y + fy) * box.height / SURFACE.height };
}

async function press(page, x, y) {
  const p = await pointOf(page, x, y);
  await page.mouse.click(p.x, p.y);
}

async function tap(page, x, y, fx = 0.5, fy = 0.5) {
  const p = await pointOf(page, x, y, fx, fy);
  await page.touchscreen.tap(p.x, p.y);
}

async function click(page, id) {
  await page.click(`#${id}`);
}

// The rows of the three lists and the selected row of each.
async function lists(page) {
  return page.evaluate(() => [0, 1, 2].map((i) => {
    const rows = [...document.getElementById(`List1_${i}`).children];
    return { rows: rows.map((r) => r.textContent), selected: rows.findIndex((r) => r.getAttribute('aria-selected') === 'true') };
  }));
}

async function enabledButtons(page) {
  return page.evaluate(() => [0, 1, 2].map((i) => !document.getElementById(`Command1_${i}`).disabled));
}

function expectedReport(file, separator) {
  return fs.readFileSync(path.join(expectedDir, file), 'utf8').replaceAll('.', separator);
}

function firstDifference(actual, expected) {
  const a = actual.split('\n'), e = expected.split('\n');
  for (let i = 0; i < Math.max(a.length, e.length); i++) {
    if (a[i] !== e[i]) return `line ${i + 1}: ${JSON.stringify(a[i])}, expected ${JSON.stringify(e[i])}`;
  }
  return '';
}

// The report as the text area shows it (line feeds) and as the program keeps
// it (CR LF), each equal to the expected text line for line.
async function checkReport(page, expected, what) {
  const { shown, exact } = await page.evaluate(() => ({
    shown: document.getElementById('Text1_0').value,
    exact: window.trivyrhnik.text(0),
  }));
  const diffExact = firstDifference(exact, expected);
  check(exact === expected, `${what}: the program's report differs, ${diffExact}`);
  const plain = expected.replaceAll('\r\n', '\n');
  check(shown === plain, `${what}: the text area differs, ${firstDifference(shown, plain)}`);
}

async function calculate(page, points) {
  for (const [x, y] of points) await press(page, x, y);
  await click(page, 'Command1_0');
}

// The canvas's device pixels and scale.
async function canvasPixels(page) {
  const r = await page.evaluate(() => {
    const c = document.getElementById('Picture1');
    const data = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    let bin = '';
    for (let i = 0; i < data.length; i += 0x8000) bin += String.fromCharCode.apply(null, data.subarray(i, i + 0x8000));
    return { width: c.width, height: c.height, scale: Number(c.dataset.scale), css: c.getBoundingClientRect().width, data: btoa(bin) };
  });
  return { ...r, data: Buffer.from(r.data, 'base64') };
}

function rgbAt(img, i, j) {
  const k = (j * img.width + i) * 4;
  return [img.data[k], img.data[k + 1], img.data[k + 2]];
}

// The colour at the middle of a logical pixel, as the raster defines it.
function logicalAt(img, x, y) {
  return rgbAt(img, Math.floor((x + 0.5) * img.scale), Math.floor((y + 0.5) * img.scale));
}

// The report and the drawing of the in-memory window for three points, with
// a decimal separator, at a scale.
function windowDump(points, separator, scale) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'trivyrhnik-window-'));
  const args = [separator, String(scale), path.join(dir, 'raster'), path.join(dir, 'report'), ...points.flat().map(String)];
  if (nativeDump) execFileSync(nativeDump, args);
  else execFileSync(process.execPath, ['--no-experimental-fetch', path.join(build, 'web', 'tests', 'window_dump.js'), ...args]);
  const bytes = fs.readFileSync(path.join(dir, 'raster'));
  const report = fs.readFileSync(path.join(dir, 'report'), 'utf8');
  fs.rmSync(dir, { recursive: true, force: true });
  const newline = bytes.indexOf(10);
  const [width, height] = bytes.subarray(0, newline).toString().split(' ').map(Number);
  return { report, raster: { width, height, data: bytes.subarray(newline + 1) } };
}

function expectedRaster(scale, points) {
  return windowDump(points, '.', scale).raster;
}

function checkSameRaster(img, expected, what) {
  checkEqual([img.width, img.height], [expected.width, expected.height], `${what}: canvas size`);
  let differing = 0, first = '';
  for (let k = 0; k < expected.data.length; k += 4) {
    if (img.data[k] !== expected.data[k] || img.data[k + 1] !== expected.data[k + 1] || img.data[k + 2] !== expected.data[k + 2]) {
      if (!differing) first = ` first at device pixel (${(k / 4) % img.width}, ${Math.floor(k / 4 / img.width)})`;
      differing++;
    }
  }
  check(differing === 0, `${what}: ${differing} device pixels differ from the in-memory window's drawing;${first}`);
}

function checkPaletteOnly(img, what) {
  const seen = new Set();
  for (let k = 0; k < img.data.length; k += 4) seen.add(`${img.data[k]},${img.data[k + 1]},${img.data[k + 2]},${img.data[k + 3]}`);
  const allowed = new Set(PALETTE.map((c) => `${c.join(',')},255`));
  const stray = [...seen].filter((c) => !allowed.has(c));
  check(stray.length === 0, `${what}: colours outside the palette (anti-aliasing?): ${stray.slice(0, 5).join(' ')}`);
}

// Seeded triangles anywhere on the surface.
function randomTriangles(count, seed) {
  let s = seed >>> 0;
  const next = (n) => { s = (Math.imul(s, 1664525) + 1013904223) >>> 0; return s % n; };
  return Array.from({ length: count }, () => [0, 1, 2].map(() => [next(SURFACE.width), next(SURFACE.height)]));
}

// The report for random points: the desktop build's where ctest gives it,
// else the independent model's.
function randomReport(points, separator) {
  if (nativeDump) return windowDump(points, separator, 1).report;
  return execFileSync('python3', [oracle, ...points.flat().map(String)]).toString('utf8').replaceAll('.', separator);
}

// The whole drawings every edition must show, with the hash of their pixels
// (tests/fixed_drawings.txt).
function fixedDrawings() {
  return fs.readFileSync(path.join(source, 'tests', 'fixed_drawings.txt'), 'utf8').split('\n')
    .filter((line) => line.trim() && !line.startsWith('#'))
    .map((line) => {
      const f = line.trim().split(/\s+/);
      const n = f.slice(1, 10).map(Number);
      return { name: f[0], scale: n[0], points: [[n[1], n[2]], [n[3], n[4]], [n[5], n[6]]], size: [n[7], n[8]], hash: f[10] };
    });
}

// FNV-1a over the red, green and blue bytes of every pixel, as the file says.
function pixelHash(data) {
  let h = 0x811c9dc5;
  for (let k = 0; k < data.length; k += 4) {
    for (let c = 0; c < 3; c++) h = Math.imul(h ^ data[k + c], 0x01000193) >>> 0;
  }
  return h.toString(16).padStart(8, '0');
}

// ------------------------------------------------------------------ cases

const cases = [];
const test = (name, body) => cases.push({ name, body });

for (const [locale, separator] of [['en-US', '.'], ['bg-BG', ',']]) {
  test(`reports ${locale}: the acceptance triangles and random ones, line by line`, () => withServer((url) =>
    withBrowser({ locale }, async (page) => {
      await open(page, url);
      checkEqual(await page.evaluate(() => navigator.languages[0]), locale, 'browser language');
      for (const t of TRIANGLES) {
        await click(page, 'Command1_1');
        await calculate(page, t.points);
        await checkReport(page, expectedReport(t.file, separator), `${locale} ${t.file}`);
        const l = await lists(page);
        checkEqual(l[0].rows, t.points.map((p) => String(p[0])), `${t.file}: List1_0`);
        checkEqual(l[1].rows, t.points.map((p) => String(p[1])), `${t.file}: List1_1`);
        checkEqual(l[2].rows, t.points.map((p) => String(SURFACE.height - p[1])), `${t.file}: hidden List1_2`);
        checkEqual(await enabledButtons(page), [false, true, false], `${t.file}: buttons after the run`);
      }
      for (const points of randomTriangles(15, locale === 'en-US' ? 20261209 : 4711)) {
        await click(page, 'Command1_1');
        await calculate(page, points);
        await checkReport(page, randomReport(points, separator), `${locale} random ${JSON.stringify(points)}`);
      }
    })));
}

// The page learns its decimal separator once it is idle or at the first
// event, whichever comes first; a new text brings a scrolled box to its top.
test('bg-BG: events in the task that makes the page ready, before it is idle, write ","', () => withServer((url) =>
  withBrowser({ locale: 'bg-BG' }, async (page) => {
    await page.addInitScript((points) => {
      new MutationObserver((changes, observer) => {
        if (document.documentElement.dataset.ready !== 'true') return;
        observer.disconnect();
        const canvas = document.getElementById('Picture1');
        const r = canvas.getBoundingClientRect();
        document.getElementById('Command1_1').click();
        for (const [x, y] of points) {
          canvas.dispatchEvent(new PointerEvent('pointerdown', {
            clientX: r.left + (x + 0.5) * r.width / 335, clientY: r.top + (y + 0.5) * r.height / 229, button: 0, bubbles: true,
          }));
        }
        document.getElementById('Command1_0').click();
      }).observe(document, { subtree: true, attributes: true, attributeFilter: ['data-ready'] });
    }, TRIANGLES[4].points);
    await open(page, url);
    await checkReport(page, expectedReport(TRIANGLES[4].file, ','), 'events before the page was idle');
    checkEqual((await lists(page))[0].rows, ['10', '51', '20'], 'List1_0 of the early events');
  })));

test('a new report shows from the top of a text box that was scrolled', () => withServer((url) =>
  withBrowser({}, async (page) => {
    await open(page, url);
    const scrolledTo = await page.evaluate(async () => {
      const box = document.getElementById('Text1_0');
      box.scrollTop = 200;
      await new Promise((resolve) => box.addEventListener('scroll', resolve, { once: true }));
      return box.scrollTop;
    });
    check(scrolledTo > 0, 'the teaching text does not scroll');
    await calculate(page, TRIANGLES[0].points);
    checkEqual(await page.evaluate(() => document.getElementById('Text1_0').scrollTop), 0, 'scroll after the report');
  })));

test('obtuse triangle: the canvas shows the shared drawing, in the palette only', () => withServer((url) =>
  withBrowser({ deviceScaleFactor: 1 }, async (page) => {
    await open(page, url);
    const points = TRIANGLES[1].points;
    await calculate(page, points);
    const img = await canvasPixels(page);
    checkEqual([img.width, img.height, img.scale, img.css], [335, 229, 1, 335], 'canvas size, scale and CSS width');
    checkPaletteOnly(img, 'obtuse');
    // C is black; A and B, the ends of the longest side, lie on its circle.
    checkEqual(logicalAt(img, 20, 20), BLACK, 'vertex C');
    // The circle on the longest side AB, radius 20 around (30, 10), dashed red.
    let red = 0;
    for (let k = 0; k < img.data.length; k += 4) red += img.data[k] === 255 && img.data[k + 1] === 0 && img.data[k + 2] === 0;
    check(red > 20, `the red circle on the longest side: ${red} red pixels`);
    checkEqual(logicalAt(img, 100, 200), WHITE, 'background');
    checkSameRaster(img, expectedRaster(1, points), 'obtuse at scale 1');
  })));

test('fixed drawings: the canvas has the pixels of tests/fixed_drawings.txt', () => withServer(async (url) => {
  const drawings = fixedDrawings();
  check(drawings.length > 0, 'no fixed drawings');
  for (const d of drawings) {
    await withBrowser({ deviceScaleFactor: d.scale }, async (page) => {
      await open(page, url);
      await calculate(page, d.points);
      const img = await canvasPixels(page);
      checkEqual([img.width, img.height, img.scale], [...d.size, d.scale], `${d.name}: canvas`);
      checkEqual(pixelHash(img.data), d.hash, `${d.name}: hash of the pixels`);
    });
  }
}));

test('list rows: a click selects in all lists, again on the selected row; Изтрий empties the selection', () => withServer((url) =>
  withBrowser({}, async (page) => {
    await open(page, url);
    for (const [x, y] of TRIANGLES[0].points) await press(page, x, y);
    await page.click('#List1_1 > [role=option]:nth-child(2)');
    let l = await lists(page);
    checkEqual(l.map((x) => x.selected), [1, 1, 1], 'selection after a click on row 1');
    let img = await canvasPixels(page);
    checkEqual(logicalAt(img, 40, 10), RED, 'selected point');
    checkEqual(logicalAt(img, 10, 10), BLACK, 'other point');
    await page.click('#List1_1 > [role=option]:nth-child(2)');
    l = await lists(page);
    checkEqual(l.map((x) => x.selected), [1, 1, 1], 'selection after a second click on the selected row');
    await page.focus('#List1_0');
    await page.keyboard.press('ArrowDown');
    l = await lists(page);
    checkEqual(l.map((x) => x.selected), [2, 2, 2], 'selection after ArrowDown');
    img = await canvasPixels(page);
    checkEqual([logicalAt(img, 10, 50), logicalAt(img, 40, 10)], [RED, BLACK], 'marks after ArrowDown');
    await click(page, 'Command1_2');
    l = await lists(page);
    checkEqual(l.map((x) => x.rows), [['10', '40'], ['10', '10'], ['219', '219']], 'rows after Изтрий');
    checkEqual(l.map((x) => x.selected), [-1, -1, -1], 'selection after Изтрий');
    checkEqual(await enabledButtons(page), [false, true, true], 'buttons after Изтрий');
    img = await canvasPixels(page);
    checkEqual(logicalAt(img, 10, 50), WHITE, 'deleted point');
  })));

test('taps at device pixel ratio 2 land on the pixel under the finger, up to the edge', () => withServer((url) =>
  withBrowser({ deviceScaleFactor: 2, hasTouch: true }, async (page) => {
    await open(page, url);
    // Taps a quarter pixel inside the far edges of their pixels: floor, not round.
    const points = TRIANGLES[4].points;
    for (const [x, y] of points) await tap(page, x, y, 0.8, 0.8);
    await page.tap('#Command1_0');
    const l = await lists(page);
    checkEqual([l[0].rows, l[1].rows], [points.map((p) => String(p[0])), points.map((p) => String(p[1]))], 'tapped points');
    await checkReport(page, expectedReport('obtuse_half.txt', '.'), 'tapped obtuse_half');
    const img = await canvasPixels(page);
    checkEqual([img.width, img.height, img.scale], [670, 458, 2], 'canvas at ratio 2');
    checkSameRaster(img, expectedRaster(2, points), 'obtuse_half at scale 2');
    await page.tap('#Command1_1');
    await tap(page, 334, 228, 0.999, 0.999);
    await tap(page, 0, 0, 0.001, 0.001);
    const edge = await lists(page);
    checkEqual([edge[0].rows, edge[1].rows], [['334', '0'], ['228', '0']], 'taps at the far and near edges');
  })));

test('a press on the far edges of the canvas box is on the last pixel', () => withServer((url) =>
  withBrowser({}, async (page) => {
    await open(page, url);
    // Exactly on the right and bottom edges of the box, and on its corner.
    await page.evaluate(() => {
      const canvas = document.getElementById('Picture1');
      const r = canvas.getBoundingClientRect();
      for (const [x, y] of [[r.right, r.top + 20.5], [r.left + 30.5, r.bottom], [r.right, r.bottom]]) {
        canvas.dispatchEvent(new PointerEvent('pointerdown', { clientX: x, clientY: y, button: 0, bubbles: true }));
      }
    });
    const l = await lists(page);
    checkEqual([l[0].rows, l[1].rows], [['334', '30', '334'], ['20', '228', '228']], 'presses on the far edges');
  })));

test('zoomed far in: the surface is no finer than 8 device pixels to a logical one', () => withServer((url) =>
  withBrowser({}, async (page, context) => {
    await open(page, url);
    await calculate(page, TRIANGLES[0].points);
    const cdp = await context.newCDPSession(page);
    for (const ratio of [12, 3, 20]) {
      // A new width as well, so that the page hears of it (a resize).
      await cdp.send('Emulation.setDeviceMetricsOverride', { width: 800 + ratio, height: 600, deviceScaleFactor: ratio, mobile: false });
      const expected = Math.min(ratio, 8);
      await page.waitForFunction((s) => Number(document.getElementById('Picture1').dataset.scale) === s, expected, { timeout: 5000 })
        .catch(() => {});
      const img = await canvasPixels(page);
      checkEqual([img.width, img.height, img.scale], [Math.round(335 * expected), Math.round(229 * expected), expected],
        `canvas at a device pixel ratio of ${ratio}`);
      checkEqual(logicalAt(img, 10, 10), BLACK, `vertex A at a ratio of ${ratio}`);
    }
  })));

test('phone 360 x 740: not zoomed out, within the width, no sideways scroll, taps on the right pixel', () => withServer((url) =>
  withBrowser({ viewport: { width: 360, height: 740 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true }, async (page) => {
    await open(page, url);
    const layout = await page.evaluate(() => {
      const out = [];
      for (const el of document.querySelectorAll('#Trivyrhnik > *')) {
        if (el.hidden || getComputedStyle(el).display === 'none') continue;
        const r = el.getBoundingClientRect();
        out.push({ id: el.id, left: r.left, right: r.right });
      }
      return {
        innerWidth: window.innerWidth, zoom: window.visualViewport.scale,
        scrollWidth: document.documentElement.scrollWidth, controls: out,
      };
    });
    checkEqual([layout.innerWidth, layout.zoom], [360, 1], 'layout width and zoom');
    check(layout.scrollWidth <= 360, `the page scrolls sideways: ${layout.scrollWidth} px wide`);
    check(layout.controls.length === 11, `${layout.controls.length} visible controls`);
    for (const c of layout.controls) check(c.left >= 0 && c.right <= 360, `${c.id} lies outside: ${c.left}..${c.right}`);
    const points = TRIANGLES[0].points;
    for (const [x, y] of points) await tap(page, x, y);
    // A double tap on the surface does not zoom (the fourth press is ignored).
    const p = await pointOf(page, 200, 100);
    await page.touchscreen.tap(p.x, p.y);
    await page.touchscreen.tap(p.x, p.y);
    await page.waitForTimeout(400);
    checkEqual(await page.evaluate(() => window.visualViewport.scale), 1, 'zoom after a double tap');
    const l = await lists(page);
    checkEqual([l[0].rows, l[1].rows], [['10', '40', '10'], ['10', '10', '50']], 'tapped points on the phone');
    await page.tap('#Command1_0');
    await checkReport(page, expectedReport('right.txt', '.'), 'phone right triangle');
    const img = await canvasPixels(page);
    const scale = 3 * 360 / 461;
    checkEqual([img.width, img.scale], [Math.round(335 * scale), scale], 'canvas at the phone\'s own pixels');
    checkSameRaster(img, expectedRaster(scale, points), 'right triangle on the phone');
  })));

test('offline after one visit: the service worker keeps every file', () => withBrowser({}, async (page) => {
  const server = await serve(build);
  const url = `http://127.0.0.1:${server.address().port}/site/`;
  try {
    await open(page, url);
    await page.evaluate(async () => {
      await navigator.serviceWorker.ready;
      if (!navigator.serviceWorker.controller) {
        await new Promise((resolve) => navigator.serviceWorker.addEventListener('controllerchange', resolve, { once: true }));
      }
    });
    const cached = await page.evaluate(async () => {
      const names = await caches.keys();
      const cache = await caches.open(names[0]);
      return (await cache.keys()).map((r) => new URL(r.url).pathname.replace(/^\/site\//, ''));
    });
    // The worker's own script the browser keeps with its registration.
    const files = fs.readdirSync(path.join(build, 'site')).filter((f) => f !== 'sw.js');
    for (const f of files) check(cached.includes(f), `${f} is not kept for offline use (kept: ${cached.join(', ')})`);
  } finally {
    server.closeAllConnections();
    server.close();
  }
  await open(page, url);
  await calculate(page, TRIANGLES[0].points);
  await checkReport(page, expectedReport('right.txt', '.'), 'offline right triangle');
}));

test('a host that sends the wasm without its type: the page compiles it from the bytes', () => withServer((url) =>
  withBrowser({}, async (page) => {
    const wasm = fs.readFileSync(path.join(build, 'site', 'trivyrhnik.wasm'));
    let served = 0;
    await page.route('**/trivyrhnik.wasm', (route) => {
      served += 1;
      return route.fulfill({ status: 200, contentType: 'application/octet-stream', body: wasm });
    });
    await open(page, url);
    check(served > 0, 'the wasm was not asked for');
    await calculate(page, TRIANGLES[0].points);
    await checkReport(page, expectedReport('right.txt', '.'), 'right triangle, wasm as octet-stream');
  })));

test("a failure while the page shows the program's state: a message box, and the page goes on", () => withServer((url) =>
  withBrowser({}, async (page) => {
    await open(page, url);
    const boxes = [];
    page.on('dialog', (d) => { boxes.push(d.message()); return d.accept(); });
    for (const [x, y] of TRIANGLES[0].points) await press(page, x, y);
    // The report box refuses the next text once.
    await page.evaluate(() => {
      const value = Object.getOwnPropertyDescriptor(HTMLTextAreaElement.prototype, 'value');
      let refuse = true;
      Object.defineProperty(HTMLTextAreaElement.prototype, 'value', {
        configurable: true,
        get: value.get,
        set(text) {
          if (refuse) { refuse = false; throw new Error('the box refuses its text'); }
          value.set.call(this, text);
        },
      });
    });
    await click(page, 'Command1_0');
    checkEqual(boxes, ['Програмна грешка: the box refuses its text'], 'message boxes');
    check((await page.evaluate(() => document.getElementById('Text1_0').value)).startsWith('Нека имаме 3 точки'),
      'the report box changed although it refused the text');
    // The next event shows the state that the failure left unshown.
    await page.click('#List1_0 > [role=option]');
    await checkReport(page, expectedReport('right.txt', '.'), 'right triangle after the failure');
    checkEqual(await enabledButtons(page), [false, true, false], 'buttons after the failure');
    checkEqual(boxes.length, 1, 'message boxes after the next event');
    // Each such failure leaves the module's frames without ending them: many
    // in a row must neither use up the module's stack nor write past it.
    const refused = await page.evaluate((times) => {
      const value = Object.getOwnPropertyDescriptor(HTMLTextAreaElement.prototype, 'value');
      Object.defineProperty(HTMLTextAreaElement.prototype, 'value', {
        configurable: true, get: value.get, set() { throw new Error('the box refuses its text'); },
      });
      const error = console.error, alert = window.alert;
      let count = 0;
      console.error = () => {};
      window.alert = () => { count += 1; };
      const clear = document.getElementById('Command1_1');
      for (let i = 0; i < times; i++) clear.click();
      console.error = error;
      window.alert = alert;
      Object.defineProperty(HTMLTextAreaElement.prototype, 'value', value);
      return count;
    }, 200000);
    checkEqual(refused, 200000, 'failures reported in a row');
    await click(page, 'Command1_1');
    await calculate(page, TRIANGLES[1].points);
    await checkReport(page, expectedReport('obtuse.txt', '.'), 'obtuse triangle after the failures');
  }, (e) => e === 'trivyrhnik: Програмна грешка: the box refuses its text')));

test('the single file works from file://', () => withBrowser({ locale: 'bg-BG' }, async (page) => {
  const requests = [];
  page.on('request', (r) => requests.push(r.url()));
  await open(page, pathToFileURL(path.join(build, 'trivyrhnik.html')).href);
  await calculate(page, TRIANGLES[1].points);
  await checkReport(page, expectedReport('obtuse.txt', ','), 'single file obtuse');
  const outside = requests.filter((u) => !u.startsWith('file:') && !u.startsWith('data:'));
  check(outside.length === 0, `the single file reaches out: ${outside.join(' ')}`);
  const font = await page.evaluate(async () => {
    await document.fonts.ready;
    return document.fonts.check('16px "Liberation Serif"', 'Ос') && [...document.fonts].some((f) => f.status === 'loaded');
  });
  check(font, 'the font inside the file is not loaded');
}));

test('accessibility: names, roles, disabled state, hidden controls and the Tab order', () => withServer((url) =>
  withBrowser({}, async (page, context) => {
    await open(page, url);
    // The caption as the document's title (document.title itself collapses
    // the two blanks, as every title bar does).
    checkEqual(await page.evaluate(() => document.querySelector('title').textContent),
      'https://trivyrhnik.example.org  Аналитична геометрия - координати', 'title');
    await press(page, 10, 10);
    const cdp = await context.newCDPSession(page);
    const { nodes } = await cdp.send('Accessibility.getFullAXTree');
    const live = nodes.filter((n) => !n.ignored);
    const find = (role, name) => live.find((n) => n.role?.value === role && n.name?.value === name);
    const prop = (n, key) => n?.properties?.find((p) => p.name === key)?.value?.value;
    for (const [role, name] of [['button', 'Изчисли'], ['button', 'Изчисти'], ['button', 'Изтрий'],
      ['listbox', 'Координати X на точките'], ['listbox', 'Координати Y на точките'], ['textbox', 'Решение'],
      ['image', 'Чертожна площ'], ['option', '10'],
      ['StaticText', 'Описана окръжност - координати на точки'], ['StaticText', 'Посочете трите върха на триъгълника'],
      ['StaticText', 'Ос X'], ['StaticText', 'Ос Y']]) {
      check(find(role, name), `no ${role} named "${name}"`);
    }
    checkEqual(prop(find('button', 'Изчисли'), 'disabled'), true, 'Изчисли disabled');
    // So before the module has run too: the page as it is written.
    for (const file of ['site/index.html', 'trivyrhnik.html']) {
      const html = fs.readFileSync(path.join(build, file), 'utf8');
      check(/<button id="Command1_0"[^>]* disabled[ >]/.test(html), `${file}: Изчисли not disabled before start-up`);
      check(!/<button id="Command1_1"[^>]* disabled[ >]/.test(html), `${file}: Изчисти disabled before start-up`);
    }
    checkEqual(prop(find('button', 'Изтрий'), 'disabled'), undefined, 'Изтрий enabled');
    checkEqual(prop(find('textbox', 'Решение'), 'readonly'), true, 'report read-only');
    check(/Щракнете с мишката/.test(find('image', 'Чертожна площ').description?.value || ''), 'surface description');
    check(!find('listbox', 'Височини на точките') && !find('textbox', 'Други сметки'), 'hidden controls are exposed');
    // The Tab order is the desktop's; the disabled button is passed over.
    await page.focus('#Text1_0');
    const order = [];
    for (let i = 0; i < 6; i++) {
      await page.keyboard.press('Tab');
      order.push(await page.evaluate(() => document.activeElement.id));
    }
    checkEqual(order.slice(0, 5), ['List1_0', 'List1_1', 'Command1_1', 'Command1_2', 'Picture1'], 'Tab order');
  })));

// ------------------------------------------------------------------- main

const CASE_SECONDS = 180;
let passed = 0, failed = 0;
for (const c of cases) {
  if (only && !c.name.includes(only)) continue;
  const started = Date.now();
  let timer;
  try {
    // A case that hangs (a page that never gets ready, a browser that stops
    // answering) fails on its own instead of holding up the rest.
    await Promise.race([c.body(), new Promise((_, reject) => {
      timer = setTimeout(() => reject(new Failure(`no end after ${CASE_SECONDS} s`)), CASE_SECONDS * 1000);
    })]);
    passed++;
    console.log(`ok: ${c.name} (${Date.now() - started} ms)`);
  } catch (e) {
    failed++;
    console.log(`FAIL: ${c.name}: ${e instanceof Failure ? e.message : e.stack}`);
  } finally {
    clearTimeout(timer);
  }
}
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed === 0 && passed > 0 ? 0 : 1);
