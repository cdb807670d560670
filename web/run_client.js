// Runs zeptor on one print file at a time in the page's worker: starts the
// run, reads the file and hands its slices over without a copy, at most
// SLICES_IN_FLIGHT ahead of the worker so that reading and scanning
// overlap, and settles with the run's result.
//
// Takes: ZeptorProtocol (protocol.js), ZeptorSliceReader (slice_reader.js).
// Gives: ZeptorRunClient, {start(workerSource, {onReady, onWorkerFailure})
// -> {run(file, outputName, accession, onProgress)}}.
const ZeptorRunClient = ((protocol, slices) => {
'use strict';

const M = protocol.MESSAGES;
// Slices read ahead of the worker: one scanned while the next is read.
const SLICES_IN_FLIGHT = 2;

// Starts the worker from `workerSource`. onReady({classLabels}) is called
// once it has compiled the program; onWorkerFailure(sentence) once it cannot run
// anything, and every run after that fails with the sentence.
function start(workerSource, {onReady, onWorkerFailure}) {
  let worker = null;
  let failure = null;
  let running = null;  // the one run in progress: {id, take(message)}
  let lastId = 0;

  const failWorker = (sentence) => {
    if (failure) return;
    failure = sentence;
    onWorkerFailure(sentence);
    if (running) running.take({type: M.FAILED, message: sentence});
  };
  try {
    worker = new Worker(URL.createObjectURL(
        new Blob([workerSource], {type: 'text/javascript'})));
    worker.onmessage = ({data}) => {
      if (data.type === M.READY) {
        onReady(data);
      } else if (data.id === undefined) {
        // About the worker itself, as a compile that failed.
        failWorker('The program could not be started: ' + data.message + '.');
      } else if (running && running.id === data.id) {
        running.take(data);
      }
    };
    worker.onerror = (event) => {
      event.preventDefault();
      failWorker('The page\'s worker stopped: ' + (event.message || 'unknown error') + '.');
    };
  } catch (error) {
    failWorker('The page\'s worker could not start: ' + error.message + '.');
  }

  // Runs zeptor on `file`, its report named `outputName`; onProgress(bytes)
  // follows the scan. Resolves to
  // the run's result; rejects with a sentence when the run could not be
  // done. Requires the last run to have settled.
  function run(file, outputName, accession, onProgress) {
    if (failure) return Promise.reject(new Error(failure));
    const id = ++lastId;
    const reader = slices.open(file);
    return new Promise((resolve, reject) => {
      let unanswered = 0;
      let wantsMore = true;  // false once the scan has stopped
      let ended = false;
      let credit = null;     // resolves when the worker has taken a slice
      const reading = () => wantsMore && !ended;
      // A file whose scan stopped early is not read on.
      const end = (settle, value) => {
        ended = true;
        running = null;
        reader.cancel();
        settle(value);
        if (credit) credit();
      };
      running = {id, take: (data) => {
        if (data.type === M.FED) {
          slices.giveBack(data.bytes);
          --unanswered;
          wantsMore = data.more;
          onProgress(data.done);
          if (credit) credit();
        } else if (data.type === M.DONE) {
          end(resolve, data.result);
        } else {
          end(reject, new Error(data.message));
        }
      }};
      worker.postMessage({type: M.RUN, id, name: file.name, outputName, accession});
      (async () => {
        while (reading()) {
          while (unanswered >= SLICES_IN_FLIGHT && reading()) {
            await new Promise((taken) => { credit = taken; });
          }
          if (!reading()) break;
          let slice;
          try {
            slice = await reader.read();
          } catch (unreadable) {
            worker.postMessage({type: M.READ_FAILED, id});
            return;
          }
          if (!reading() || slice.size === 0) break;
          ++unanswered;
          worker.postMessage({type: M.SLICE, id, bytes: slice.buffer, size: slice.size},
                             [slice.buffer]);
        }
        // The end of the file, or of what the scan wants of it.
        if (!ended) worker.postMessage({type: M.END, id});
      })().catch((error) => {
        // The page's own fault: the worker drops the run, and the next
        // file runs.
        if (ended) return;
        try {
          worker.postMessage({type: M.ABANDON, id});
        } finally {
          end(reject, error);
        }
      });
    });
  }

  return {run};
}

return {start};
})(ZeptorProtocol, ZeptorSliceReader);
