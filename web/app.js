// The page: takes print files, reads each in slices and hands them to the
// worker, which runs zeptor on them one file after another, and shows each
// run's outcome, report, chart and download, and with several reports a
// comparison and its CSV.
//
// Takes: ZeptorView (view.js), ZeptorChart (chart.js) and the page's
// elements. Gives: nothing.
((view, chart) => {
  'use strict';

  const $ = (id) => document.getElementById(id);
  const onWindows = /^Win/.test(navigator.platform || '');
  // Slices read ahead of the worker: one scanned while the next is read.
  const SLICES_IN_FLIGHT = 2;
  const reports = [];  // {name, counts}, in the order the runs finished
  const queue = [];
  let busy = false;

  // The worker's messages go to the run they name; one without a name is
  // about the worker itself, and fails the run in progress.
  const listeners = new Map();
  let current = null;  // the id of the run in progress
  let lastId = 0;
  let worker = null;
  let workerFailure = null;
  try {
    worker = new Worker(URL.createObjectURL(
        new Blob([$('worker-source').textContent], {type: 'text/javascript'})));
    worker.onmessage = ({data}) => {
      if (data.type === 'ready') {
        // When the program is compiled; the time is for measurements.
        document.body.dataset.ready = String(Math.round(performance.now()));
        return;
      }
      const listener = listeners.get(data.id !== undefined ? data.id : current);
      if (listener) listener(data);
    };
    worker.onerror = (event) => {
      event.preventDefault();
      failWorker('The page\'s worker stopped: ' + (event.message || 'unknown error') + '.');
    };
  } catch (error) {
    workerFailure = 'The page\'s worker could not start: ' + error.message + '.';
  }

  function failWorker(sentence) {
    workerFailure = sentence;
    for (const listener of listeners.values()) listener({type: 'failed', message: sentence});
  }

  function element(tag, attributes = {}, text = '') {
    const node = document.createElement(tag);
    for (const [name, value] of Object.entries(attributes)) {
      node.setAttribute(name, value);
    }
    if (text) node.textContent = text;
    return node;
  }

  function downloadLink(bytesOrText, name, type, label) {
    const link = element('a', {download: name, class: 'download'}, label);
    link.href = URL.createObjectURL(new Blob([bytesOrText], {type}));
    return link;
  }

  // A section for one file, with its progress bar, in the results.
  function addRunSection(file) {
    const section = element('article', {class: 'run', 'aria-busy': 'true'});
    section.append(element('h3', {}, file.name));
    const progress = element('progress', {max: String(file.size || 1), value: '0',
                                          'aria-label': 'Reading ' + file.name});
    const status = element('p', {class: 'status'}, 'Waiting…');
    section.append(progress, status);
    $('results').append(section);
    return {section, progress, status};
  }

  // Ends the file's section with one sentence in place of its progress.
  function endSection(place, sentence) {
    place.section.removeAttribute('aria-busy');
    place.progress.value = place.progress.max;
    place.progress.hidden = true;
    place.status.textContent = sentence;
  }

  function showOutcome(place, result) {
    if (result.status !== 0) {
      endSection(place, `Exit status ${result.status}: no report.`);
      place.section.append(element('pre', {class: 'errors'},
                                   view.screenText(result.errors)));
      return;
    }
    endSection(place, 'Exit status 0: report written to ' + result.outputName + '.');
    const graph = element('div');
    graph.innerHTML = chart.distributionChart(result.counts, view.SPACING_RANGES);
    const body = element('div', {class: 'run-body'});
    body.append(element('pre', {class: 'report', tabindex: '0',
                                'aria-label': 'Report ' + result.outputName},
                        view.screenText(result.report)),
                graph);
    place.section.append(
        downloadLink(view.withLineEnds(result.report, onWindows), result.outputName,
                     'text/plain', 'Download ' + result.outputName),
        body);
  }

  function showComparison() {
    const area = $('comparison');
    area.replaceChildren();
    if (reports.length < 2) return;
    area.append(element('h2', {}, 'Comparison'));
    const table = element('table');
    const head = element('tr');
    head.append(element('th', {scope: 'col'}, 'Order class'));
    for (const report of reports) {
      head.append(element('th', {scope: 'col'}, report.name));
    }
    table.append(element('caption', {},
                         'Accuracies per order class: count (share; this class or better)'),
                 head);
    const allShares = reports.map((report) => view.shares(report.counts));
    const cumulative = reports.map((report) => view.cumulativeShares(report.counts));
    reports[0].counts.forEach((row, c) => {
      const line = element('tr');
      line.append(element('th', {scope: 'row'}, row.label));
      reports.forEach((report, f) => line.append(element(
          'td', {}, `${report.counts[c].total} (${allShares[f][c].toFixed(1)}%; ` +
                    `${cumulative[f][c].toFixed(1)}%)`)));
      table.append(line);
    });
    const graph = element('div');
    graph.innerHTML = chart.comparisonChart(reports[0].counts.map((row) => row.label),
                                            reports.map((report) => report.name),
                                            allShares);
    area.append(table, graph,
                downloadLink(view.toCsv(reports), 'zeptor-counts.csv', 'text/csv',
                             'Download all counts (CSV)'));
  }

  // Whether the browser reads a file as a byte stream, into given buffers.
  // Asked of an empty blob: WebKit's file stream is no byte stream, and
  // one made and left unread fills memory with the file.
  const byteStreams = (() => {
    try {
      new Blob().stream().getReader({mode: 'byob'}).releaseLock();
      return true;
    } catch (notAByteStream) {
      return false;
    }
  })();

  // The slices' buffers that the worker has handed back, to read the next
  // slices of a byte stream into: a file of any size then needs only these,
  // and leaves no garbage that memory would fill with before it is
  // collected. No more are kept than can be in flight; any other, and any
  // slice read into a new buffer (of NEW_BUFFER_SLICE_BYTES), is freed at
  // once (transfer(0)), as WebKit would otherwise hold tens of megabytes of
  // them.
  const spareBuffers = [];
  const keepSpare = (buffer) => {
    if (buffer.byteLength === view.SLICE_BYTES && spareBuffers.length < SLICES_IN_FLIGHT) {
      spareBuffers.push(buffer);
    } else if (buffer.transfer) {
      buffer.transfer(0);
    }
  };

  // How long a file's byte stream may give nothing before it is given up:
  // Chromium was seen to leave a read unanswered, once in many files.
  const STREAM_READ_PATIENCE_MS = 3000;

  // Calls onStall() once nothing has come for STREAM_READ_PATIENCE_MS since
  // the watch began or heard() was last called: one timer for a slice's
  // reads, as a timer or a promise for each read would leave Firefox tens
  // of MiB of garbage on a large file.
  function watchReads(onStall) {
    let last = performance.now();
    let timer = setTimeout(function check() {
      const quiet = performance.now() - last;
      if (quiet >= STREAM_READ_PATIENCE_MS) onStall();
      else timer = setTimeout(check, STREAM_READ_PATIENCE_MS - quiet);
    }, STREAM_READ_PATIENCE_MS);
    return {heard: () => { last = performance.now(); }, stop: () => clearTimeout(timer)};
  }

  // Returns a reader of `file`'s slices in order: read() resolves to the
  // next {buffer, size}, size 0 at the end. Where the browser reads a file
  // as a byte stream, each slice goes into a spare buffer of SLICE_BYTES;
  // else, or once the stream was given up, each into a new one of
  // NEW_BUFFER_SLICE_BYTES.
  function sliceReader(file) {
    let delivered = 0;  // the bytes handed out so far
    const source = byteStreams ? file.stream() : null;
    let stream = source && source.getReader({mode: 'byob'});
    let gaveUp = false;
    const giveUp = () => {
      gaveUp = true;
      stream.releaseLock();  // rejects the read that waits
      source.cancel().catch(() => {});
    };
    const readSliced = async () => {
      const buffer = await file.slice(delivered, delivered + view.NEW_BUFFER_SLICE_BYTES)
                         .arrayBuffer();
      delivered += buffer.byteLength;
      return {buffer, size: buffer.byteLength};
    };
    const readStreamed = async () => {
      let buffer = spareBuffers.pop() || new ArrayBuffer(view.SLICE_BYTES);
      let size = 0;
      const watch = watchReads(giveUp);
      try {
        while (size < buffer.byteLength) {
          // Each read hands the buffer over and back.
          const result = await stream.read(new Uint8Array(buffer, size));
          watch.heard();
          if (result.value) {
            buffer = result.value.buffer;
            size += result.value.byteLength;
          }
          if (result.done) break;
        }
      } catch (error) {
        if (!gaveUp) throw error;
        stream = null;
        return readSliced();
      } finally {
        watch.stop();
      }
      delivered += size;
      return {buffer, size};
    };
    return {read: () => (stream ? readStreamed() : readSliced())};
  }

  // Runs zeptor on `file`: reads it here, where every browser lets a page
  // read a chosen file, in slices handed over without a copy, at most
  // SLICES_IN_FLIGHT ahead of the worker. Resolves to the run's result;
  // rejects with a sentence when the run could not be done.
  function runFile(file, accession, onProgress) {
    if (workerFailure) return Promise.reject(new Error(workerFailure));
    const id = ++lastId;
    current = id;
    return new Promise((resolve, reject) => {
      let unanswered = 0;
      let wantsMore = true;  // false once the scan has stopped
      let ended = false;     // the worker has ended the run
      let credit = null;     // resolves when the worker has taken a slice
      const reading = () => wantsMore && !ended;
      listeners.set(id, (data) => {
        if (data.type === 'fed') {
          keepSpare(data.bytes);
          --unanswered;
          wantsMore = data.more;
          onProgress(data.done);
        } else {
          listeners.delete(id);
          ended = true;
          if (data.type === 'done') resolve(data.result);
          else reject(new Error(data.message));
        }
        if (credit) credit();
      });
      worker.postMessage({type: 'run', id, name: file.name, accession});
      (async () => {
        const slices = sliceReader(file);
        while (reading()) {
          while (unanswered >= SLICES_IN_FLIGHT && reading()) {
            await new Promise((taken) => { credit = taken; });
          }
          if (!reading()) break;
          let slice;
          try {
            slice = await slices.read();
          } catch (unreadable) {
            worker.postMessage({type: 'read-failed', id});
            return;
          }
          if (!reading() || slice.size === 0) break;
          ++unanswered;
          worker.postMessage({type: 'slice', id, bytes: slice.buffer, size: slice.size},
                             [slice.buffer]);
        }
        // The end of the file, or of what the scan wants of it.
        if (!ended) worker.postMessage({type: 'end', id});
      })().catch((error) => reject(error));
    });
  }

  // Returns a function that shows how far a run has got on `bar`, at most
  // every PROGRESS_MS: WebKit would otherwise spend a good part of a large
  // file's time drawing a bar that moves every few milliseconds.
  const PROGRESS_MS = 100;
  function progressShower(bar) {
    let shown = -Infinity;  // when the bar last moved
    return (done) => {
      const now = performance.now();
      if (now - shown < PROGRESS_MS) return;
      bar.value = done;
      shown = now;
    };
  }

  function runNext() {
    if (busy || queue.length === 0) return;
    busy = true;
    const {file, accession, place} = queue.shift();
    place.status.textContent = 'Reading…';
    runFile(file, accession, progressShower(place.progress))
        .then((result) => {
          showOutcome(place, result);
          if (result.status === 0) reports.push({name: file.name, counts: result.counts});
          showComparison();
        })
        .catch((error) => {
          endSection(place, 'The run failed: ' + ((error && error.message) || error));
        })
        .finally(() => {
          busy = false;
          runNext();
        });
  }

  function takeFiles(files) {
    const accession = $('accession').value;
    if (/\s/.test(accession)) {
      $('accession-error').textContent =
          'One word, without blanks (for example GPS1040).';
      $('accession').focus();
      return;
    }
    $('accession-error').textContent = '';
    for (const file of files) {
      queue.push({file, accession, place: addRunSection(file)});
    }
    runNext();
  }

  $('files').addEventListener('change', (event) => {
    takeFiles([...event.target.files]);
    event.target.value = '';
  });
  const dropZone = $('choose');
  dropZone.addEventListener('dragover', (event) => {
    event.preventDefault();
    dropZone.classList.add('dropping');
  });
  dropZone.addEventListener('dragleave', () => dropZone.classList.remove('dropping'));
  dropZone.addEventListener('drop', (event) => {
    event.preventDefault();
    dropZone.classList.remove('dropping');
    takeFiles([...event.dataTransfer.files]);
  });
})(ZeptorView, ZeptorChart);
