// The three browser engines behind one small interface, so that the same
// test cases run in each (engine_tests.mjs): Debian's chromium through
// playwright-core, Debian's firefox-esr through WebDriver BiDi
// (puppeteer-core) and WebKitGTK through webkit2gtk-driver's WebKitWebDriver
// (selenium-webdriver) under an Xvfb of its own. No browser is downloaded.
//
//   const b = await launch('firefox', { language: 'bg-BG', scale: 2 });
//   await b.goto(url); await b.press(120, 240); await b.click('#Command1_0');
//   const v = await b.evaluate((id) => document.getElementById(id).value, 'Text1_0');
//   await b.close();
//
// Each launch has a fresh profile and a viewport of `width` x `height` CSS
// pixels at `scale` device pixels each. The language is the browser's first
// one, set where each engine takes it: chromium's locale, Firefox's pref
// intl.accept_languages, WebKitGTK's LANG.
import { chromium } from 'playwright-core';
import puppeteer from 'puppeteer-core';
import { Builder, By, Origin } from 'selenium-webdriver';
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';

export const ENGINES = ['chromium', 'firefox', 'webkit'];

// WebKitGTK's own small browser, in the library's folder of the machine's
// architecture (libwebkit2gtk-4.1-0).
function miniBrowser() {
  for (const dir of fs.readdirSync('/usr/lib')) {
    const file = path.join('/usr/lib', dir, 'webkit2gtk-4.1', 'MiniBrowser');
    if (fs.existsSync(file)) return file;
  }
  throw new Error('no WebKitGTK MiniBrowser: scripts/install-deps installs webkit2gtk-driver');
}

// The Xvfb servers and drivers started here, ended with the process even
// when a case that timed out left its browser open (the browser ends with
// its display). playwright and puppeteer end their own browsers.
const started = new Set();
process.on('exit', () => { for (const p of started) p.kill(); });
function start(command, args, options) {
  const p = spawn(command, args, options);
  started.add(p);
  p.once('exit', () => started.delete(p));
  return p;
}

// The common part: a press at whole viewport pixels (WebDriver's actions
// take whole pixels, and Firefox and WebKit round them differently), a
// poll that waits for a condition on the page.
class Browser {
  constructor(engine) {
    this.engine = engine;
    // Errors the page raised or wrote to its console, as the engine tells them.
    this.errors = [];
  }

  async pageErrors() { return this.errors; }

  async waitFor(fn, arg, seconds = 30) {
    const end = Date.now() + seconds * 1000;
    for (;;) {
      if (await this.evaluate(fn, arg)) return;
      if (Date.now() > end) throw new Error(`${this.engine}: waited ${seconds} s in vain for ${fn}`);
      await new Promise((resolve) => setTimeout(resolve, 100));
    }
  }
}

function checkWhole(x, y) {
  if (!Number.isInteger(x) || !Number.isInteger(y)) throw new Error(`a press at (${x}, ${y}): whole pixels only`);
}

// Chromium (playwright) and Firefox (puppeteer) drive a page object with the
// same calls; this.page is it, once watched.
class PageBrowser extends Browser {
  watch(page) {
    this.page = page;
    page.on('pageerror', (e) => this.errors.push(String(e)));
    page.on('console', (m) => { if (m.type() === 'error') this.errors.push(m.text()); });
  }

  async goto(url) { await this.page.goto(url); }
  async evaluate(fn, arg) { return this.page.evaluate(fn, arg); }
  async press(x, y) { checkWhole(x, y); await this.page.mouse.click(x, y); }
  async click(selector) { await this.page.click(selector); }
}

class Chromium extends PageBrowser {
  static async launch(o) {
    const b = new Chromium('chromium');
    b.profile = fs.mkdtempSync(path.join(os.tmpdir(), 'trivyrhnik-chromium-'));
    b.context = await chromium.launchPersistentContext(b.profile, {
      executablePath: '/usr/bin/chromium',
      headless: true,
      args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
        '--disable-background-networking', '--disable-component-update', '--disable-sync'],
      locale: o.language,
      viewport: { width: o.width, height: o.height },
      deviceScaleFactor: o.scale,
      isMobile: o.phone,
      hasTouch: o.phone,
    });
    b.watch(b.context.pages()[0] || await b.context.newPage());
    return b;
  }

  async close() {
    await this.context.close();
    fs.rmSync(this.profile, { recursive: true, force: true });
  }
}

class Firefox extends PageBrowser {
  static async launch(o) {
    const b = new Firefox('firefox');
    // puppeteer makes the fresh profile and removes it on close.
    b.browser = await puppeteer.launch({
      browser: 'firefox',
      protocol: 'webDriverBiDi',
      executablePath: '/usr/bin/firefox-esr',
      headless: true,
      extraPrefsFirefox: { 'intl.accept_languages': o.language },
    });
    b.watch((await b.browser.pages())[0] || await b.browser.newPage());
    await b.page.setViewport({ width: o.width, height: o.height, deviceScaleFactor: o.scale });
    return b;
  }

  async close() { await this.browser.close(); }
}

function freePort() {
  return new Promise((resolve, reject) => {
    const s = net.createServer();
    s.once('error', reject);
    s.listen(0, '127.0.0.1', () => {
      const { port } = s.address();
      s.close(() => resolve(port));
    });
  });
}

// WebKitGTK's MiniBrowser in full-screen mode on an Xvfb screen of the
// viewport's size: its window cannot be made narrower than its toolbar
// (447 px), and in full-screen mode it has none. GDK_SCALE gives the device
// pixel ratio, whole numbers only.
class WebKit extends Browser {
  static async launch(o) {
    if (!Number.isInteger(o.scale)) throw new Error(`WebKitGTK takes whole device pixel ratios, not ${o.scale}`);
    const b = new WebKit('webkit');
    b.xvfb = start('Xvfb', ['-displayfd', '3', '-screen', '0', `${o.width * o.scale}x${o.height * o.scale}x24`,
      '-nolisten', 'tcp', '-noreset'], { stdio: ['ignore', 'ignore', 'pipe', 'pipe'] });
    const display = await new Promise((resolve, reject) => {
      let log = '';
      b.xvfb.stderr.on('data', (d) => { log += d; });
      b.xvfb.once('exit', (code) => reject(new Error(`Xvfb ended (${code}): ${log}`)));
      b.xvfb.stdio[3].once('data', (d) => resolve(`:${String(d).trim()}`));
    });
    try {
      const port = await freePort();
      // The browser's language is the process's: LANG, with nothing above it.
      const env = { ...process.env, DISPLAY: display, LANG: `${o.language.replace('-', '_')}.UTF-8`, GDK_SCALE: String(o.scale) };
      for (const k of Object.keys(env)) if (k === 'LANGUAGE' || k.startsWith('LC_')) delete env[k];
      b.driverProcess = start('/usr/bin/WebKitWebDriver', [`--port=${port}`], { env, stdio: ['ignore', 'ignore', 'inherit'] });
      const server = `http://127.0.0.1:${port}`;
      for (let i = 0; ; i++) {
        try {
          if ((await fetch(`${server}/status`)).ok) break;
        } catch (e) {
          if (i > 300) throw new Error(`WebKitWebDriver does not answer: ${e}`);
        }
        await new Promise((resolve) => setTimeout(resolve, 100));
      }
      b.driver = await new Builder().usingServer(server).withCapabilities({
        browserName: 'MiniBrowser',
        'webkitgtk:browserOptions': { binary: miniBrowser(), args: ['--automation', '--full-screen'] },
      }).build();
      // Full screen, the browser shows no toolbar; with no window manager
      // to make it fill the screen, the window takes the viewport's size.
      await b.driver.manage().window().setRect({ x: 0, y: 0, width: o.width, height: o.height });
      const wanted = [o.width, o.height, o.scale].join();
      for (let i = 0; ; i++) {
        const size = await b.driver.executeScript('return [innerWidth, innerHeight, devicePixelRatio]');
        if (size.join() === wanted) break;
        if (i > 100) throw new Error(`WebKitGTK's viewport is ${size}, not ${wanted}`);
        await new Promise((resolve) => setTimeout(resolve, 100));
      }
    } catch (e) {
      await b.close();
      throw e;
    }
    return b;
  }

  // WebKitWebDriver tells nothing of the page's errors, and the browser
  // writes no console to its output when it runs for the driver: the page
  // keeps them itself, from the moment it is loaded (an error before then
  // shows as a page that never gets ready). An alert, the program's message
  // box, fails the next command.
  async goto(url) {
    await this.driver.get(url);
    await this.evaluate(() => {
      const errors = window.trivyrhnikTestErrors = [];
      window.addEventListener('error', (e) => errors.push(String(e.message)));
      window.addEventListener('unhandledrejection', (e) => errors.push(String(e.reason)));
      const consoleError = console.error;
      console.error = (...args) => {
        errors.push(args.join(' '));
        consoleError.apply(console, args);
      };
    });
  }

  async pageErrors() {
    return [...this.errors, ...await this.evaluate(() => window.trivyrhnikTestErrors || [])];
  }

  // WebDriver's Execute Script waits for a promise that the function returns.
  async evaluate(fn, arg) {
    return this.driver.executeScript(`return (${fn}).apply(null, arguments)`, ...(arg === undefined ? [] : [arg]));
  }

  async press(x, y) {
    checkWhole(x, y);
    await this.driver.actions().move({ x, y, origin: Origin.VIEWPORT }).press().release().perform();
  }

  async click(selector) { await (await this.driver.findElement(By.css(selector))).click(); }
  async close() {
    try {
      if (this.driver) await this.driver.quit();
    } finally {
      this.driverProcess?.kill();
      this.xvfb.kill();
    }
  }
}

// A browser of the engine: a desktop window of 800 x 600 by default, or a
// phone's screen of 360 x 740 at ratio 3 (chromium also as a mobile device
// with touch; the others as a narrow window).
export async function launch(engine, { language = 'en-US', scale = 1, phone = false } = {}) {
  const o = phone ? { language, width: 360, height: 740, scale: 3, phone }
    : { language, width: 800, height: 600, scale, phone };
  switch (engine) {
  case 'chromium': return Chromium.launch(o);
  case 'firefox': return Firefox.launch(o);
  case 'webkit': return WebKit.launch(o);
  default: throw new Error(`no engine ${engine}: one of ${ENGINES.join(', ')}`);
  }
}
