// How the page and its worker speak: the messages' names and the sizes of
// the slices a print file is handed over in.
//
//   page to worker: RUN {id, name, outputName, accession}, then SLICE
//     {id, bytes, size} for each slice (its first size bytes), then END
//     {id}, READ_FAILED {id} when the file could not be read, or ABANDON
//     {id} when the page gave the run up;
//   worker to page: READY {classLabels} once the program is compiled; FED
//     {id, done, more, bytes} after each slice, handing its buffer back;
//     DONE {id, result} at the end of a run, or FAILED {id, message} when
//     the run, or (without an id) the worker itself, could not go on.
//
// Takes: nothing. Gives: ZeptorProtocol.
const ZeptorProtocol = (() => {
'use strict';

const MESSAGES = Object.freeze({
  RUN: 'run', SLICE: 'slice', END: 'end', READ_FAILED: 'read-failed',
  ABANDON: 'abandon', READY: 'ready', FED: 'fed', DONE: 'done', FAILED: 'failed',
});

// A file is read in slices of SLICE_BYTES into buffers that go back and
// forth. A browser that reads each slice into a new buffer (WebKit) is
// given smaller ones: it then holds less memory at a time. A buffer handed
// back is kept for reuse by its size alone, so the two must differ.
const SLICE_BYTES = 2 << 20;
const NEW_BUFFER_SLICE_BYTES = 1 << 19;
if (!(NEW_BUFFER_SLICE_BYTES < SLICE_BYTES)) {
  throw new Error('a new buffer\'s slice must be smaller than a reused one\'s');
}

return {MESSAGES, SLICE_BYTES, NEW_BUFFER_SLICE_BYTES};
})();

if (typeof module !== 'undefined') module.exports = ZeptorProtocol;
