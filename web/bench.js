// Times the page on large print files, against the page only reading the
// same file in the same slices (the floor, as the plain read is on the
// command line), and the command line on the same files; measures the
// page's start-up and the browser's peak memory.
//
//   node bench.js PAGE ZEPTOR PRINT_FILE...
'use strict';
const fs = require('node:fs');
const {spawnSync} = require('node:child_process');
const {chromium} = require('playwright-core');
const {browserMemory} = require('./test/support/browser_memory.js');

const [page_path, zeptor, ...files] = process.argv.slice(2);
const SLICE_BYTES = 8 << 20;  // as worker.js reads

async function openPage(browser) {
  const page = await browser.newPage();
  await page.goto('file://' + fs.realpathSync(page_path));
  await page.waitForSelector('body[data-ready]');
  return page;
}

async function timeRun(page, file) {
  let peak = browserMemory();
  const start = Date.now();
  await page.setInputFiles('#files', [file]);
  await page.waitForSelector('.run');
  while (await page.locator('.run[aria-busy]').count()) {
    peak = Math.max(peak, browserMemory());
    await new Promise((resolve) => setTimeout(resolve, 20));
  }
  return {seconds: (Date.now() - start) / 1000, peak};
}

async function timeReadOnly(page, file) {
  await page.evaluate(() => {
    const input = document.createElement('input');
    input.type = 'file';
    input.id = 'bench-input';
    document.body.append(input);
  });
  await page.setInputFiles('#bench-input', [file]);
  return page.evaluate((slice) => new Promise((resolve) => {
    const source = `onmessage = ({data}) => {
      const reader = new FileReaderSync();
      const start = performance.now();
      for (let p = 0; p < data.size; p += ${slice}) {
        reader.readAsArrayBuffer(data.slice(p, p + ${slice}));
      }
      postMessage((performance.now() - start) / 1000);
    };`;
    const worker = new Worker(URL.createObjectURL(
        new Blob([source], {type: 'text/javascript'})));
    worker.onmessage = ({data}) => resolve(data);
    worker.postMessage(document.getElementById('bench-input').files[0]);
  }), SLICE_BYTES);
}

(async () => {
  const browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run',
           '--disable-background-networking', '--disable-component-update',
           '--disable-sync'],
  });
  for (const file of files) {
    const megabytes = (fs.statSync(file).size / 1e6).toFixed(0);
    for (let round = 0; round < 3; ++round) {
      let page = await openPage(browser);
      const ready = await page.evaluate(() => Number(document.body.dataset.ready));
      const idle = browserMemory();
      const run = await timeRun(page, file);
      await page.close();
      page = await openPage(browser);
      const read = await timeReadOnly(page, file);
      await page.close();
      const start = Date.now();
      spawnSync(zeptor, [file, '/tmp/zeptor-page-bench.rpt'], {stdio: 'ignore'});
      const commandLine = (Date.now() - start) / 1000;
      console.log(`${megabytes} MB: page ${run.seconds.toFixed(2)} s, read only ` +
                  `${read.toFixed(2)} s (${(run.seconds / read).toFixed(2)}x), ` +
                  `command line ${commandLine.toFixed(2)} s; start-up ${ready} ms; ` +
                  `memory ${idle} KiB idle, peak ${run.peak} KiB`);
    }
  }
  await browser.close();
})();
