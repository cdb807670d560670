// The built page opened from file:// with default settings, in every engine
// (Chromium, Firefox, WebKit): one table of cases, each run in each engine
// as far as the engine lets a test set it up. The page must give the
// command line's report, or its error text, for every print file.
'use strict';
const {describe, test, before, after} = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const {spawnSync} = require('node:child_process');
const {engines, PAGE} = require('./support/engines.js');
const {printFiles, pair, MAGIC} = require('./support/print_files.js');

const ROOT = path.join(__dirname, '../..');
const NATIVE = path.resolve(process.env.ZEPTOR_NATIVE || path.join(ROOT, 'build/zeptor'));
const NATIVE_PAIRS = path.join(path.dirname(NATIVE), 'zeptor-pairs');
const RUN_TIME = /^System run time:     (.*)\n/;
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'zeptor-page-'));
after(() => fs.rmSync(work, {recursive: true, force: true}));

function writePrintFiles(files) {
  const dir = fs.mkdtempSync(path.join(work, 'files-'));
  return Object.entries(files).map(([name, bytes]) => {
    fs.writeFileSync(path.join(dir, name), bytes);
    return path.join(dir, name);
  });
}

const runsDone = (n) => document.querySelectorAll('.run:not([aria-busy])').length === n;

// Runs the page on `paths`; returns per file its exit status, error text
// and the downloaded report's bytes (null without a report).
async function runPage(page, paths, accession = '') {
  await page.fill('#accession', accession);
  const before = await page.count('.run');
  await page.setFiles('#files', paths);
  await page.waitUntil(runsDone, before + paths.length);
  const results = [];
  for (let i = before; i < before + paths.length; ++i) {
    const status = Number(/Exit status (\d+)/.exec(await page.text('.run .status', i))[1]);
    const {errors, name, link} = await page.evaluate((n) => {
      const run = document.querySelectorAll('.run')[n];
      const anchor = run.querySelector('a.download');
      const pre = run.querySelector('pre.errors');
      return {errors: pre ? pre.textContent : '', name: anchor ? anchor.download : null,
              link: [...document.querySelectorAll('.run a.download')].indexOf(anchor)};
    }, i);
    const report = name ? await page.download('.run a.download', link, name) : null;
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

// zeptor-pairs on the same file, with `requiredClass` (a label) or none.
function runPairs(file, requiredClass) {
  const args = [path.basename(file)];
  if (requiredClass) args.push(requiredClass);
  const result = spawnSync(NATIVE_PAIRS, args, {cwd: path.dirname(file), maxBuffer: 1 << 30});
  assert.strictEqual(result.status, 0, result.stderr.toString());
  return result.stdout;
}

// Chooses the required order class `index` (an index 0 to 9, or '' for
// none), as a user does.
const chooseClass = (page, index) => page.evaluate((value) => {
  const select = document.getElementById('required-class');
  select.value = value;
  select.dispatchEvent(new Event('change'));
}, String(index));

const masked = (bytes) => bytes.toString('latin1').replace(RUN_TIME, '<run time>\n');

// zeptor's form of the time `ms`: "Date: Thr Jan 9, 2003  Time: 18:51:48 pm".
function zeptorTime(ms) {
  const date = new Date(ms);
  const days = ['Sun', 'Mon', 'Tue', 'Wed', 'Thr', 'Fri', 'Sat'];
  const months = ['Jan', 'Feb', 'Mar', 'Apr', 'May', 'Jun', 'Jul', 'Aug', 'Sep',
                  'Oct', 'Nov', 'Dec'];
  const two = (n) => String(n).padStart(2, '0');
  return `Date: ${days[date.getDay()]} ${months[date.getMonth()]} ${date.getDate()}, ` +
         `${date.getFullYear()}  Time: ${two(date.getHours())}:${two(date.getMinutes())}:` +
         `${two(date.getSeconds())} ${date.getHours() > 11 ? 'pm' : 'am'}`;
}

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

const survey = () => writePrintFiles({'survey.prt': printFiles()['survey.prt']});

// The text of each page of the PDF `file`, as laid out, its runs of
// blanks as one and without empty lines.
function pdfPages(file) {
  const text = spawnSync('pdftotext', ['-layout', file, '-'], {encoding: 'utf8'});
  assert.strictEqual(text.status, 0, text.stderr);
  return text.stdout.split('\f').slice(0, -1)
      .map((page) => page.replace(/[ \t]+/g, ' ').replace(/^ | $/gm, '')
          .replace(/\n+/g, '\n').trim());
}

// Each case: {name, needs (what the engine must allow, else it is skipped),
// run(browser, engine)}.
const CASES = [
  {
    name: 'gives the command line\'s report or error text for every print file',
    async run(browser) {
      const paths = writePrintFiles(printFiles());
      // A page may start only so many downloads before the browser asks the
      // user to allow more.
      const results = [];
      for (let first = 0; first < paths.length; first += 6) {
        const page = await browser.open();
        results.push(...await runPage(page, paths.slice(first, first + 6), 'GPS1040'));
        assert.deepStrictEqual(page.errors, []);
        await page.close();
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
    },
  },
  {
    name: 'gives the example\'s report, timed by the browser\'s clock and zone',
    async run(browser) {
      const page = await browser.open();
      const before = await page.evaluate(() => Date.now());
      const [result] = await runPage(page, survey(), 'GPS1040');
      const after = await page.evaluate(() => Date.now());
      // A second of the run's, however long a loaded machine makes it.
      const seconds = [];
      for (let ms = before - before % 1000; ms <= after; ms += 1000) {
        seconds.push(await page.evaluate(zeptorTime, ms));
      }
      const runTime = RUN_TIME.exec(result.report.toString('latin1'))[1];
      assert.ok(seconds.includes(runTime), runTime + ' vs ' + seconds.join(', '));
      assert.match(await page.evaluate(() => String(new Date())), /\+0545/);
      const expected = fs.readFileSync(path.join(ROOT, 'report/testdata/survey.expected'),
                                       'latin1');
      assert.strictEqual(result.report.toString('latin1').replace(RUN_TIME, ''),
                         expected.replace(/^.*\n/, '').replace('out.rpt', 'survey.rpt'));
      await page.close();
    },
  },
  {
    name: 'takes years past 2038 from the clock, and refuses one after 2050',
    needs: 'clock',
    async run(browser) {
      let page = await browser.open({clock: Date.parse('2040-02-29T12:34:56Z')});
      let [result] = await runPage(page, survey());
      assert.strictEqual(RUN_TIME.exec(result.report.toString())[1],
                         'Date: Wed Feb 29, 2040  Time: 18:19:56 pm');
      await page.close();
      page = await browser.open({clock: Date.parse('2051-01-01T00:00:00Z')});
      [result] = await runPage(page, survey());
      assert.strictEqual(result.status, 1);
      assert.strictEqual(result.errors,
                         'Error: Bad data value found for variable Date.year\n' +
                         '       Value = 2051\n       Fix and run again\n');
      await page.close();
    },
  },
  {
    name: 'compares several files, and its CSV holds the reports\' counts',
    async run(browser, engine) {
      const page = await browser.open();
      const files = printFiles();
      const paths = writePrintFiles({'survey.prt': files['survey.prt'],
                                     'many.prt': files['many.prt']});
      const results = await runPage(page, paths);
      assert.strictEqual(await page.count('#comparison th[scope=col]'), 3);
      const csv = (await page.download('#comparison a.download', 0, 'zeptor-counts.csv'))
                      .toString('utf8');
      const rows = csv.trimEnd().split('\r\n');
      assert.strictEqual(rows.length, 1 + 2 * 11);
      // Every count of the CSV stands in its report's rows; the last class
      // takes in every pair.
      results.forEach((result, f) => {
        const text = result.report.toString('latin1');
        const classRows = text.split('\n').filter((l) => /^   (\d\d |low) /.test(l));
        for (let c = 0; c < 11; ++c) {
          const [name, label, total, ...rest] = rows[1 + f * 11 + c].split(',');
          assert.strictEqual(name, path.basename(paths[f]));
          assert.deepStrictEqual(classRows[c].trim().split(/ +/), [label, total]);
          assert.deepStrictEqual(classRows[11 + c].trim().split(/ +/),
                                 [label, ...rest.slice(0, 4)]);
        }
        assert.strictEqual(rows[1 + f * 11 + 10].split(',').pop(), '100.0');
      });
      await page.screenshot(path.join(path.dirname(PAGE), `page-two-files-${engine.name}.png`));
      await page.close();
    },
  },
  {
    name: 'lists the observations as zeptor-pairs does, all and those worse than a class',
    async run(browser) {
      const files = printFiles();
      const paths = writePrintFiles({'survey.prt': files['survey.prt'],
                                     'crlf.prt': files['crlf.prt'],
                                     'garbage.prt': files['garbage.prt'],
                                     'odd-numbers.prt': files['odd-numbers.prt']});
      const page = await browser.open();
      await chooseClass(page, 3);
      await runPage(page, paths);
      for (const [f, file] of paths.entries()) {
        const stem = path.basename(file, '.prt');
        const links = await page.evaluate((n) => [...document.querySelectorAll('a.download')]
            .map((a, i) => ({i, name: a.download, run: [...document.querySelectorAll('.run')]
                .indexOf(a.closest('.run'))}))
            .filter((link) => link.run === n), f);
        const index = (name) => links.find((link) => link.name === name).i;
        const worse = await page.download('a.download', index(`${stem}-worse-than-22.csv`),
                                          `${stem}-worse-than-22.csv`);
        assert.ok(worse.equals(runPairs(file, '22')), stem + ' worse than 22');
        const all = await page.download('a.download', index(`${stem}-observations.csv`),
                                        `${stem}-observations.csv`);
        assert.ok(all.equals(runPairs(file)), stem + ' observations');
      }
      // The example's worst observation leads its table.
      assert.deepStrictEqual(
          await page.evaluate(() => [...document.querySelector('table.worst tbody tr')
              .children].map((cell) => cell.textContent)),
          ['133', '135', '250000', '1.2', '2352.00', '148.75', 'low', '>=250km', 'worse']);
      await page.close();
    },
  },
  {
    name: 'shows the runs and the comparison anew when the required class changes',
    async run(browser) {
      const files = printFiles();
      const page = await browser.open();
      await runPage(page, writePrintFiles({'survey.prt': files['survey.prt'],
                                           'many.prt': files['many.prt']}));
      const shown = () => page.evaluate(() => ({
        sentences: [...document.querySelectorAll('.requirement')].map((p) => p.textContent),
        marked: document.querySelectorAll('table.worst tr.worse').length,
        row: [...document.querySelectorAll('#comparison tr.required > *')]
            .map((cell) => cell.textContent),
        csvHead: document.querySelector('#comparison a.download') !== null,
      }));
      assert.deepStrictEqual(await shown(),
                             {sentences: [], marked: 0, row: [], csvHead: true});
      await chooseClass(page, 3);
      const at22 = await shown();
      assert.deepStrictEqual(at22.sentences, [
        '12 of 44 observations (27.3%) are class 22 or better; 32 are worse.',
        '12345 of 12345 observations (100.0%) are class 22 or better; 0 are worse.']);
      assert.strictEqual(at22.marked, 20);
      assert.deepStrictEqual(at22.row, ['class 22 or better', '27.3%', '100.0%']);
      const csv = (await page.download('#comparison a.download', 0, 'zeptor-counts.csv'))
                      .toString('utf8').split('\r\n');
      assert.match(csv[0], /,class 22 or better %$/);
      assert.match(csv[1], /^survey\.prt,11,.*,27\.3$/);
      await chooseClass(page, 9);
      assert.deepStrictEqual((await shown()).row, ['class 52 or better', '93.2%', '100.0%']);
      await chooseClass(page, '');
      assert.deepStrictEqual(await shown(),
                             {sentences: [], marked: 0, row: [], csvHead: true});
      await page.close();
    },
  },
  {
    name: 'prints each file on a page of its own, without the form, on A4 and Letter',
    needs: 'print',
    async run(browser, engine) {
      const files = printFiles();
      const page = await browser.open();
      await chooseClass(page, 3);
      const paths = writePrintFiles({'survey.prt': files['survey.prt'],
                                     'crlf.prt': files['crlf.prt']});
      await runPage(page, paths, 'GPS1040');
      const reports = paths.map((file) => masked(runCommandLine(file, 'GPS1040').report)
          .split('\n').filter((line) => line.trim() && !line.startsWith('<run time>'))
          .map((line) => line.replace(/ +/g, ' ').trim()));
      for (const format of ['A4', 'Letter']) {
        const pdf = path.join(path.dirname(PAGE), `page-printed-${engine.name}-${format}.pdf`);
        await page.pdf(pdf, format);
        const pages = pdfPages(pdf);
        // The title with the run's settings, then a page for each file and
        // one for the comparison, each headed by what it shows.
        assert.strictEqual(pages.length, 3, format);
        assert.match(pages[0], /^zeptor 2\.6\n/);
        assert.match(pages[0], /\nAccession number: GPS1040\nRequired class: 22\n/);
        paths.forEach((file, f) => {
          const name = path.basename(file);
          assert.match(pages[f], new RegExp(`(^|\\n)${name.replace('.', '\\.')}\\n` +
                                            'Exit status 0: report written to .*\\n' +
                                            '\\d+ of 44 observations \\(27\\.3%\\)'));
          for (const line of reports[f]) assert.ok(pages[f].includes(line), `${name}: ${line}`);
          // The last row of the spacing table on its heading's page.
          assert.match(pages[f], /Distribution of Accuracies by Station Spacing\n(.*\n)+low 0 0 /);
          assert.match(pages[f], new RegExp('Distance line Error line Distance \\(m\\) ' +
                                            'Standard error \\(m\\) Accuracy \\(mm\\) ' +
                                            'Ratio Class Spacing Worse than 22'));
        });
        assert.match(pages[2], /^Comparison\n/);
        for (const label of ['Choose one or more print files', 'Accession (job) number',
                             'Required order class', 'No requirement', 'Download']) {
          assert.ok(!pages.join('\n').includes(label), label);
        }
        if (format === 'A4') {
          spawnSync('pdftoppm', ['-png', '-r', '50', pdf,
                                 path.join(path.dirname(PAGE), `page-printed-${engine.name}`)]);
        }
      }
      await page.close();
    },
  },
  {
    name: 'downloads the report with LF line ends',
    async run(browser) {
      const page = await browser.open();
      const [result] = await runPage(page, survey());
      assert.ok(!result.report.includes('\r'));
      await page.close();
    },
  },
  {
    name: 'downloads the report with CR LF line ends on Windows',
    needs: 'platform',
    async run(browser) {
      const page = await browser.open({windows: true});
      const [result] = await runPage(page, survey());
      const text = result.report.toString('latin1');
      assert.strictEqual(text.split('\r\n').length, text.split('\n').length);
      assert.ok(text.endsWith('\r\n'));
      await page.close();
    },
  },
  {
    name: 'is usable from the keyboard and refuses an accession of two words',
    async run(browser) {
      const page = await browser.open();
      await page.pressTab();
      assert.strictEqual(await page.activeId(), 'accession');
      await page.type('GPS 1040');
      await page.pressTab();
      assert.strictEqual(await page.activeId(), 'required-class');
      await page.pressTab();
      assert.strictEqual(await page.activeId(), 'files');
      await page.setFiles('#files', survey());
      assert.match(await page.text('#accession-error'), /One word/);
      assert.strictEqual(await page.count('.run'), 0);
      await page.fill('#accession', '');
      await chooseClass(page, 3);
      await runPage(page, survey());
      // On from the file input: the report, the downloads and the tables.
      const reached = [];
      for (let i = 0; i < 8; ++i) {
        await page.pressTab();
        reached.push(await page.evaluate(() => document.activeElement.matches('table.worst') ?
          'table' : document.activeElement.tagName.toLowerCase()));
      }
      assert.ok(reached.includes('table'), reached.join(' '));
      await page.close();
    },
  },
  {
    name: 'reads a 300 MB file in slices: memory as for 1 MB, a moving progress bar',
    async run(browser, engine) {
      const file = path.join(work, 'large.prt');
      const pairs = largePrintFile(file, 300);
      const page = await browser.open();
      // With the observations against a class kept and listed.
      await chooseClass(page, 0);
      const small = path.join(work, 'small.prt');
      largePrintFile(small, 1);
      await runPage(page, [small]);
      await new Promise((resolve) => setTimeout(resolve, 1000));
      const baseline = browser.memory();
      let peak = baseline;
      const progress = new Set();
      await page.setFiles('#files', [file]);
      while (await page.count('.run[aria-busy]')) {
        peak = Math.max(peak, browser.memory());
        progress.add(await page.evaluate(() => {
          const bars = document.querySelectorAll('.run progress');
          return bars[bars.length - 1].value / bars[bars.length - 1].max;
        }));
        await new Promise((resolve) => setTimeout(resolve, 200));
      }
      const report = await page.text('.run pre.report', 1);
      assert.match(report, new RegExp(`\\n   11\\s+${pairs}\\n`));
      assert.match(await page.text('.run .observations', 1),
                   new RegExp(`the worst 50,000 of ${pairs}; zeptor-pairs lists them all`));
      assert.ok([...progress].some((share) => share > 0 && share < 1),
                'progress: ' + [...progress].join(' '));
      if (engine.can.memory) {
        console.log(`${engine.name} memory: ${baseline} KiB after a small file, ` +
                    `peak ${peak} KiB during ${pairs} pairs`);
        assert.ok(peak - baseline < 32 * 1024, `grew by ${peak - baseline} KiB`);
      }
      await page.close();
      fs.rmSync(file);
    },
  },
  {
    name: 'reads on in slices when a file\'s byte stream stops answering',
    needs: 'stall',
    async run(browser) {
      const file = path.join(work, 'stalled.prt');
      largePrintFile(file, 6);
      const page = await browser.open({stallAfter: 3 << 20});
      const [result] = await runPage(page, [file]);
      assert.strictEqual(masked(result.report), masked(runCommandLine(file).report));
      assert.deepStrictEqual(page.errors, []);
      await page.close();
    },
  },
  {
    name: 'says so when the program cannot be compiled, and fails each file',
    needs: 'hooks',
    async run(browser) {
      const page = await browser.open({failCompile: true});
      assert.match(await page.text('#page-status'), /^The program could not be started: /);
      await page.setFiles('#files', survey());
      await page.waitUntil(runsDone, 1);
      assert.match(await page.text('.run .status'),
                   /^The run failed: The program could not be started: /);
      await page.close();
    },
  },
  {
    name: 'ends a run whose reading fails in the page, tells the worker, runs the next',
    needs: 'hooks',
    async run(browser) {
      const page = await browser.open({throwOnFirstSlice: true});
      const paths = writePrintFiles({'first.prt': printFiles()['survey.prt'],
                                     'second.prt': printFiles()['survey.prt']});
      await page.setFiles('#files', paths);
      await page.waitUntil(runsDone, 2);
      assert.strictEqual(await page.text('.run .status', 0),
                         'The run failed: slice refused by the test');
      assert.strictEqual(await page.text('.run .status', 1),
                         'Exit status 0: report written to second.rpt.');
      const posted = await page.evaluate(() => window.postedTypes);
      assert.deepStrictEqual(posted.slice(0, 3), ['run', 'slice', 'abandon']);
      await page.close();
    },
  },
  {
    name: 'stops reading a file whose scan has stopped',
    needs: 'hooks',
    async run(browser) {
      const file = path.join(work, 'stops.prt');
      fs.writeFileSync(file, 'title\n\tPROGRAM OMBRIX\n' + 'x'.repeat(20 << 20));
      const page = await browser.open({watchCancel: true});
      const [result] = await runPage(page, [file]);
      assert.strictEqual(result.status, 5);
      assert.strictEqual(await page.evaluate(() => window.streamCancelled), true);
      await page.close();
      fs.rmSync(file);
    },
  },
  {
    name: 'says the command line\'s read error for a file gone before it is read',
    async run(browser) {
      const page = await browser.open();
      // The second file waits for the first, and is removed meanwhile.
      const first = path.join(work, 'first.prt');
      largePrintFile(first, 300);
      const [gone] = writePrintFiles({'gone.prt': printFiles()['survey.prt']});
      await page.setFiles('#files', [first, gone]);
      fs.rmSync(gone);
      // Only a removal while the first file still runs tests anything.
      const inTime = await page.evaluate(
          () => document.querySelector('.run').hasAttribute('aria-busy'));
      await page.waitUntil(runsDone, 2);
      if (inTime) {
        assert.strictEqual(await page.text('.run .status', 1), 'Exit status 1: no report.');
        assert.strictEqual(await page.text('.run pre.errors', 0),
                           'Error: Cannot read input file:  gone.prt\n');
      } else {
        console.log('the first file ended before the second was removed: nothing tested');
      }
      await page.close();
      fs.rmSync(first);
    },
  },
  {
    name: 'makes no network request, forbids connections, logs no error',
    async run(browser) {
      const page = await browser.open();
      const policy = await page.attribute('meta[http-equiv=Content-Security-Policy]', 'content');
      assert.match(policy, /default-src 'none'/);
      assert.match(policy, /connect-src 'none'/);
      // Only the page's own script runs, known by its hash.
      assert.match(policy, /script-src 'sha256-[A-Za-z0-9+/]{43}=' /);
      assert.doesNotMatch(policy, /script-src[^;]*'unsafe-inline'/);
      await runPage(page, survey());
      assert.deepStrictEqual(page.errors, []);
      const elsewhere = page.requests.filter((url) => !/^(file|blob|data):/.test(url));
      assert.deepStrictEqual(elsewhere, []);
      await page.close();
    },
  },
];

for (const engine of engines()) {
  describe(engine.name, {concurrency: 1}, () => {
    let browser;
    before(async () => { browser = await engine.launch(work); });
    after(async () => { if (browser) await browser.close(); });
    for (const c of CASES) {
      const skip = c.needs && !engine.can[c.needs] ?
        `${engine.name}'s driver cannot do what this needs: ${c.needs}` : false;
      test(c.name, {skip, timeout: 600000}, () => c.run(browser, engine));
    }
  });
}
