// The built page in headless Chromium, opened from file://: it must give
// the command line's report, or its error text, for every print file.
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const {spawnSync} = require('node:child_process');
const {chromium} = require('playwright-core');
const {browserMemory} = require('./support/browser_memory.js');
const {printFiles, pair, MAGIC} = require('./support/print_files.js');

const ROOT = path.join(__dirname, '../..');
const PAGE = path.resolve(process.env.ZEPTOR_PAGE || path.join(ROOT, 'build-web/zeptor.html'));
const NATIVE = path.resolve(process.env.ZEPTOR_NATIVE || path.join(ROOT, 'build/zeptor'));
const CHROMIUM = process.env.ZEPTOR_CHROMIUM || '/usr/bin/chromium';
const TIME_ZONE = 'Asia/Kathmandu';  // UTC+05:45: no whole-hour mistake passes
const RUN_TIME = /^System run time:     (.*)\n/;

let browser;
const requests = [];
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'zeptor-page-'));

test.before(async () => {
  browser = await chromium.launch({
    executablePath: CHROMIUM,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update',
           '--disable-sync'],
  });
});
test.after(async () => {
  await browser.close();
  fs.rmSync(work, {recursive: true, force: true});
});

async function openPage(options = {}) {
  const context = await browser.newContext({timezoneId: TIME_ZONE, ...options});
  const page = await context.newPage();
  page.on('request', (request) => requests.push(request.url()));
  page.on('pageerror', (error) => assert.fail('page error: ' + error.message));
  await page.goto('file://' + PAGE);
  await page.waitForSelector('body[data-ready]');
  return page;
}

function writePrintFiles(files) {
  const dir = fs.mkdtempSync(path.join(work, 'files-'));
  return Object.entries(files).map(([name, bytes]) => {
    fs.writeFileSync(path.join(dir, name), bytes);
    return path.join(dir, name);
  });
}

// Runs the page on `paths`; returns per file its exit status, error text
// and the downloaded report's bytes (null without a report).
async function runPage(page, paths, accession = '') {
  await page.fill('#accession', accession);
  const before = await page.locator('.run').count();
  await page.setInputFiles('#files', paths);
  const runs = page.locator('.run');
  await page.waitForFunction(
      (n) => document.querySelectorAll('.run:not([aria-busy])').length === n,
      before + paths.length, {timeout: 600000});
  const results = [];
  for (let i = before; i < before + paths.length; ++i) {
    const run = runs.nth(i);
    const status = Number(/Exit status (\d+)/.exec(await run.locator('.status').textContent())[1]);
    const errors = (await run.locator('pre.errors').count())
        ? await run.locator('pre.errors').textContent() : '';
    let report = null;
    if (await run.locator('a.download').count()) {
      const [download] = await Promise.all([page.waitForEvent('download'),
                                            run.locator('a.download').click()]);
      report = fs.readFileSync(await download.path());
    }
    results.push({status, errors, report});
  }
  return results;
}

// The command line on the same file: status, error stream, output file.
function runCommandLine(file, accession = '') {
  const dir = path.dirname(file);
  const name = path.basename(file);
  const output = name.replace(/\.[^.]*$/, '') + '.rpt';
  const args = [name, output];
  if (accession) args.push(accession);
  const result = spawnSync(NATIVE, args, {cwd: dir, maxBuffer: 1 << 30});
  return {status: result.status, errors: result.stderr.toString('latin1'),
          report: fs.readFileSync(path.join(dir, output))};
}

const masked = (bytes) => bytes.toString('latin1').replace(RUN_TIME, '<run time>\n');

test('gives the command line\'s report or error text for every print file',
     {timeout: 600000}, async () => {
  const paths = writePrintFiles(printFiles());
  // A page may start only so many downloads before the browser asks the
  // user to allow more.
  const results = [];
  for (let first = 0; first < paths.length; first += 6) {
    const page = await openPage();
    results.push(...await runPage(page, paths.slice(first, first + 6), 'GPS1040'));
    await page.context().close();
  }
  paths.forEach((file, i) => {
    const expected = runCommandLine(file, 'GPS1040');
    const name = path.basename(file);
    assert.strictEqual(results[i].status, expected.status, name);
    assert.strictEqual(results[i].errors, expected.errors, name);
    if (expected.status === 0) {
      assert.strictEqual(masked(results[i].report), masked(expected.report), name);
    } else {
      assert.strictEqual(results[i].report, null, name);
      assert.strictEqual(expected.report.length, 0, name);
    }
  });
  const statuses = results.map((result) => result.status);
  for (const status of [0, 5, 7]) assert.ok(statuses.includes(status), String(status));
});

// zeptor's form of a time: "Date: Thr Jan 9, 2003  Time: 18:51:48 pm".
function zeptorTime(date) {
  const days = ['Sun', 'Mon', 'Tue', 'Wed', 'Thr', 'Fri', 'Sat'];
  const months = ['Jan', 'Feb', 'Mar', 'Apr', 'May', 'Jun', 'Jul', 'Aug', 'Sep',
                  'Oct', 'Nov', 'Dec'];
  const two = (n) => String(n).padStart(2, '0');
  return `Date: ${days[date.getDay()]} ${months[date.getMonth()]} ${date.getDate()}, ` +
         `${date.getFullYear()}  Time: ${two(date.getHours())}:${two(date.getMinutes())}:` +
         `${two(date.getSeconds())} ${date.getHours() > 11 ? 'pm' : 'am'}`;
}

test('gives the example\'s report, timed by the browser\'s clock and zone', async () => {
  const page = await openPage();
  const times = () => page.evaluate(
      (form) => new Function('date', 'return (' + form + ')(date)')(new Date()),
      zeptorTime.toString());
  const [file] = writePrintFiles({'survey.prt': printFiles()['survey.prt']});
  const before = await times();
  const [result] = await runPage(page, [file], 'GPS1040');
  const after = await times();
  const runTime = RUN_TIME.exec(result.report.toString('latin1'))[1];
  assert.ok(runTime === before || runTime === after, runTime + ' vs ' + before);
  const expected = fs.readFileSync(path.join(ROOT, 'report/testdata/survey.expected'), 'latin1');
  assert.strictEqual(result.report.toString('latin1').replace(RUN_TIME, ''),
                     expected.replace(/^.*\n/, '').replace('out.rpt', 'survey.rpt'));
  await page.context().close();
});

// Runs the worker, and only it, as if the clock showed `when`.
async function openPageAt(when) {
  const context = await browser.newContext({timezoneId: TIME_ZONE});
  await context.addInitScript((time) => {
    const OriginalBlob = Blob;
    const clock = `{const D = Date; Date = class extends D {
        constructor(...a) { super(...(a.length ? a : [${time}])); }
        static now() { return ${time}; } };}\n`;
    self.Blob = class extends OriginalBlob {
      constructor(parts, options) {
        super(options && options.type === 'text/javascript' ? [clock, ...parts] : parts,
              options);
      }
    };
  }, when.getTime());
  const page = await context.newPage();
  await page.goto('file://' + PAGE);
  await page.waitForSelector('body[data-ready]');
  return page;
}

test('takes years past 2038 from the clock, and refuses one after 2050', async () => {
  const [file] = writePrintFiles({'survey.prt': printFiles()['survey.prt']});
  let page = await openPageAt(new Date('2040-02-29T12:34:56Z'));
  let [result] = await runPage(page, [file]);
  assert.strictEqual(RUN_TIME.exec(result.report.toString())[1],
                     'Date: Wed Feb 29, 2040  Time: 18:19:56 pm');
  await page.context().close();
  page = await openPageAt(new Date('2051-01-01T00:00:00Z'));
  [result] = await runPage(page, [file]);
  assert.strictEqual(result.status, 1);
  assert.strictEqual(result.errors,
                     'Error: Bad data value found for variable Date.year\n' +
                     '       Value = 2051\n       Fix and run again\n');
  await page.context().close();
});

test('compares several files, and its CSV holds the reports\' counts', async () => {
  const page = await openPage();
  const files = printFiles();
  const paths = writePrintFiles({'survey.prt': files['survey.prt'],
                                 'many.prt': files['many.prt']});
  const results = await runPage(page, paths);
  assert.strictEqual(await page.locator('#comparison th[scope=col]').count(), 3);
  const [download] = await Promise.all([
    page.waitForEvent('download'),
    page.locator('#comparison a.download').click(),
  ]);
  const csv = fs.readFileSync(await download.path(), 'utf8');
  const rows = csv.trimEnd().split('\r\n');
  assert.strictEqual(rows.length, 1 + 2 * 11);
  // Every count of the CSV stands in its report's rows.
  results.forEach((result, f) => {
    const text = result.report.toString('latin1');
    const classRows = text.split('\n').filter((l) => /^   (\d\d |low) /.test(l));
    for (let c = 0; c < 11; ++c) {
      const [name, label, total, ...rest] = rows[1 + f * 11 + c].split(',');
      const ranges = rest.slice(0, 4);
      assert.strictEqual(name, path.basename(paths[f]));
      assert.deepStrictEqual(classRows[c].trim().split(/ +/), [label, total]);
      assert.deepStrictEqual(classRows[11 + c].trim().split(/ +/), [label, ...ranges]);
    }
  });
  await page.screenshot({path: path.join(path.dirname(PAGE), 'page-two-files.png'),
                         fullPage: true});
  await page.context().close();
});

test('downloads the report with the line ends of the user\'s system', async () => {
  const [file] = writePrintFiles({'survey.prt': printFiles()['survey.prt']});
  let page = await openPage();
  let [result] = await runPage(page, [file]);
  assert.ok(!result.report.includes('\r'));
  await page.context().close();
  const context = await browser.newContext();
  await context.addInitScript(() => {
    Object.defineProperty(Navigator.prototype, 'platform', {get: () => 'Win32'});
  });
  page = await context.newPage();
  await page.goto('file://' + PAGE);
  await page.waitForSelector('body[data-ready]');
  [result] = await runPage(page, [file]);
  const text = result.report.toString('latin1');
  assert.strictEqual(text.split('\r\n').length, text.split('\n').length);
  assert.ok(text.endsWith('\r\n'));
  await context.close();
});

test('is usable from the keyboard and refuses an accession of two words', async () => {
  const page = await openPage();
  await page.keyboard.press('Tab');
  assert.strictEqual(await page.evaluate(() => document.activeElement.id), 'accession');
  await page.keyboard.type('GPS 1040');
  await page.keyboard.press('Tab');
  assert.strictEqual(await page.evaluate(() => document.activeElement.id), 'files');
  const [file] = writePrintFiles({'survey.prt': printFiles()['survey.prt']});
  await page.setInputFiles('#files', [file]);
  assert.match(await page.textContent('#accession-error'), /One word/);
  assert.strictEqual(await page.locator('.run').count(), 0);
  await page.context().close();
});

// A print file of about `megabytes` MB made of whole observations, and its
// number of pairs.
function largePrintFile(file, megabytes) {
  const block = pair(30000, '0.0010').repeat(Math.floor((1 << 20) / 90));
  const blocks = Math.ceil((megabytes * 1e6) / block.length);
  const handle = fs.openSync(file, 'w');
  fs.writeSync(handle, MAGIC);
  const bytes = Buffer.from(block);
  for (let i = 0; i < blocks; ++i) fs.writeSync(handle, bytes);
  fs.closeSync(handle);
  return blocks * (block.length / pair(30000, '0.0010').length);
}

test('reads a 300 MB file in slices: bounded memory, a moving progress bar',
     {timeout: 600000}, async () => {
  const file = path.join(work, 'large.prt');
  const pairs = largePrintFile(file, 300);
  const page = await openPage();
  const [small] = writePrintFiles({'small.prt': printFiles()['survey.prt']});
  await runPage(page, [small]);
  const baseline = browserMemory();
  let peak = baseline;
  const progress = new Set();
  await page.setInputFiles('#files', [file]);
  while (await page.locator('.run[aria-busy]').count()) {
    peak = Math.max(peak, browserMemory());
    progress.add(await page.locator('.run progress').last().evaluate((p) => p.value / p.max));
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  const report = await page.locator('.run pre.report').last().textContent();
  assert.match(report, new RegExp(`\\n   11\\s+${pairs}\\n`));
  assert.ok([...progress].some((share) => share > 0 && share < 1),
            'progress: ' + [...progress].join(' '));
  console.log(`memory: ${baseline} KiB after a small file, peak ${peak} KiB ` +
              `during ${pairs} pairs`);
  assert.ok(peak - baseline < 64 * 1024, `grew by ${peak - baseline} KiB`);
  await page.context().close();
  fs.rmSync(file);
});

test('makes no network request and forbids connections', async () => {
  const page = await openPage();
  const policy = await page.getAttribute('meta[http-equiv=Content-Security-Policy]', 'content');
  assert.match(policy, /default-src 'none'/);
  assert.match(policy, /connect-src 'none'/);
  await page.context().close();
  const elsewhere = requests.filter((url) => !/^(file|blob|data):/.test(url));
  assert.deepStrictEqual(elsewhere, []);
  assert.ok(requests.length > 0);
});
