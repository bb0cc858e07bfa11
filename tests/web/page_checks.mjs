// What the page tests expect and how they read the page, shared by the
// Chromium tests (page_tests.mjs) and the tests that run in every engine
// (engine_tests.mjs). The readers take any page that has evaluate(fn, arg),
// as playwright's has and the engine layer's (engines.mjs) gives.
//
// The acceptance triangles' reports are the acceptance test's
// (tests/acceptance/expected, from the independent model report_oracle.py).
// The random triangles' reports and the expected drawings come from the
// in-memory window (window_dump): built natively, as the desktop edition is,
// where TRIVYRHNIK_WINDOW_DUMP names it (ctest does); otherwise the reports
// come from report_oracle.py and the drawings from the core built for Node.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
export const source = path.resolve(here, '..', '..');
const expectedDir = path.join(source, 'tests', 'acceptance', 'expected');
const oracle = path.join(source, 'tests', 'acceptance', 'report_oracle.py');
const nativeDump = process.env.TRIVYRHNIK_WINDOW_DUMP || '';
// The web build, for the core built for Node; set by the test script.
let build = path.join(source, 'build', 'web');
export function useBuild(dir) {
  build = dir;
}

export const SURFACE = { width: 335, height: 229 };
export const WHITE = [255, 255, 255], BLACK = [0, 0, 0], RED = [255, 0, 0];
export const PALETTE = [WHITE, BLACK, RED, [0, 0, 255], [0, 255, 0], [250, 25, 100]];

// The triangles of the acceptance test: expected file and the three points.
export const TRIANGLES = [
  { file: 'right.txt', points: [[10, 10], [40, 10], [10, 50]] },
  { file: 'obtuse.txt', points: [[10, 10], [50, 10], [20, 20]] },
  { file: 'acute.txt', points: [[10, 10], [50, 10], [30, 40]] },
  { file: 'collinear.txt', points: [[10, 10], [20, 20], [30, 30]] },
  { file: 'obtuse_half.txt', points: [[10, 10], [51, 10], [20, 21]] },
];

export class Failure extends Error {}
export function check(condition, message) {
  if (!condition) throw new Failure(message);
}
export function checkEqual(actual, expected, what) {
  check(JSON.stringify(actual) === JSON.stringify(expected),
    `${what}: ${JSON.stringify(actual)}, expected ${JSON.stringify(expected)}`);
}

// The rows of the three lists and the selected row of each.
export async function lists(page) {
  return page.evaluate(() => [0, 1, 2].map((i) => {
    const rows = [...document.getElementById(`List1_${i}`).children];
    return { rows: rows.map((r) => r.textContent), selected: rows.findIndex((r) => r.getAttribute('aria-selected') === 'true') };
  }));
}

export async function enabledButtons(page) {
  return page.evaluate(() => [0, 1, 2].map((i) => !document.getElementById(`Command1_${i}`).disabled));
}

export function expectedReport(file, separator) {
  return fs.readFileSync(path.join(expectedDir, file), 'utf8').replaceAll('.', separator);
}

export function firstDifference(actual, expected) {
  const a = actual.split('\n'), e = expected.split('\n');
  for (let i = 0; i < Math.max(a.length, e.length); i++) {
    if (a[i] !== e[i]) return `line ${i + 1}: ${JSON.stringify(a[i])}, expected ${JSON.stringify(e[i])}`;
  }
  return '';
}

// The report as the text area shows it (line feeds) and as the program keeps
// it (CR LF), each equal to the expected text line for line.
export async function checkReport(page, expected, what) {
  const { shown, exact } = await page.evaluate(() => ({
    shown: document.getElementById('Text1_0').value,
    exact: window.trivyrhnik.text(0),
  }));
  const diffExact = firstDifference(exact, expected);
  check(exact === expected, `${what}: the program's report differs, ${diffExact}`);
  const plain = expected.replaceAll('\r\n', '\n');
  check(shown === plain, `${what}: the text area differs, ${firstDifference(shown, plain)}`);
}

// The canvas's device pixels and scale.
export async function canvasPixels(page) {
  const r = await page.evaluate(() => {
    const c = document.getElementById('Picture1');
    const data = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    let bin = '';
    for (let i = 0; i < data.length; i += 0x8000) bin += String.fromCharCode.apply(null, data.subarray(i, i + 0x8000));
    return { width: c.width, height: c.height, scale: Number(c.dataset.scale), css: c.getBoundingClientRect().width, data: btoa(bin) };
  });
  return { ...r, data: Buffer.from(r.data, 'base64') };
}

export function rgbAt(img, i, j) {
  const k = (j * img.width + i) * 4;
  return [img.data[k], img.data[k + 1], img.data[k + 2]];
}

// The colour at the middle of a logical pixel, as the raster defines it.
export function logicalAt(img, x, y) {
  return rgbAt(img, Math.floor((x + 0.5) * img.scale), Math.floor((y + 0.5) * img.scale));
}

// The report and the drawing of the in-memory window for three points, with
// a decimal separator, at a scale.
export function windowDump(points, separator, scale) {
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

export function expectedRaster(scale, points) {
  return windowDump(points, '.', scale).raster;
}

export function checkSameRaster(img, expected, what) {
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

export function checkPaletteOnly(img, what) {
  const seen = new Set();
  for (let k = 0; k < img.data.length; k += 4) seen.add(`${img.data[k]},${img.data[k + 1]},${img.data[k + 2]},${img.data[k + 3]}`);
  const allowed = new Set(PALETTE.map((c) => `${c.join(',')},255`));
  const stray = [...seen].filter((c) => !allowed.has(c));
  check(stray.length === 0, `${what}: colours outside the palette (anti-aliasing?): ${stray.slice(0, 5).join(' ')}`);
}

// Seeded triangles anywhere on the surface.
export function randomTriangles(count, seed) {
  let s = seed >>> 0;
  const next = (n) => { s = (Math.imul(s, 1664525) + 1013904223) >>> 0; return s % n; };
  return Array.from({ length: count }, () => [0, 1, 2].map(() => [next(SURFACE.width), next(SURFACE.height)]));
}

// The report for random points: the desktop build's where ctest gives it,
// else the independent model's.
export function randomReport(points, separator) {
  if (nativeDump) return windowDump(points, separator, 1).report;
  return execFileSync('python3', [oracle, ...points.flat().map(String)]).toString('utf8').replaceAll('.', separator);
}

// Runs the cases whose names contain `only`, each with a time limit, and
// ends the process: 0 when at least one ran and none failed.
export async function runCases(cases, only, caseSeconds = 180) {
  let passed = 0, failed = 0;
  for (const c of cases) {
    if (only && !c.name.includes(only)) continue;
    const started = Date.now();
    let timer;
    try {
      // A case that hangs (a page that never gets ready, a browser that stops
      // answering) fails on its own instead of holding up the rest.
      await Promise.race([c.body(), new Promise((_, reject) => {
        timer = setTimeout(() => reject(new Failure(`no end after ${caseSeconds} s`)), caseSeconds * 1000);
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
}

// After one visit: once the service worker controls the page, its cache
// holds every file of the site (page is any engine's page: evaluate()).
export async function checkEveryFileKept(page) {
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
}

// The window fitted to a narrow screen: no sideways scroll, and every shown
// control within the width. Gives the page's width, ratio and zoom.
export async function checkFitsTheWidth(page, width) {
  const layout = await page.evaluate(() => {
    const out = [];
    for (const el of document.querySelectorAll('#Trivyrhnik > *')) {
      if (el.hidden || getComputedStyle(el).display === 'none') continue;
      const r = el.getBoundingClientRect();
      out.push({ id: el.id, left: r.left, right: r.right });
    }
    return {
      width: window.innerWidth, ratio: window.devicePixelRatio, zoom: window.visualViewport.scale,
      scrollWidth: document.documentElement.scrollWidth, controls: out,
    };
  });
  check(layout.scrollWidth <= width, `the page scrolls sideways: ${layout.scrollWidth} px wide`);
  check(layout.controls.length === 11, `${layout.controls.length} visible controls`);
  for (const c of layout.controls) check(c.left >= 0 && c.right <= width, `${c.id} lies outside: ${c.left}..${c.right}`);
  return layout;
}
