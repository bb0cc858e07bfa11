// The page tests that every engine must pass, one set of cases for chromium,
// Firefox and WebKit (engines.mjs): the reports in both decimal separators,
// the canvas's pixels at ratios 1 and 2 equal to the in-memory window's
// drawing (the same one the chromium tests compare with), the fit to a
// phone's width and the site offline after one visit. The rest of the page's
// behaviour is tested in chromium (page_tests.mjs).
//
//   node tests/web/engine_tests.mjs ENGINE [BUILD_DIR] [case name filter]
// ENGINE is chromium, firefox or webkit; BUILD_DIR defaults to build/web.
//
// Presses go to whole viewport pixels (WebDriver's actions take no
// fractions): each point is pressed at a whole pixel inside its logical
// pixel of the surface, and where a narrow screen leaves a logical pixel
// without one, the nearest pixel that has one is used instead.
import path from 'node:path';
import { ENGINES, launch } from './engines.mjs';
import { serve } from '../../web/serve.mjs';
import {
  SURFACE, TRIANGLES, canvasPixels, check, checkEqual, checkPaletteOnly, checkReport, checkSameRaster,
  enabledButtons, expectedRaster, expectedReport, lists, randomReport, randomTriangles, runCases, source, useBuild,
  checkEveryFileKept, checkFitsTheWidth,
} from './page_checks.mjs';

const engine = process.argv[2];
if (!ENGINES.includes(engine)) {
  console.error(`usage: engine_tests.mjs ${ENGINES.join('|')} [BUILD_DIR] [case name filter]`);
  process.exit(2);
}
const build = path.resolve(process.argv[3] || path.join(source, 'build', 'web'));
const only = process.argv[4] || '';
useBuild(build);

// The site on 127.0.0.1 until `stop` (which is also how the site goes
// offline: every request then fails, as without a network).
async function site() {
  const server = await serve(build);
  return {
    url: `http://127.0.0.1:${server.address().port}/site/`,
    stop() {
      server.closeAllConnections();
      server.close();
    },
  };
}

// A browser of the engine for one case; an error on the page fails it.
async function withBrowser(options, body) {
  const b = await launch(engine, options);
  try {
    await body(b);
    const errors = await b.pageErrors();
    check(errors.length === 0, `page errors: ${errors.join('; ')}`);
  } finally {
    await b.close();
  }
}

async function withSite(options, body) {
  const s = await site();
  try {
    await withBrowser(options, (b) => body(b, s.url));
  } finally {
    s.stop();
  }
}

async function open(b, url) {
  await b.goto(url);
  await b.waitFor(() => document.documentElement.dataset.ready === 'true', undefined, 30);
}

function surfaceBox(b) {
  return b.evaluate(() => {
    const r = document.getElementById('Picture1').getBoundingClientRect();
    return { left: r.left, top: r.top, width: r.width, height: r.height };
  });
}

// A whole viewport coordinate inside logical pixel `i` of the surface's
// axis, the nearest to its middle (its left or top edge belongs to it), or
// null.
function wholeInside(start, length, count, i) {
  const step = length / count, from = start + i * step, to = from + step;
  for (const v of [Math.round(from + step / 2), Math.ceil(from)]) {
    if (v >= from && v < to) return v;
  }
  return null;
}

// The point itself where it can be pressed, else the nearest that can.
function pressable(box, [x, y]) {
  let best = null;
  for (let dx = -3; dx <= 3; dx++) {
    for (let dy = -3; dy <= 3; dy++) {
      const px = wholeInside(box.left, box.width, SURFACE.width, x + dx);
      const py = wholeInside(box.top, box.height, SURFACE.height, y + dy);
      if (px === null || py === null || x + dx < 0 || y + dy < 0) continue;
      if (!best || dx * dx + dy * dy < best.d) best = { d: dx * dx + dy * dy, point: [x + dx, y + dy], at: [px, py] };
    }
  }
  check(best, `no whole viewport pixel near (${x}, ${y})`);
  return best;
}

// Presses the points; returns the points pressed (moved only where needed).
async function pressPoints(b, points) {
  const box = await surfaceBox(b);
  const pressed = [];
  for (const p of points) {
    const { point, at } = pressable(box, p);
    await b.press(at[0], at[1]);
    pressed.push(point);
  }
  return pressed;
}

async function checkPoints(b, points, what) {
  const l = await lists(b);
  checkEqual(l[0].rows, points.map((p) => String(p[0])), `${what}: List1_0`);
  checkEqual(l[1].rows, points.map((p) => String(p[1])), `${what}: List1_1`);
  checkEqual(l[2].rows, points.map((p) => String(SURFACE.height - p[1])), `${what}: hidden List1_2`);
}

// ------------------------------------------------------------------ cases

const cases = [];
const test = (name, body) => cases.push({ name: `${engine}: ${name}`, body });

for (const [language, separator, seed] of [['en-US', '.', 20261209], ['bg-BG', ',', 4711]]) {
  test(`reports ${language}: the acceptance triangles and random ones, line by line`, () =>
    withSite({ language }, async (b, url) => {
      await open(b, url);
      checkEqual(await b.evaluate(() => navigator.languages[0]), language, 'browser language');
      const all = [...TRIANGLES.map((t) => ({ ...t, expected: expectedReport(t.file, separator) })),
        ...randomTriangles(5, seed).map((points) => ({ file: `random ${JSON.stringify(points)}`, points }))];
      for (const t of all) {
        await b.click('#Command1_1');
        checkEqual(await pressPoints(b, t.points), t.points, `${t.file}: points pressed`);
        await checkPoints(b, t.points, t.file);
        await b.click('#Command1_0');
        await checkReport(b, t.expected ?? randomReport(t.points, separator), `${language} ${t.file}`);
        checkEqual(await enabledButtons(b), [false, true, false], `${t.file}: buttons after the run`);
      }
    }));
}

for (const [scale, t] of [[1, TRIANGLES[1]], [2, TRIANGLES[4]]]) {
  test(`${t.file} at device pixel ratio ${scale}: the canvas shows the shared drawing, in the palette only`, () =>
    withSite({ scale }, async (b, url) => {
      await open(b, url);
      checkEqual(await pressPoints(b, t.points), t.points, 'points pressed');
      await b.click('#Command1_0');
      await checkReport(b, expectedReport(t.file, '.'), t.file);
      const img = await canvasPixels(b);
      checkEqual([img.width, img.height, img.scale, img.css], [335 * scale, 229 * scale, scale, 335],
        'canvas size, scale and CSS width');
      checkPaletteOnly(img, t.file);
      checkSameRaster(img, expectedRaster(scale, t.points), `${t.file} at scale ${scale}`);
    }));
}

test('phone 360 x 740 at ratio 3: fitted to the width, no sideways scroll, presses on the right pixel', () =>
  withSite({ phone: true }, async (b, url) => {
    await open(b, url);
    const layout = await checkFitsTheWidth(b, 360);
    checkEqual([layout.width, layout.ratio], [360, 3], 'layout width and ratio');
    // The right triangle, or as near to it as whole viewport pixels reach.
    const points = await pressPoints(b, TRIANGLES[0].points);
    await checkPoints(b, points, 'pressed on the phone');
    await b.click('#Command1_0');
    await checkReport(b, randomReport(points, '.'), `phone ${JSON.stringify(points)}`);
    const img = await canvasPixels(b);
    const scale = 3 * 360 / 461;
    checkEqual([img.width, img.scale], [Math.round(335 * scale), scale], 'canvas at the phone\'s own pixels');
    checkSameRaster(img, expectedRaster(scale, points), 'the phone\'s drawing');
  }));

test('offline after one visit: the service worker keeps every file', () => withBrowser({}, async (b) => {
  const s = await site();
  try {
    await open(b, s.url);
    await checkEveryFileKept(b);
  } finally {
    s.stop();
  }
  await open(b, s.url);
  check(await b.evaluate(() => navigator.serviceWorker.controller !== null), 'the page came without its worker');
  checkEqual(await pressPoints(b, TRIANGLES[0].points), TRIANGLES[0].points, 'points pressed offline');
  await b.click('#Command1_0');
  await checkReport(b, expectedReport('right.txt', '.'), 'offline right triangle');
}));

await runCases(cases, only);
