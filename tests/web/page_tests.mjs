// Page tests of the web edition: Debian's chromium, driven by playwright-core,
// uses the built site (served on 127.0.0.1) and the single file as a pupil
// does: presses on the canvas, taps, list rows, buttons, the keyboard, the
// accessibility tree, offline after one visit and the file opened from disk;
// and as hosts and networks treat it: a damaged offline cache, an update
// that arrives in part, files that do not come or come late, a strict
// content security policy. Those last cases use nothing that only Chromium
// has, so that other engines can run them too.
//
//   node tests/web/page_tests.mjs [BUILD_DIR] [case name filter]
// BUILD_DIR defaults to build/web. The expected reports and drawings:
// page_checks.mjs. A subset runs in Firefox and WebKit too (engine_tests.mjs).
import { chromium } from 'playwright-core';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { serve, STRICT_POLICY } from '../../web/serve.mjs';
import {
  BLACK, RED, SURFACE, TRIANGLES, WHITE, canvasPixels, check, checkEqual,
  checkPaletteOnly, checkReport, checkSameRaster, enabledButtons, expectedRaster, expectedReport, lists,
  logicalAt, randomReport, randomTriangles, runCases, source, useBuild,
  checkEveryFileKept, checkFitsTheWidth,
} from './page_checks.mjs';

const build = path.resolve(process.argv[2] || path.join(source, 'build', 'web'));
const only = process.argv[3] || '';
useBuild(build);

const browserArgs = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

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

// Serves the build folder (or `root`, which holds a site/ of its own), with
// the options of web/serve.mjs.
async function withServer(body, options = {}, root = build) {
  const server = await serve(root, 0, options);
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

// The page's state as it settles after a navigation: 'ready', 'failed' (the
// pupil was told that the program cannot start) or '' when it does neither
// within the time; a reload of its own on the way is waited out.
async function settle(page, seconds = 30) {
  const until = Date.now() + seconds * 1000;
  while (Date.now() < until) {
    try {
      const state = await page.evaluate(() => {
        const d = document.documentElement.dataset;
        return d.ready === 'true' ? 'ready' : d.failed === 'true' ? 'failed' : '';
      });
      if (state) return state;
    } catch {
      // The page is on its way to the next document.
    }
    await page.waitForTimeout(100);
  }
  return '';
}

// Waits until the service worker controls the page, which it does once it
// keeps every file.
async function untilKept(page) {
  await page.evaluate(async () => {
    await navigator.serviceWorker.ready;
    if (!navigator.serviceWorker.controller) {
      await new Promise((resolve) => navigator.serviceWorker.addEventListener('controllerchange', resolve, { once: true }));
    }
  });
}

// The names of the site's caches, and the bytes of a file that a cache keeps.
async function cacheNames(page) {
  return page.evaluate(() => caches.keys());
}
async function cachedSize(page, file) {
  return page.evaluate(async (name) => {
    const hit = await caches.match(name);
    return hit ? (await hit.arrayBuffer()).byteLength : -1;
  }, file);
}

// The window as a pupil sees it: texts, rows, buttons.
async function windowState(page) {
  return page.evaluate(() => ({
    report: document.getElementById('Text1_0').value,
    lists: [0, 1, 2].map((i) => document.getElementById(`List1_${i}`).textContent),
    buttons: [0, 1, 2].map((i) => document.getElementById(`Command1_${i}`).disabled),
  }));
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


async function calculate(page, points) {
  for (const [x, y] of points) await press(page, x, y);
  await click(page, 'Command1_0');
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

// The focus when a button disables itself goes on to the next control in Tab
// order, as on the desktop, never to the page's body; a button that stays
// enabled keeps it.
for (const row of [
  { button: 'Command1_0', key: 'Enter', focused: 'Command1_1', afterTab: 'Picture1', rows: 3 },
  { button: 'Command1_0', key: 'Space', focused: 'Command1_1', afterTab: 'Picture1', rows: 3 },
  { button: 'Command1_0', key: 'click', focused: 'Command1_1', afterTab: 'Picture1', rows: 3 },
  { button: 'Command1_2', key: 'Enter', focused: 'Command1_2', afterTab: 'Picture1', rows: 2 },
  { button: 'Command1_1', key: 'Enter', focused: 'Command1_1', afterTab: 'Command1_2', rows: 0 },
]) {
  test(`focus: ${row.key} on ${row.button} leaves it on ${row.focused}`, () => withServer((url) =>
    withBrowser({}, async (page) => {
      await open(page, url);
      for (const [x, y] of TRIANGLES[0].points) await press(page, x, y);
      await page.click('#List1_1 > [role=option]:nth-child(2)');
      if (row.key === 'click') {
        await click(page, row.button);
      } else {
        await page.focus('#' + row.button);
        await page.keyboard.press(row.key);
      }
      checkEqual((await lists(page))[0].rows.length, row.rows, 'rows after the press');
      checkEqual(await page.evaluate(() => document.activeElement.id), row.focused, 'focused element');
      await page.keyboard.press('Tab');
      checkEqual(await page.evaluate(() => document.activeElement.id), row.afterTab, 'focused element after Tab');
    })));
}

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
    const layout = await checkFitsTheWidth(page, 360);
    checkEqual([layout.width, layout.zoom], [360, 1], 'layout width and zoom');
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
    await checkEveryFileKept(page);
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
    checkEqual(await page.evaluate(() => document.activeElement.id), 'Text1_0', 'focus at the start');
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

// ------------------------------------------------- start-up and the cache

const START_FAILURE = 'Програмата не можа да се зареди: ';
const startFailureLogged = (e) => e.startsWith(`trivyrhnik: ${START_FAILURE}`);

// A file of the offline cache cut in half, as a disk or an interrupted
// write leaves it. The page heals the cache from the network: it works again
// within two online reloads, and the cache keeps the whole file again.
for (const file of ['trivyrhnik.wasm', 'trivyrhnik.js', 'start.js', 'trivyrhnik.css']) {
  test(`a truncated ${file} in the offline cache: the page works again within two online reloads`, () => withServer((url) =>
    withBrowser({}, async (page) => {
      await open(page, url);
      await untilKept(page);
      const whole = fs.statSync(path.join(build, 'site', file)).size;
      checkEqual(await cachedSize(page, file), whole, `${file} as kept`);
      await page.evaluate(async (name) => {
        const cache = await caches.open((await caches.keys())[0]);
        const hit = await cache.match(name);
        const bytes = await hit.arrayBuffer();
        await cache.put(name, new Response(bytes.slice(0, bytes.byteLength >> 1), { headers: hit.headers }));
      }, file);
      checkEqual(await cachedSize(page, file), whole >> 1, `${file} cut in the cache`);
      // A file that does not stop the start (the style sheet) is mended
      // while the page is idle; the next reload has it whole.
      for (let reload = 1; reload <= 2; reload++) {
        await page.reload({ waitUntil: 'commit' });
        checkEqual(await settle(page), 'ready', `the page after reload ${reload}`);
        const until = Date.now() + 20000;
        while (await cachedSize(page, file) !== whole && Date.now() < until) await page.waitForTimeout(200);
        checkEqual(await cachedSize(page, file), whole, `${file} in the cache after reload ${reload}`);
      }
      await calculate(page, TRIANGLES[0].points);
      await checkReport(page, expectedReport('right.txt', '.'), `right triangle after the cut ${file}`);
    }, (e) => startFailureLogged(e) || /SyntaxError|CompileError|Unexpected end/.test(e))));
}

// A new version of the site beside the built one: the page marked as
// version 2, a wasm of its own (the built one with a custom section more)
// and its service worker written again from its files.
function newVersion(dir) {
  fs.cpSync(path.join(build, 'site'), dir, { recursive: true });
  const index = path.join(dir, 'index.html');
  const html = fs.readFileSync(index, 'utf8');
  check(html.includes('<html lang="bg">'), 'the page has no <html lang="bg">');
  fs.writeFileSync(index, html.replace('<html lang="bg">', '<html lang="bg" data-version="2">'));
  fs.appendFileSync(path.join(dir, 'trivyrhnik.wasm'), Buffer.from([0, 5, 4, ...Buffer.from('ver2')]));
  execFileSync('cmake', [`-DSITE=${dir}`, `-DTEMPLATE=${path.join(source, 'web', 'sw.js.in')}`,
    '-P', path.join(source, 'web', 'make_sw.cmake')]);
}

// Asks the browser to look for a new service worker and waits until it has
// installed it or given it up.
async function update(page) {
  await page.evaluate(async () => {
    const registration = await navigator.serviceWorker.getRegistration();
    try {
      await registration.update();
    } catch {
      // An install that fails may reject the update; the caches tell.
    }
    while (registration.installing) await new Promise((resolve) => setTimeout(resolve, 50));
  });
}

// An update whose wasm is not yet the new one: the old version goes on,
// online and offline, and the new one comes once its wasm does.
const oldWasm = () => fs.readFileSync(path.join(build, 'site', 'trivyrhnik.wasm'));
const STALE_UPDATES = [
  { what: 'a filter answers the wasm with an HTML page',
    reply: () => ({ status: 200, type: 'text/html; charset=utf-8', body: '<!DOCTYPE html><html><body>Blocked by the school filter</body></html>' }) },
  { what: 'the old wasm is still there (uploaded file by file)',
    reply: () => ({ status: 200, type: 'application/wasm', body: oldWasm() }) },
];
for (const row of STALE_UPDATES) test(`an update where ${row.what}: the old version goes on, the new one comes with the real file`, async () => {
  const root = fs.mkdtempSync(path.join(os.tmpdir(), 'trivyrhnik-update-'));
  const site = path.join(root, 'site'), next = path.join(root, 'next');
  fs.cpSync(path.join(build, 'site'), site, { recursive: true });
  newVersion(next);
  let filtered = false;
  const answer = (name) => (filtered && name.endsWith('/trivyrhnik.wasm') ? row.reply() : null);
  try {
    await withServer((url) => withBrowser({}, async (page, context) => {
      await open(page, url);
      await untilKept(page);
      const [first] = await cacheNames(page);
      // The new version goes up while a filter answers its wasm.
      fs.cpSync(next, site, { recursive: true });
      filtered = true;
      for (let i = 0; i < 2; i++) {
        await page.reload();
        checkEqual(await settle(page), 'ready', `reload ${i + 1} under the filter`);
        await update(page);
        checkEqual(await cacheNames(page), [first], 'the caches under the filter');
        checkEqual(await page.evaluate(() => document.documentElement.dataset.version), undefined, 'version under the filter');
        await calculate(page, TRIANGLES[0].points);
        await checkReport(page, expectedReport('right.txt', '.'), 'the old version under the filter');
      }
      await context.setOffline(true);
      await page.reload();
      checkEqual(await settle(page), 'ready', 'offline under the filter');
      await calculate(page, TRIANGLES[1].points);
      await checkReport(page, expectedReport('obtuse.txt', '.'), 'the old version offline');
      await context.setOffline(false);
      // The real file arrives.
      filtered = false;
      await page.reload();
      checkEqual(await settle(page), 'ready', 'reload once the real file is there');
      await update(page);
      const until = Date.now() + 20000;
      let names = await cacheNames(page);
      while ((names.length !== 1 || names[0] === first) && Date.now() < until) {
        await page.waitForTimeout(200);
        names = await cacheNames(page);
      }
      check(names.length === 1 && names[0] !== first, `the caches once the real file is there: ${names.join(', ')}`);
      await page.reload();
      checkEqual(await settle(page), 'ready', 'the new version');
      checkEqual(await page.evaluate(() => document.documentElement.dataset.version), '2', 'version after the update');
      await calculate(page, TRIANGLES[2].points);
      await checkReport(page, expectedReport('acute.txt', '.'), 'the new version');
    }), { answer }, root);
  } finally {
    fs.rmSync(root, { recursive: true, force: true });
  }
});

// A first visit whose files do not come: the pupil is told in the
// program's words, in a message box and in the report box, and the surface
// no longer shows the busy cursor.
const BROKEN_STARTS = [
  { what: 'the wasm answers 404', file: 'trivyrhnik.wasm', reply: { status: 404, body: 'not found' },
    message: `${START_FAILURE}trivyrhnik.wasm: 404` },
  { what: "the module's script answers 404", file: 'trivyrhnik.js', reply: { status: 404, body: 'not found' },
    message: `${START_FAILURE}trivyrhnik.js` },
  { what: 'the wasm answers with an HTML page', file: 'trivyrhnik.wasm',
    reply: { status: 200, type: 'text/html', body: '<!DOCTYPE html><p>Blocked</p>' },
    message: new RegExp(`^${START_FAILURE}CompileError: `) },
];
for (const row of BROKEN_STARTS) {
  test(`a first visit where ${row.what}: the pupil sees why, in Bulgarian`, () => withServer((url) =>
    withBrowser({}, async (page) => {
      const boxes = [];
      page.on('dialog', (d) => { boxes.push(d.message()); return d.accept(); });
      await page.goto(url);
      checkEqual(await settle(page), 'failed', 'the page');
      const until = Date.now() + 5000;
      while (boxes.length === 0 && Date.now() < until) await page.waitForTimeout(100);
      checkEqual(boxes.length, 1, 'message boxes');
      const ok = row.message instanceof RegExp ? row.message.test(boxes[0]) : boxes[0] === row.message;
      check(ok, `the message box says ${JSON.stringify(boxes[0])}, expected ${row.message}`);
      checkEqual((await windowState(page)).report, boxes[0], 'the report box');
      check(await page.evaluate(() => getComputedStyle(document.getElementById('Picture1')).cursor) !== 'progress',
        'the surface still shows the busy cursor');
    }, (e) => startFailureLogged(e) || /status of 404|CompileError/.test(e)),
  { answer: (name) => (name.endsWith(`/${row.file}`) ? row.reply : null) }));
}

// Presses made while the program loads (its wasm or its script held back
// three seconds) reach it in order once it has started; meanwhile the
// surface shows the busy cursor and nothing else in the window changes.
const A = [10, 10], B = [40, 10], C = [10, 50];
const EARLY = [
  { what: 'three presses, the wasm late', late: 'trivyrhnik.wasm', presses: [A, B, C], rows: [A, B, C] },
  { what: "three presses, the module's script late", late: 'trivyrhnik.js', presses: [A, B, C], rows: [A, B, C] },
  { what: 'three taps, the wasm late', late: 'trivyrhnik.wasm', touch: true, presses: [A, B, C], rows: [A, B, C] },
  { what: 'two presses, Изчисти and a press, the wasm late', late: 'trivyrhnik.wasm', presses: [A, B, 'Command1_1', C], rows: [C] },
];
for (const row of EARLY) {
  test(`before the program has started: ${row.what}, kept in order`, () => withServer((url) =>
    withBrowser({ hasTouch: Boolean(row.touch) }, async (page) => {
      await page.goto(url, { waitUntil: 'commit' });
      // The window shows once its style has come.
      await page.waitForFunction(() => {
        const canvas = document.getElementById('Picture1');
        return canvas && getComputedStyle(canvas).cursor === 'progress';
      }, null, { timeout: 15000, polling: 20 });
      const before = await windowState(page);
      for (const p of row.presses) {
        if (typeof p === 'string') await (row.touch ? page.tap(`#${p}`) : page.click(`#${p}`));
        else if (row.touch) await tap(page, p[0], p[1]);
        else await press(page, p[0], p[1]);
      }
      const loading = await page.evaluate(() => ({
        ready: document.documentElement.dataset.ready === 'true',
        cursor: getComputedStyle(document.getElementById('Picture1')).cursor,
      }));
      checkEqual(loading, { ready: false, cursor: 'progress' }, 'while the program loads');
      checkEqual(await windowState(page), before, 'the window while the program loads');
      const state = await settle(page);
      check(state === 'ready', `the page: ${state}; its report box: ${(await windowState(page)).report.slice(0, 200)}`);
      const l = await lists(page);
      checkEqual([l[0].rows, l[1].rows], [row.rows.map((p) => String(p[0])), row.rows.map((p) => String(p[1]))],
        'the rows of the early presses');
      check(await page.evaluate(() => getComputedStyle(document.getElementById('Picture1')).cursor) !== 'progress',
        'the busy cursor once the program has started');
      if (row.rows.length === 3) {
        await click(page, 'Command1_0');
        await checkReport(page, expectedReport('right.txt', '.'), 'the early presses\' triangle');
      }
    }), { answer: (name) => (name.endsWith(`/${row.late}`) ? { delay: 3000 } : null) }));
}

test('served with a strict policy: no violation, the same layout to the pixel, the service worker, right reports', async () => {
  const shots = [];
  for (const policy of [null, STRICT_POLICY]) {
    await withServer((url) => withBrowser({}, async (page) => {
      await page.addInitScript(() => {
        window.trivyrhnikViolations = [];
        document.addEventListener('securitypolicyviolation',
          (e) => window.trivyrhnikViolations.push(`${e.violatedDirective} ${e.blockedURI}`));
      });
      const response = await page.goto(url);
      checkEqual(response.headers()['content-security-policy'], policy || undefined, 'the policy sent');
      checkEqual(await settle(page), 'ready', `the page, policy ${policy}`);
      await page.evaluate(() => document.fonts.ready);
      shots.push(await page.screenshot());
      if (!policy) return;
      await untilKept(page);
      await calculate(page, TRIANGLES[1].points);
      await checkReport(page, expectedReport('obtuse.txt', '.'), 'obtuse under the policy');
      checkEqual(await page.evaluate(() => window.trivyrhnikViolations), [], 'violations of the policy');
      // So does the benchmark's floor, which scripts/web serve serves so too.
      await page.goto(url.replace(/\/site\/$/, '/floor/'));
      checkEqual(await settle(page), 'ready', 'the floor under the policy');
      checkEqual(await page.evaluate(() => window.trivyrhnikViolations), [], 'violations of the policy on the floor');
    }), policy ? { headers: { 'Content-Security-Policy': policy } } : {});
  }
  check(shots[0].equals(shots[1]), 'the page under the policy does not look as without it');
});

// The drawing's finest scale is the same at start and after a resize; the
// report box has a line height of its own (6 lines in every engine).
test('one finest scale for the drawing, at start and after a resize; the report box shows 6 lines', () => withServer((url) =>
  withBrowser({ viewport: { width: 470, height: 400 }, deviceScaleFactor: 9 }, async (page) => {
    await open(page, url);
    const scale = () => page.evaluate(() => {
      const c = document.getElementById('Picture1');
      return [Number(c.dataset.scale), c.width];
    });
    checkEqual(await scale(), [8, 335 * 8], 'scale at start');
    await page.setViewportSize({ width: 520, height: 420 });
    await page.waitForTimeout(300);
    checkEqual(await scale(), [8, 335 * 8], 'scale after a resize');
    const box = await page.evaluate(() => {
      const t = document.getElementById('Text1_0');
      const s = getComputedStyle(t);
      return { lineHeight: s.lineHeight, inner: t.clientHeight - parseFloat(s.paddingTop) - parseFloat(s.paddingBottom) };
    });
    check(/^[0-9.]+px$/.test(box.lineHeight), `the report box's line height is ${box.lineHeight}`);
    checkEqual(Math.floor(box.inner / parseFloat(box.lineHeight)), 6, 'whole lines in the report box');
  })));

// ------------------------------------------------------------------- main

await runCases(cases, only);
