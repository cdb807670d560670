// The browser engines the page is tested in, each behind the same small
// interface, so that one table of cases runs in all of them: Debian's
// Chromium and Firefox through puppeteer-core, WebKitGTK's MiniBrowser
// through its WebDriver and selenium-webdriver. Each browser runs with the
// test's time zone and saves downloads in a folder of the test's.
//
//   engine: {name, can: {clock, platform, stall, hooks, console, memory, print},
//            launch(work)}
//   browser: {open(options), memory(), close()}
//     open({clock: ms since 1970, windows: true, stallAfter: bytes,
//           failCompile: true, throwOnFirstSlice: true, watchCancel: true,
//           page: another page's file}) -> page
//   page: {fill, setFiles, count, text, attribute, waitUntil, evaluate,
//          download, pressTab, type, activeId, screenshot, pdf(file, paper
//          format), close, and what
//          the engine lets a test see: errors (console and page), requests}
'use strict';
const fs = require('node:fs');
const net = require('node:net');
const path = require('node:path');
const {spawn} = require('node:child_process');
const puppeteer = require('puppeteer-core');
const webdriver = require('selenium-webdriver');

const TIME_ZONE = 'Asia/Kathmandu';  // UTC+05:45: no whole-hour mistake passes
const PAGE = path.resolve(process.env.ZEPTOR_PAGE ||
                          path.join(__dirname, '../../../build-web/zeptor.html'));
const WEBKIT_PROCESSES = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/';
const MINIBROWSER = WEBKIT_PROCESSES + 'MiniBrowser';

// The script that makes the worker, and only it, see the clock at `time`
// or fail to compile the program, the page see `platform`, a file's byte
// stream stop answering after `stallAfter` bytes or note its cancelling
// (window.streamCancelled), and the page's first slice fail to go to the
// worker (noting every message type sent in window.postedTypes), before
// the page's own scripts run.
function initScript({clock, windows, stallAfter, failCompile, throwOnFirstSlice,
                     watchCancel}) {
  const parts = [];
  const workerPrefix = [];
  if (clock !== undefined) {
    workerPrefix.push(`{const D = Date; Date = class extends D {
        constructor(...a) { super(...(a.length ? a : [${clock}])); }
        static now() { return ${clock}; } };}`);
  }
  if (failCompile) {
    workerPrefix.push(`WebAssembly.instantiate = () =>
        Promise.reject(new Error('compile refused by the test'));`);
  }
  if (workerPrefix.length) {
    parts.push(`{const OriginalBlob = Blob;
      const prefix = ${JSON.stringify(workerPrefix.join('\n') + '\n')};
      self.Blob = class extends OriginalBlob {
        constructor(parts, options) {
          super(options && options.type === 'text/javascript' ? [prefix, ...parts] : parts,
                options);
        }
      };}`);
  }
  if (throwOnFirstSlice) {
    parts.push(`{const post = Worker.prototype.postMessage;
      window.postedTypes = [];
      let thrown = false;
      Worker.prototype.postMessage = function (message, ...rest) {
        window.postedTypes.push(message.type);
        if (message.type === 'slice' && !thrown) {
          thrown = true;
          throw new Error('slice refused by the test');
        }
        return post.call(this, message, ...rest);
      };}`);
  }
  if (watchCancel) {
    parts.push(`{const stream = Blob.prototype.stream;
      window.streamCancelled = false;
      Blob.prototype.stream = function () {
        const reader = stream.call(this).getReader();
        return new ReadableStream({type: 'bytes',
          async pull(controller) {
            const {value, done} = await reader.read();
            if (done) {
              controller.close();
              if (controller.byobRequest) controller.byobRequest.respond(0);
              return;
            }
            controller.enqueue(value);
          },
          cancel() { window.streamCancelled = true; }});
      };}`);
  }
  if (stallAfter !== undefined) {
    parts.push(`{const stream = Blob.prototype.stream;
      Blob.prototype.stream = function () {
        const reader = stream.call(this).getReader();
        let given = 0;
        return new ReadableStream({type: 'bytes', async pull(controller) {
          if (given >= ${stallAfter}) return new Promise(() => {});
          const {value, done} = await reader.read();
          if (done) {
            controller.close();
            if (controller.byobRequest) controller.byobRequest.respond(0);
            return;
          }
          given += value.byteLength;
          controller.enqueue(value);
        }});
      };}`);
  }
  if (windows) {
    parts.push(`Object.defineProperty(Navigator.prototype, 'platform',
                                      {get: () => 'Win32'});
                Object.defineProperty(Navigator.prototype, 'userAgentData',
                                      {get: () => ({platform: 'Windows'})});`);
  }
  return parts.join('\n');
}

// Waits for the file `name` to be saved in `dir`, and takes its bytes. A
// browser may make the file before it writes it: it is saved once it has
// bytes that stay the same for a moment (no download here is empty).
async function savedFile(dir, name, timeout = 60000) {
  const file = path.join(dir, name);
  let last = null;
  for (const end = Date.now() + timeout; Date.now() < end;) {
    await new Promise((resolve) => setTimeout(resolve, 100));
    const bytes = fs.existsSync(file) ? fs.readFileSync(file) : null;
    if (bytes && bytes.length > 0 && last && bytes.equals(last)) {
      fs.rmSync(file);
      return bytes;
    }
    last = bytes;
  }
  throw new Error('not downloaded: ' + name);
}

// The resident memory, in KiB, of the processes whose command line holds
// `marker`, read from /proc.
function processMemory(marker) {
  let total = 0;
  for (const pid of fs.readdirSync('/proc').filter((p) => /^\d+$/.test(p))) {
    try {
      const command = fs.readFileSync(`/proc/${pid}/cmdline`, 'latin1');
      if (!command.includes(marker)) continue;
      const status = fs.readFileSync(`/proc/${pid}/status`, 'latin1');
      total += Number(/VmRSS:\s+(\d+)/.exec(status)?.[1] || 0);
    } catch (gone) {
      // The process ended meanwhile.
    }
  }
  return total;
}

const environment = (extra = {}) => ({...process.env, TZ: TIME_ZONE, ...extra});

// ---------------------------------------------------------------------------
// Chromium and Firefox, through puppeteer-core.

function puppeteerEngine(name, launchOptions, processMarker) {
  return {
    name,
    can: {clock: true, platform: true, stall: true, hooks: true, console: true, memory: true,
          print: true},
    async launch(work) {
      const profile = fs.mkdtempSync(path.join(work, name + '-profile-'));
      const browser = await puppeteer.launch({
        headless: true, env: environment(), userDataDir: profile, ...launchOptions});
      return {
        open: (options = {}) => openPuppeteerPage(browser, work, options),
        memory: () => processMemory(processMarker),
        close: () => browser.close(),
      };
    },
  };
}

// Firefox's WebDriver BiDi has been seen to leave a navigation unanswered,
// once in many: such a page is given up and opened again.
async function openPuppeteerPage(browser, work, options, tries = 2) {
  try {
    return await tryOpenPuppeteerPage(browser, work, options);
  } catch (error) {
    if (tries <= 1 || error.name !== 'ProtocolError' && error.name !== 'TimeoutError') {
      throw error;
    }
    return openPuppeteerPage(browser, work, options, tries - 1);
  }
}

async function tryOpenPuppeteerPage(browser, work, options) {
  const downloads = fs.mkdtempSync(path.join(work, 'downloads-'));
  const context = await browser.createBrowserContext(
      {downloadBehavior: {policy: 'allow', downloadPath: downloads}});
  const page = await context.newPage();
  const errors = [];
  page.on('console', (message) => {
    if (message.type() === 'error') errors.push('console: ' + message.text());
  });
  page.on('pageerror', (error) => errors.push('page: ' + error.message));
  const requests = [];
  page.on('request', (request) => requests.push(request.url()));
  const script = initScript(options);
  if (script) await page.evaluateOnNewDocument(script);
  try {
    await page.goto('file://' + (options.page || PAGE), {timeout: 30000});
    await page.waitForSelector('body[data-ready]', {timeout: 30000});
  } catch (error) {
    await context.close().catch(() => {});
    throw error;
  }
  const nth = async (selector, index) => (await page.$$(selector))[index];
  return {
    fill: async (selector, text) => {
      await page.$eval(selector, (input) => { input.value = ''; });
      if (text) await page.type(selector, text);
    },
    setFiles: async (selector, paths) => (await page.$(selector)).uploadFile(...paths),
    count: async (selector) => (await page.$$(selector)).length,
    text: async (selector, index = 0) =>
      (await nth(selector, index)).evaluate((node) => node.textContent),
    attribute: (selector, name) =>
      page.$eval(selector, (node, attribute) => node.getAttribute(attribute), name),
    waitUntil: (predicate, arg, timeout = 600000) =>
      page.waitForFunction(predicate, {timeout, polling: 50}, arg),
    evaluate: (fn, ...args) => page.evaluate(fn, ...args),
    download: async (selector, index, name) => {
      await (await nth(selector, index)).click();
      return savedFile(downloads, name);
    },
    pressTab: () => page.keyboard.press('Tab'),
    type: (text) => page.keyboard.type(text),
    activeId: () => page.evaluate(() => document.activeElement.id),
    screenshot: (file) => page.screenshot({path: file, fullPage: true}),
    pdf: (file, format) => page.pdf({path: file, format}),
    errors,
    requests,
    close: () => context.close(),
  };
}

// ---------------------------------------------------------------------------
// WebKit: MiniBrowser through WebKitWebDriver, one browser per page. Its
// downloads go to the folder that the XDG user directories of its home
// name; classic WebDriver cannot add a script before the page's, nor read
// the console, and WebKit's driver cannot print.

function freePort() {
  return new Promise((resolve, reject) => {
    const server = net.createServer();
    server.on('error', reject);
    server.listen(0, '127.0.0.1', () => {
      const {port} = server.address();
      server.close(() => resolve(port));
    });
  });
}

const webkitEngine = {
  name: 'webkit',
  // WebKitWebDriver has no Print command.
  can: {clock: false, platform: false, stall: false, hooks: false, console: false,
        memory: true, print: false},
  async launch(work) {
    const home = fs.mkdtempSync(path.join(work, 'webkit-home-'));
    const downloads = path.join(home, 'downloads');
    fs.mkdirSync(path.join(home, '.config'), {recursive: true});
    fs.mkdirSync(downloads);
    fs.writeFileSync(path.join(home, '.config/user-dirs.dirs'),
                     `XDG_DOWNLOAD_DIR="${downloads}"\n`);
    const port = await freePort();
    const server = spawn('WebKitWebDriver', [`--port=${port}`],
                         {env: environment({HOME: home}), stdio: 'ignore'});
    const url = `http://127.0.0.1:${port}`;
    // Until the driver answers.
    for (let tries = 0; ; ++tries) {
      try {
        await fetch(url + '/status');
        break;
      } catch (notYet) {
        if (tries > 100) throw new Error('WebKitWebDriver did not start');
        await new Promise((resolve) => setTimeout(resolve, 100));
      }
    }
    return {
      open: (options = {}) => openWebKitPage(url, downloads, options.page || PAGE),
      memory: () => processMemory(WEBKIT_PROCESSES),
      close: async () => { server.kill(); },
    };
  },
};

async function openWebKitPage(url, downloads, file) {
  const {By, Key} = webdriver;
  const capabilities = new webdriver.Capabilities({
    browserName: 'MiniBrowser',
    'webkitgtk:browserOptions': {binary: MINIBROWSER, args: ['--automation']},
  });
  const driver = await new webdriver.Builder().usingServer(url)
                     .withCapabilities(capabilities).build();
  const run = (fn, ...args) =>
    driver.executeScript(`return (${fn}).apply(null, arguments)`, ...args);
  await driver.get('file://' + file);
  await driver.wait(async () => (await driver.findElements(By.css('body[data-ready]'))).length, 30000);
  // Selectors go to the page's own querySelectorAll: WebKitWebDriver's
  // element search matches none with :not().
  const nth = (selector, index) =>
    run((css, i) => document.querySelectorAll(css)[i], selector, index);
  return {
    fill: async (selector, text) => {
      const input = await driver.findElement(By.css(selector));
      await input.clear();
      if (text) await input.sendKeys(text);
    },
    setFiles: async (selector, paths) =>
      (await driver.findElement(By.css(selector))).sendKeys(paths.join('\n')),
    count: (selector) => run((css) => document.querySelectorAll(css).length, selector),
    text: (selector, index = 0) =>
      run((css, i) => document.querySelectorAll(css)[i].textContent, selector, index),
    attribute: async (selector, name) =>
      (await driver.findElement(By.css(selector))).getAttribute(name),
    // Each script stalls the page for a while: poll gently.
    waitUntil: (predicate, arg, timeout = 600000) =>
      driver.wait(() => run(predicate, arg), timeout, undefined, 500),
    evaluate: (fn, ...args) => run(fn, ...args),
    download: async (selector, index, name) => {
      await (await nth(selector, index)).click();
      return savedFile(downloads, name);
    },
    pressTab: () => driver.actions().sendKeys(Key.TAB).perform(),
    type: (text) => driver.actions().sendKeys(text).perform(),
    activeId: () => run(() => document.activeElement.id),
    screenshot: async (file) => fs.writeFileSync(file, await driver.takeScreenshot(), 'base64'),
    errors: [],
    requests: [],
    close: () => driver.quit(),
  };
}

const CHROMIUM_FLAGS = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
                        '--disable-background-networking', '--disable-component-update',
                        '--disable-sync'];

const ENGINES = [
  puppeteerEngine('chromium', {browser: 'chrome', executablePath: '/usr/bin/chromium',
                               args: CHROMIUM_FLAGS},
                  '/usr/lib/chromium/chromium'),
  // Firefox starts a spare content process for the next page at a time of
  // its own; its tens of MiB would count as the page's memory.
  puppeteerEngine('firefox', {browser: 'firefox', executablePath: '/usr/bin/firefox-esr',
                              extraPrefsFirefox: {'dom.ipc.processPrelaunch.enabled': false}},
                  '/usr/lib/firefox-esr/firefox-esr'),
  webkitEngine,
];

// The engines named in ZEPTOR_ENGINES (comma-separated), or all.
function engines() {
  const wanted = (process.env.ZEPTOR_ENGINES || '').split(',').filter(Boolean);
  return wanted.length ? ENGINES.filter((e) => wanted.includes(e.name)) : ENGINES;
}

module.exports = {engines, PAGE, TIME_ZONE};
