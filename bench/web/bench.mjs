// The web edition's size and speed, side by side in one run with headless
// Debian chromium:
//  - the site's transfer without the font: each file of site/ at gzip -9,
//    summed (kB = 1000 bytes); the font subset as stored;
//  - time to interactive of the page against its floor (floor/index.html: the
//    same elements and styles, no WebAssembly), each from a fresh context,
//    alternating, median;
//  - one run on the page: "Изчисти", three presses on the canvas, "Изчисли",
//    up to the report laid out in the text area, median.
//
//   node bench/web/bench.mjs [BUILD_DIR] [SAMPLES]
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
const site = path.join(build, 'site');
const fontFile = 'liberation-serif.woff2';

const median = (xs) => { const s = [...xs].sort((a, b) => a - b); return s[Math.floor(s.length / 2)]; };
const gzip9 = (file) => execFileSync('gzip', ['-9c', file], { maxBuffer: 1 << 26 }).length;

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

// The server in a process of its own, as a web server is: in this one it
// would wait behind the browser's protocol messages.
const server = spawn(process.execPath, [path.join(source, 'web', 'serve.mjs'), build, '0'],
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

async function interactive(url) {
  const context = await browser.newContext({ viewport: { width: 800, height: 600 } });
  const page = await context.newPage();
  await page.goto(url);
  await page.waitForFunction(() => document.documentElement.dataset.ready === 'true');
  const t = await page.evaluate(() => performance.getEntriesByName('trivyrhnik-interactive')[0].startTime);
  await context.close();
  return t;
}

const page = [], floor = [];
await interactive(`${base}/site/`); // warm the browser itself once
await interactive(`${base}/floor/`);
for (let i = 0; i < samples; i++) {
  page.push(await interactive(`${base}/site/`));
  floor.push(await interactive(`${base}/floor/`));
}

// One run, through the page's own event listeners.
const context = await browser.newContext({ viewport: { width: 800, height: 600 } });
const p = await context.newPage();
await p.goto(`${base}/site/`);
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
  const times = [];
  for (let i = 0; i < count; i++) {
    const t0 = performance.now();
    document.getElementById('Command1_1').click();
    pressAt(10, 10); pressAt(50 + (i % 7), 10); pressAt(20, 20 + (i % 5));
    document.getElementById('Command1_0').click();
    void report.scrollHeight; // the report laid out
    times.push(performance.now() - t0);
    if (!report.value.startsWith('Ориентирано лице')) throw new Error('no report: ' + report.value.slice(0, 40));
  }
  return times;
}, 200);
await context.close();
await browser.close();
server.kill();

const ratio = median(page) / median(floor);
const ms = (v) => `${v.toFixed(1)} ms`;
console.log('| measurement | web edition | floor | ratio | target |');
console.log('|---|---|---|---|---|');
console.log(`| site's transfer without the font (gzip -9, sum) | ${(transfer / 1000).toFixed(1)} kB | | | ≤ 100 kB |`);
console.log(`| font subset (WOFF2, as stored) | ${(font / 1000).toFixed(1)} kB | | | ≤ 40 kB |`);
console.log(`| interactive, median of ${samples} fresh contexts | ${ms(median(page))} | ${ms(median(floor))} | ${ratio.toFixed(2)} | ≤ 1.2 |`);
console.log(`| one run: Изчисти, three presses, Изчисли, report laid out (median of 200) | ${median(runs).toFixed(2)} ms | | | ≤ 5 ms |`);
console.log(`| the single file (as stored) | ${(single / 1000).toFixed(1)} kB | | | |`);
console.log(`\nfiles (gzip -9 bytes): ${sizes.join(', ')}`);
const ok = transfer <= 100000 && font <= 40000 && ratio <= 1.2 && median(runs) <= 5;
console.log(ok ? 'all within target' : 'OUTSIDE TARGET');
process.exit(ok ? 0 : 1);
