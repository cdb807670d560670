// Times the page on large print files in each engine, each run paired with
// the browser only reading the same file in the same slices (the floor, as
// the plain read is on the command line) and, given ZEPTOR_OTHER_PAGE, with
// another build of the page, and measures how much more memory the browser
// takes than for a 1 MiB file; prints the medians of ROUNDS rounds per file.
//
//   node bench.js PRINT_FILE...      (ROUNDS=5, the page from ZEPTOR_PAGE)
'use strict';
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const {engines} = require('./test/support/engines.js');

const files = process.argv.slice(2);
const ROUNDS = Number(process.env.ROUNDS || 5);
const OTHER_PAGE = process.env.ZEPTOR_OTHER_PAGE;

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = sorted.length >> 1;
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Seconds from choosing the file to its report, timed by the page's own
// clock as the read below is, and the memory's peak meanwhile. The page is
// not polled while it runs.
async function timeRun(browser, page, file) {
  await page.evaluate(() => {
    window.benchRun = new Promise((resolve) => {
      let start = null;
      window.addEventListener('change', () => { start = performance.now(); },
                              {capture: true, once: true});
      new MutationObserver((changes, observer) => {
        if (start === null || document.querySelector('.run[aria-busy]')) return;
        observer.disconnect();
        resolve((performance.now() - start) / 1000);
      }).observe(document.getElementById('results'),
                 {subtree: true, attributes: true, attributeFilter: ['aria-busy']});
    });
  });
  let peak = browser.memory();
  await page.setFiles('#files', [file]);
  let running = true;
  const seconds = page.evaluate(() => window.benchRun).finally(() => { running = false; });
  while (running) {
    peak = Math.max(peak, browser.memory());
    await sleep(20);
  }
  return {seconds: await seconds, peak};
}

// Seconds the page's main thread takes to read `file` as the page does, in
// its slices and buffers, and to do nothing with them: through a byte
// stream into one buffer, or where there is none each slice into a new one.
async function timeReadOnly(page, file) {
  await page.evaluate(() => {
    const input = document.createElement('input');
    input.type = 'file';
    input.id = 'bench-input';
    document.body.append(input);
  });
  await page.setFiles('#bench-input', [file]);
  return page.evaluate(async () => {
    const chosen = document.getElementById('bench-input').files[0];
    const start = performance.now();
    try {
      new Blob().stream().getReader({mode: 'byob'});
    } catch (notAByteStream) {
      const slice = ZeptorProtocol.NEW_BUFFER_SLICE_BYTES;
      for (let next = 0; next < chosen.size; next += slice) {
        (await chosen.slice(next, next + slice).arrayBuffer()).transfer(0);
      }
      return (performance.now() - start) / 1000;
    }
    const reader = chosen.stream().getReader({mode: 'byob'});
    let buffer = new ArrayBuffer(ZeptorProtocol.SLICE_BYTES);
    for (;;) {
      const {value, done} = await reader.read(new Uint8Array(buffer));
      if (done) break;
      buffer = value.buffer;
    }
    return (performance.now() - start) / 1000;
  });
}

(async () => {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'zeptor-web-bench-'));
  const small = path.join(work, 'small.prt');
  const head = Buffer.alloc(1 << 20);
  const handle = fs.openSync(files[0], 'r');
  fs.writeFileSync(small, head.subarray(0, fs.readSync(handle, head, 0, head.length, 0)));
  fs.closeSync(handle);
  for (const engine of engines().filter((e) => e.can.memory)) {
    const browser = await engine.launch(work);
    for (const file of files) {
      const megabytes = (fs.statSync(file).size / 1e6).toFixed(0);
      const runs = [], reads = [], ratios = [], peaks = [], others = [], againstOther = [];
      const otherPeaks = [];
      let idle = 0;
      // The page's time on `file` after a small file, and its memory's peak
      // over that after the small file.
      const timePage = async (options) => {
        const page = await browser.open(options);
        await timeRun(browser, page, small);
        await sleep(500);
        idle = browser.memory();
        const run = await timeRun(browser, page, file);
        await page.close();
        return {...run, idle};
      };
      for (let round = 0; round < ROUNDS; ++round) {
        // Every other round the other page goes first, so that neither
        // always follows the clean-up of the other's run.
        const otherFirst = OTHER_PAGE && round % 2 === 1;
        const other = otherFirst ? await timePage({page: OTHER_PAGE}) : null;
        const run = await timePage({});
        const peak = run.peak - run.idle;
        const page = await browser.open();
        const read = await timeReadOnly(page, file);
        await page.close();
        runs.push(run.seconds);
        reads.push(read);
        ratios.push(run.seconds / read);
        peaks.push(peak);
        if (OTHER_PAGE) {
          const otherRun = other || await timePage({page: OTHER_PAGE});
          others.push(otherRun.seconds);
          otherPeaks.push(otherRun.peak - otherRun.idle);
          againstOther.push(run.seconds / otherRun.seconds);
        }
      }
      const paired = OTHER_PAGE ? `; other page ${median(others).toFixed(2)} s, peak ` +
                                  `+${Math.round(median(otherPeaks) / 1024)} MiB, this / ` +
                                  `other paired ${median(againstOther).toFixed(2)}x` : '';
      console.log(`${engine.name} ${megabytes} MB: page ${median(runs).toFixed(2)} s, ` +
                  `read only ${median(reads).toFixed(2)} s, paired ${median(ratios).toFixed(2)}x; ` +
                  `memory ${idle} KiB after 1 MiB, peak +${Math.round(median(peaks) / 1024)} MiB` +
                  paired);
    }
    await browser.close();
  }
  fs.rmSync(work, {recursive: true, force: true});
})();
