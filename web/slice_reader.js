// Reads a chosen print file in slices, on the page's main thread, where
// every browser lets a page read one (WebKit refuses it to a worker of a
// page opened from disk).
//
// Takes: ZeptorProtocol (protocol.js). Gives: ZeptorSliceReader,
// {open(file) -> {read(), cancel()}, giveBack(buffer)}.
const ZeptorSliceReader = ((protocol) => {
'use strict';

// As many slices as the run client lets be on their way at once.
const SPARE_BUFFERS = 2;

// Whether the browser reads a file as a byte stream, into given buffers.
// Asked of an empty blob: WebKit's file stream is no byte stream, and one
// made and left unread fills memory with the file.
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
// collected. No more are kept than can be on their way; any other, and any
// slice read into a new buffer (of NEW_BUFFER_SLICE_BYTES), is freed at
// once (transfer(0)), as WebKit would otherwise hold tens of megabytes of
// them.
const spareBuffers = [];
function giveBack(buffer) {
  if (buffer.byteLength === protocol.SLICE_BYTES && spareBuffers.length < SPARE_BUFFERS) {
    spareBuffers.push(buffer);
  } else if (buffer.transfer) {
    buffer.transfer(0);
  }
}

// How long a file's byte stream may give nothing before it is given up:
// Chromium was seen to leave a read unanswered, once in many files.
const STREAM_READ_PATIENCE_MS = 3000;

// Calls onStall() once nothing has come for STREAM_READ_PATIENCE_MS since
// the watch began or heard() was last called: one timer for a slice's
// reads, as a timer or a promise for each read would leave Firefox tens of
// MiB of garbage on a large file.
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
// next {buffer, size}, size 0 at the end; cancel() gives the file up. Where
// the browser reads a file as a byte stream, each slice goes into a spare
// buffer of SLICE_BYTES; else, or once the stream was given up, each into
// a new one of NEW_BUFFER_SLICE_BYTES.
function open(file) {
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
    const buffer = await file.slice(delivered, delivered + protocol.NEW_BUFFER_SLICE_BYTES)
                       .arrayBuffer();
    delivered += buffer.byteLength;
    return {buffer, size: buffer.byteLength};
  };
  const readStreamed = async () => {
    let buffer = spareBuffers.pop() || new ArrayBuffer(protocol.SLICE_BYTES);
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
  return {
    read: () => (stream ? readStreamed() : readSliced()),
    // The rest of the file is not wanted: its stream stops reading it.
    cancel: () => {
      if (stream) stream.cancel().catch(() => {});
      stream = null;
    },
  };
}

return {open, giveBack};
})(ZeptorProtocol);
