// Times the page on large print files in Chromium and Firefox, each run
// paired with the browser only reading the same file in the same slices
// (the floor, as the plain read is on the command line), and measures how
// much more memory the browser takes than for a 1 MiB file; prints the
// medians of ROUNDS rounds per file.
//
//   node bench.js PRINT_FILE...      (ROUNDS=5, the page from ZEPTOR_PAGE)
'use strict';
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const {engines} = require('./test/support/engines.js');

const files = process.argv.slice(2);
const ROUNDS = Number(process.env.ROUNDS || 5);

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = sorted.length >> 1;
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Seconds from choosing the file to its report, and the memory's peak.
async function timeRun(browser, page, file) {
  let peak = browser.memory();
  const start = Date.now();
  const before = await page.count('.run');
  await page.setFiles('#files', [file]);
  await page.waitUntil((n) => document.querySelectorAll('.run').length > n, before);
  while (await page.count('.run[aria-busy]')) {
    peak = Math.max(peak, browser.memory());
    await sleep(20);
  }
  return {seconds: (Date.now() - start) / 1000, peak};
}

// Seconds the page's main thread takes to read `file` in the page's slices,
// into one buffer as the page does, and to do nothing with them.
async function timeReadOnly(page, file) {
  await page.evaluate(() => {
    const input = document.createElement('input');
    input.type = 'file';
    input.id = 'bench-input';
    document.body.append(input);
  });
  await page.setFiles('#bench-input', [file]);
  await page.evaluate(() => {
    const slice = ZeptorView.SLICE_BYTES;
    const chosen = document.getElementById('bench-input').files[0];
    const start = performance.now();
    window.benchRead = (async () => {
      const reader = chosen.stream().getReader({mode: 'byob'});
      let buffer = new ArrayBuffer(slice);
      for (;;) {
        const {value, done} = await reader.read(new Uint8Array(buffer));
        if (done) break;
        buffer = value.buffer;
      }
      return (performance.now() - start) / 1000;
    })();
  });
  return page.evaluate(() => window.benchRead);
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
      const runs = [], reads = [], ratios = [], peaks = [];
      let idle = 0;
      for (let round = 0; round < ROUNDS; ++round) {
        let page = await browser.open();
        await timeRun(browser, page, small);
        await sleep(500);
        idle = browser.memory();
        const run = await timeRun(browser, page, file);
        await page.close();
        page = await browser.open();
        const read = await timeReadOnly(page, file);
        await page.close();
        runs.push(run.seconds);
        reads.push(read);
        ratios.push(run.seconds / read);
        peaks.push(run.peak - idle);
      }
      console.log(`${engine.name} ${megabytes} MB: page ${median(runs).toFixed(2)} s, ` +
                  `read only ${median(reads).toFixed(2)} s, paired ${median(ratios).toFixed(2)}x; ` +
                  `memory ${idle} KiB after 1 MiB, peak +${Math.round(median(peaks) / 1024)} MiB`);
    }
    await browser.close();
  }
  fs.rmSync(work, {recursive: true, force: true});
})();
