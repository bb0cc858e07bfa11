// The web edition's size and speed, side by side in one run with headless
// Debian chromium:
//  - the site's transfer without the font: each file of site/ at gzip -9,
//    summed (kB = 1000 bytes); the font subset as stored;
//  - time to ready of the site against two floors, each page from a fresh
//    context, in turn, median: the floor page (floor/index.html: the same
//    elements and styles, no WebAssembly) and the empty-module floor, the
//    site's own page and loader with an empty 8-byte module instead of the
//    program (written here into floor-module/), which is what any page that
//    fetches and compiles a separate .wasm as the site does costs;
//  - one run on the page: "Изчисти", three presses on the canvas, "Изчисли",
//    up to the report laid out in the text area, median;
//  - a slow phone (CPU 6 times slower, DevTools' "slow 3G": 400 kbit/s each
//    way, 2 s round trip; 360 x 740 at ratio 3), cold (a first visit) and
//    from the offline cache (a later visit with no network, the service
//    worker stopped as after a restart): when the window shows (first
//    contentful paint: its boxes and colours; its texts follow once the
//    font is in, whose block period hides them until then), when the first
//    press is answered (its row in the list), and how many presses were
//    lost. From the moment the window
//    shows, the canvas is pressed every 100 ms, each time at another pixel,
//    until a row appears; the rows at the end tell which presses the program
//    got. A press is lost when a later one got through, or when fewer than
//    the three points that the window takes got through.
// Every file is served gzip-compressed, as web hosts do.
//
//   node bench/web/bench.mjs [BUILD_DIR] [SAMPLES] [PHONE_RUNS]
import { createRequire } from 'node:module';
import { execFileSync, spawn } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const source = path.resolve(here, '..', '..');
const { chromium } = createRequire(path.join(source, 'tests', 'web', 'package.json'))('playwright-core');
const build = path.resolve(process.argv[2] || path.join(source, 'build', 'web'));
const samples = Number(process.argv[3] || 21);
const phoneRuns = Number(process.argv[4] || 3);
const site = path.join(build, 'site');
const fontFile = 'liberation-serif.woff2';

const median = (xs) => { const s = [...xs].sort((a, b) => a - b); return s[Math.floor(s.length / 2)]; };
const gzip9 = (file) => execFileSync('gzip', ['-9c', file], { maxBuffer: 1 << 26 }).length;
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Sizes.
let transfer = 0;
const sizes = [];
for (const f of fs.readdirSync(site).sort()) {
  if (f === fontFile) continue;
  const g = gzip9(path.join(site, f));
  sizes.push(`${f} ${g}`);
  transfer += g;
}
if (!fs.existsSync(path.join(site, fontFile))) throw new Error('the site has no font file');
const font = fs.statSync(path.join(site, fontFile)).size;
const single = fs.statSync(path.join(build, 'trivyrhnik.html')).size;

// The empty-module floor: the site's files but its module and worker, an
// empty module (the 8 bytes of magic number and version) in the .wasm's
// place, and in the module script's place one that takes the compiled
// module through the same instantiateWasm hook as the program's script does
// and is ready once the instance and the font are (as the floor page is
// once its font is).
const moduleFloor = path.join(build, 'floor-module');
fs.rmSync(moduleFloor, { recursive: true, force: true });
fs.mkdirSync(moduleFloor);
for (const f of fs.readdirSync(site)) {
  if (!['trivyrhnik.js', 'trivyrhnik.wasm', 'sw.js'].includes(f)) fs.copyFileSync(path.join(site, f), path.join(moduleFloor, f));
}
fs.writeFileSync(path.join(moduleFloor, 'trivyrhnik.wasm'), Buffer.from([0, 0x61, 0x73, 0x6d, 1, 0, 0, 0]));
fs.writeFileSync(path.join(moduleFloor, 'trivyrhnik.js'), `(function () {
  'use strict';
  if (typeof Module === 'undefined' || !Module.instantiateWasm) throw new Error('the page has no instantiateWasm hook');
  Module.instantiateWasm({}, function () {
    document.fonts.ready.then(function () {
      document.documentElement.dataset.ready = 'true';
      performance.mark('trivyrhnik-interactive');
    });
  });
})();
`);

// The server in a process of its own, as a web server is: in this one it
// would wait behind the browser's protocol messages.
const server = spawn(process.execPath, [path.join(source, 'web', 'serve.mjs'), '--gzip', build, '0'],
  { stdio: ['ignore', 'pipe', 'inherit'] });
const base = await new Promise((resolve, reject) => {
  server.once('exit', (code) => reject(new Error(`the server ended (${code})`)));
  server.stdout.once('data', (d) => resolve(String(d).match(/http:\/\/127\.0\.0\.1:\d+/)[0]));
});
const browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});

async function timeToReady(url) {
  const context = await browser.newContext({ viewport: { width: 800, height: 600 } });
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(String(e)));
  await page.goto(url);
  await page.waitForFunction(() => document.documentElement.dataset.ready === 'true');
  const t = await page.evaluate(() => performance.getEntriesByName('trivyrhnik-interactive')[0].startTime);
  await context.close();
  if (errors.length) throw new Error(`${url}: ${errors.join('; ')}`);
  return t;
}

const pages = { site: `${base}/site/`, module: `${base}/floor-module/`, floor: `${base}/floor/` };
const times = { site: [], module: [], floor: [] };
for (const url of Object.values(pages)) await timeToReady(url); // warm the browser itself once
// Each sample visits the three in another order, so that none is always
// the one after another's.
const order = Object.keys(pages);
for (let i = 0; i < samples; i++) {
  for (let j = 0; j < order.length; j++) {
    const k = order[(i + j) % order.length];
    times[k].push(await timeToReady(pages[k]));
  }
}

// One run, through the page's own event listeners.
const context = await browser.newContext({ viewport: { width: 800, height: 600 } });
const p = await context.newPage();
await p.goto(pages.site);
await p.waitForFunction(() => document.documentElement.dataset.ready === 'true');
const runs = await p.evaluate((count) => {
  const canvas = document.getElementById('Picture1');
  const report = document.getElementById('Text1_0');
  const pressAt = (x, y) => {
    const r = canvas.getBoundingClientRect();
    canvas.dispatchEvent(new PointerEvent('pointerdown', {
      clientX: r.left + (x + 0.5) * r.width / 335, clientY: r.top + (y + 0.5) * r.height / 229, button: 0, bubbles: true,
    }));
  };
  const out = [];
  for (let i = 0; i < count; i++) {
    const t0 = performance.now();
    document.getElementById('Command1_1').click();
    pressAt(10, 10); pressAt(50 + (i % 7), 10); pressAt(20, 20 + (i % 5));
    document.getElementById('Command1_0').click();
    void report.scrollHeight; // the report laid out
    out.push(performance.now() - t0);
    if (!report.value.startsWith('Ориентирано лице')) throw new Error('no report: ' + report.value.slice(0, 40));
  }
  return out;
}, 200);
await context.close();

// ------------------------------------------------------------ slow phone

const PHONE = { viewport: { width: 360, height: 740 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true };
const SLOW_3G = { offline: false, latency: 2000, downloadThroughput: 50000, uploadThroughput: 50000 };
const PRESS_MS = 100;
const PRESSES_MAX = 300;

// The canvas's box on the phone, from a visit at full speed.
async function phoneCanvas() {
  const c = await browser.newContext(PHONE);
  const page = await c.newPage();
  await page.goto(pages.site);
  await page.waitForFunction(() => document.documentElement.dataset.ready === 'true');
  const box = await page.evaluate(() => {
    const r = document.getElementById('Picture1').getBoundingClientRect();
    return { left: r.left, top: r.top, width: r.width, height: r.height };
  });
  await c.close();
  return box;
}
const box = await phoneCanvas();
// Press k's logical pixel: each press another one, left to right in rows.
const pressPoint = (k) => [5 + 3 * (k % 100), 40 + 20 * Math.floor(k / 100)];

// Records on the page when the window shows and when each row of List1_0
// appears, and says so on the console at the first row.
function watchRows() {
  const seen = { rows: [] };
  window.trivyrhnikBench = seen;
  new MutationObserver((changes) => {
    for (const c of changes) {
      if (c.target.id !== 'List1_0') continue;
      for (let i = 0; i < c.addedNodes.length; i++) {
        if (!seen.rows.length) console.debug('trivyrhnik-bench: first row');
        seen.rows.push(performance.now());
      }
    }
  }).observe(document, { subtree: true, childList: true });
}

// One visit of the slow phone on `page`: presses from the window's first
// contentful paint until the first row, then the figures.
async function phoneVisit(page) {
  const cdp = await page.context().newCDPSession(page);
  await cdp.send('Emulation.setCPUThrottlingRate', { rate: 6 });
  await cdp.send('Page.enable');
  await cdp.send('Page.setLifecycleEventsEnabled', { enabled: true });
  await page.addInitScript(watchRows);
  let shown, answered;
  const painted = new Promise((resolve) => { shown = resolve; });
  const firstRow = new Promise((resolve) => { answered = resolve; });
  cdp.on('Page.lifecycleEvent', (e) => { if (e.name === 'firstContentfulPaint') shown(); });
  page.on('console', (m) => { if (m.text() === 'trivyrhnik-bench: first row') answered(); });
  const navigation = page.goto(pages.site, { waitUntil: 'commit', timeout: 120000 });
  await painted;
  // The presses, each sent on time, whether or not the page has taken the
  // one before.
  const sent = [];
  let rowSeen = false;
  firstRow.then(() => { rowSeen = true; });
  while (!rowSeen && sent.length < PRESSES_MAX) {
    const [x, y] = pressPoint(sent.length);
    const at = { x: box.left + (x + 0.5) * box.width / 335, y: box.top + (y + 0.5) * box.height / 229 };
    sent.push(cdp.send('Input.dispatchMouseEvent', { type: 'mousePressed', button: 'left', clickCount: 1, ...at })
      .then(() => cdp.send('Input.dispatchMouseEvent', { type: 'mouseReleased', button: 'left', clickCount: 1, ...at })));
    await Promise.race([sleep(PRESS_MS), firstRow]);
  }
  await Promise.all(sent);
  await navigation;
  await page.waitForFunction(() => document.documentElement.dataset.ready === 'true', null, { timeout: 120000 });
  await sleep(2000); // the presses still on their way
  const r = await page.evaluate(() => ({
    shown: performance.getEntriesByName('first-contentful-paint')[0].startTime,
    ready: performance.getEntriesByName('trivyrhnik-interactive')[0].startTime,
    font: performance.getEntriesByType('resource').find((e) => e.name.endsWith('.woff2'))?.responseEnd ?? NaN,
    firstRow: window.trivyrhnikBench.rows[0],
    xs: [...document.getElementById('List1_0').children].map((row) => Number(row.textContent)),
    ys: [...document.getElementById('List1_1').children].map((row) => Number(row.textContent)),
  }));
  await cdp.detach();
  // Which presses the rows are, in order.
  const got = r.xs.map((x, i) => {
    for (let k = 0; k < sent.length; k++) {
      const [px, py] = pressPoint(k);
      if (px === x && py === r.ys[i]) return k;
    }
    throw new Error(`a row (${x}, ${r.ys[i]}) that no press made`);
  });
  const inOrder = got.every((k, i) => i === 0 || got[i - 1] < k);
  const last = got.length ? got[got.length - 1] : -1;
  const lost = (last + 1 - got.length) + (got.length < 3 ? sent.length - 1 - last : 0);
  return { ...r, answered: r.firstRow - r.shown, presses: sent.length, lost, inOrder };
}

async function phoneCold() {
  const c = await browser.newContext(PHONE);
  const page = await c.newPage();
  const cdp = await c.newCDPSession(page);
  await cdp.send('Network.enable');
  await cdp.send('Network.emulateNetworkConditions', SLOW_3G);
  const compressed = [];
  page.on('response', async (res) => {
    if (res.url().endsWith('.wasm')) compressed.push((await res.allHeaders())['content-encoding'] === 'gzip');
  });
  try {
    const v = await phoneVisit(page);
    if (!compressed.length || !compressed.every(Boolean)) throw new Error('the wasm came without gzip');
    return v;
  } finally {
    await c.close();
  }
}

async function phoneFromCache() {
  const c = await browser.newContext(PHONE);
  try {
    const first = await c.newPage();
    await first.goto(pages.site);
    await first.waitForFunction(() => document.documentElement.dataset.ready === 'true');
    await first.evaluate(async () => {
      await navigator.serviceWorker.ready;
      if (!navigator.serviceWorker.controller) {
        await new Promise((resolve) => navigator.serviceWorker.addEventListener('controllerchange', resolve, { once: true }));
      }
    });
    await c.setOffline(true);
    const page = await c.newPage();
    await first.close();
    const cdp = await c.newCDPSession(page);
    await cdp.send('Network.enable');
    await cdp.send('Network.emulateNetworkConditions', { ...SLOW_3G, offline: true });
    await cdp.send('ServiceWorker.enable');
    await cdp.send('ServiceWorker.stopAllWorkers');
    const outside = [];
    page.on('response', (res) => { if (!res.fromServiceWorker()) outside.push(res.url()); });
    const v = await phoneVisit(page);
    if (outside.length) throw new Error(`not from the offline cache: ${outside.join(' ')}`);
    return v;
  } finally {
    await c.close();
  }
}

const phone = { cold: [], cache: [] };
for (let i = 0; i < phoneRuns; i++) {
  phone.cold.push(await phoneCold());
  phone.cache.push(await phoneFromCache());
}
await browser.close();
server.kill();

// ----------------------------------------------------------------- table

const ms = (v) => `${v.toFixed(1)} ms`;
const s = (v) => `${(v / 1000).toFixed(2)} s`;
const ready = { site: median(times.site), module: median(times.module), floor: median(times.floor) };
const ratio = ready.site / ready.module;
console.log('| measurement | web edition | floor | ratio | target |');
console.log('|---|---|---|---|---|');
console.log(`| site's transfer without the font (gzip -9, sum) | ${(transfer / 1000).toFixed(1)} kB | | | ≤ 100 kB |`);
console.log(`| font subset (WOFF2, as stored) | ${(font / 1000).toFixed(1)} kB | | | ≤ 40 kB |`);
console.log(`| ready, median of ${samples} fresh contexts, against the empty-module floor | ${ms(ready.site)} | ${ms(ready.module)} | ${ratio.toFixed(2)} | ≤ 1.15 |`);
console.log(`| the same against the floor without a module | ${ms(ready.site)} | ${ms(ready.floor)} | ${(ready.site / ready.floor).toFixed(2)} | |`);
console.log(`| the empty-module floor against the floor without a module | ${ms(ready.module)} | ${ms(ready.floor)} | ${(ready.module / ready.floor).toFixed(2)} | |`);
console.log(`| one run: Изчисти, three presses, Изчисли, report laid out (median of 200) | ${median(runs).toFixed(2)} ms | | | ≤ 5 ms |`);
console.log(`| the single file (as stored) | ${(single / 1000).toFixed(1)} kB | | | |`);
const phoneOk = {};
for (const [k, what, limit] of [['cold', 'cold', 1500], ['cache', 'from the offline cache', 500]]) {
  const v = phone[k];
  const answered = median(v.map((x) => x.answered));
  const lost = Math.max(...v.map((x) => x.lost));
  const order = v.every((x) => x.inOrder);
  phoneOk[k] = answered <= limit && lost === 0 && order;
  console.log(`| slow phone, ${what}: window shows (median of ${v.length}) | ${s(median(v.map((x) => x.shown)))} | | | |`);
  console.log(`| slow phone, ${what}: first press answered after the window shows | ${s(answered)} | | | ≤ ${s(limit)} |`);
  console.log(`| slow phone, ${what}: presses lost (most in one visit) | ${lost} of ${v.map((x) => x.presses).join(' / ')}${order ? '' : ', NOT IN ORDER'} | | | 0 |`);
}
console.log(`\nfiles (gzip -9 bytes): ${sizes.join(', ')}`);
console.log('slow phone visits: window shows (its boxes; the texts once the font is in), font in, program ready,');
console.log('first press answered after the window shows, presses from the window showing to the first row, lost:');
for (const [k, v] of Object.entries(phone)) {
  for (const x of v) {
    console.log(`  ${k}: ${s(x.shown)}, ${s(x.font)}, ${s(x.ready)}, ${s(x.answered)}, ${x.presses}, ${x.lost}${x.inOrder ? '' : ' (out of order)'}`);
  }
}
const ok = transfer <= 100000 && font <= 40000 && ratio <= 1.15 && median(runs) <= 5 && phoneOk.cold && phoneOk.cache;
console.log(ok ? 'all within target' : 'OUTSIDE TARGET');
process.exit(ok ? 0 : 1);
