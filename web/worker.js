// The page's worker: runs zeptor, compiled to WebAssembly, once per print
// file, in a fresh instance of the program. The page reads the file and
// hands it over in slices; the worker feeds each to the program as it
// comes, and answers each with how far the run has got. The messages are
// those of protocol.js.
//
// Takes: createZeptor (the program's glue, before this script) and
// ZeptorProtocol (protocol.js). Gives: nothing; it speaks only through
// messages.
((createZeptor, protocol) => {
  'use strict';

  const M = protocol.MESSAGES;

  // The program's glue would fetch its own data: URI, which the page's
  // Content-Security-Policy refuses (and Firefox logs); without fetch it
  // decodes the URI itself.
  self.fetch = undefined;

  // The compiled program, kept after the first instance: a fresh instance
  // costs little, a fresh compile much more.
  let compiled = null;
  const instantiate = WebAssembly.instantiate;
  WebAssembly.instantiate = async (source, imports) => {
    if (source instanceof WebAssembly.Module) return instantiate(source, imports);
    const result = await instantiate(source, imports);
    compiled = result.module;
    return result;
  };

  // Makes a fresh instance of the program; after the first, from the kept
  // compile. Rejects when it cannot be made.
  function createInstance(options) {
    if (!compiled) return createZeptor(options);
    return new Promise((resolve, reject) => {
      createZeptor({...options, instantiateWasm: (imports, receiveInstance) => {
        instantiate(compiled, imports)
            .then((instance) => receiveInstance(instance, compiled), reject);
        return {};
      }}).then(resolve, reject);
    });
  }

  // The run in progress: its program instance, its error stream's bytes,
  // where its slices go, how many bytes it has had, and whether it wants
  // more.
  let run = null;

  // Calls the run's program. A fatal error exits the instance, which throws
  // its exit status: returns {status} then, else {value}.
  function call(name, returnType, argTypes = [], args = []) {
    try {
      return {value: run.program.ccall(name, returnType, argTypes, args)};
    } catch (error) {
      if (error && error.name === 'ExitStatus') return {status: error.status};
      throw error;
    }
  }

  const text = (program, name, ...args) =>
    program.UTF8ToString(program.ccall(name, 'number', args.map(() => 'number'), args));
  const number = (program, name) => program.ccall(name, 'number');

  // What the program names: the order classes' labels and the spacing
  // ranges' names, in order.
  const classLabels = (program) => Array.from(
      {length: number(program, 'zeptorClassCount')},
      (_, c) => text(program, 'zeptorClassLabel', c));
  const spacingRanges = (program) => Array.from(
      {length: number(program, 'zeptorSpacingRangeCount')},
      (_, range) => text(program, 'zeptorSpacingRangeName', range));

  // The counts of a finished run, one entry per order class:
  // {label, total, bySpacing: [a count per spacing range]}.
  function countsOf(program, ranges) {
    const labels = classLabels(program);
    const countsIn = (range) => {
      const word = program.ccall('zeptorCounts', 'number', ['number'], [range]) >> 2;
      return labels.map((_, c) =>
        program.HEAPU32[word + 2 * c] + program.HEAPU32[word + 2 * c + 1] * 2 ** 32);
    };
    const totals = countsIn(-1);
    const byRange = ranges.map((_, range) => countsIn(range));
    return totals.map((total, c) => ({
      label: labels[c], total, bySpacing: byRange.map((counts) => counts[c]),
    }));
  }

  // Copies `count` elements of `type` out of the program's memory at what
  // the call `name` returns.
  const copied = (program, name, Type, count) => {
    const first = program.ccall(name, 'number');
    return new Type(program.HEAPU8.buffer, first, count).slice();
  };

  // The worst observations of a finished run as the program lists them
  // (page_run.cc): their CSV's bytes, where each row starts, each row's
  // order class and the rows worst first, with how many a run keeps.
  function observationsOf(program) {
    const count = number(program, 'zeptorObservationCount');
    return {
      limit: number(program, 'zeptorWorstPairLimit'),
      csv: copied(program, 'zeptorObservationCsv', Uint8Array,
                  number(program, 'zeptorObservationCsvSize')),
      rowStarts: copied(program, 'zeptorRowStarts', Uint32Array, count),
      rowClasses: copied(program, 'zeptorRowClasses', Uint8Array, count),
      worstFirst: copied(program, 'zeptorWorstFirst', Uint32Array, count),
    };
  }

  async function start({id, name, outputName, accession}) {
    const errors = [];
    const program = await createInstance({
      preRun: [(module) => {
        // No standard input and no standard output; the error stream is kept.
        module.FS.init(() => null, () => {}, (byte) => {
          if (byte !== null) errors.push(byte);
        });
      }],
    });
    run = {id, program, errors, outputName, slice: 0, done: 0, more: true};
    const started = call('zeptorStart', 'number',
                         ['string', 'string', 'string', 'number'],
                         [name, outputName, accession, protocol.SLICE_BYTES]);
    if ('status' in started) return end(started.status);
    run.slice = started.value;
  }

  const isCurrent = (id) => run !== null && run.id === id;

  // Feeds the first `size` bytes of `bytes` and hands the buffer back.
  function feed({id, bytes, size}) {
    if (!isCurrent(id)) return;  // the run has already ended
    if (run.more) {
      run.program.HEAPU8.set(new Uint8Array(bytes, 0, size), run.slice);
      const fed = call('zeptorFeed', 'boolean', ['number'], [size]);
      if ('status' in fed) return end(fed.status);
      run.more = fed.value;
    }
    run.done += size;
    postMessage({id, type: M.FED, done: run.done, more: run.more, bytes}, [bytes]);
  }

  function finish({id}) {
    if (!isCurrent(id)) return;
    const finished = call('zeptorFinish', 'number');
    if ('status' in finished) return end(finished.status);
    const {program} = run;
    const report = program.ccall('zeptorReport', 'number');
    const ranges = spacingRanges(program);
    end(0, {report: program.HEAPU8.slice(report, report + finished.value),
            counts: countsOf(program, ranges), spacingRanges: ranges,
            observations: observationsOf(program)});
  }

  // The page gave the run up.
  function abandon({id}) {
    if (isCurrent(id)) run = null;
  }

  function readFailed({id}) {
    if (isCurrent(id)) end(call('zeptorReadFailed', null).status);
  }

  // Ends the run with its exit status and, after a report, what the run
  // gave: its bytes, counts, spacing ranges and observations.
  function end(status, given = null) {
    const {id, errors, outputName} = run;
    run = null;
    const observations = given && given.observations;
    const moved = observations ? [observations.csv, observations.rowStarts,
                                  observations.rowClasses, observations.worstFirst]
        .map((array) => array.buffer) : [];
    postMessage({id, type: M.DONE, result: {
      status, errors: new Uint8Array(errors), outputName, report: null, counts: null,
      spacingRanges: null, observations: null, ...given}}, moved);
  }

  const handlers = {[M.RUN]: start, [M.SLICE]: feed, [M.END]: finish,
                    [M.READ_FAILED]: readFailed, [M.ABANDON]: abandon};

  // Messages are handled one after another, each after the last one's
  // program calls.
  let queue = Promise.resolve();
  self.onmessage = ({data}) => {
    queue = queue.then(() => handlers[data.type](data)).catch((error) => {
      run = null;
      postMessage({id: data.id, type: M.FAILED, message: String(error)});
    });
  };

  // Compiles the program at once, so that the first file need not wait,
  // and tells the page the class labels.
  createZeptor().then(
      (program) => postMessage({type: M.READY, classLabels: classLabels(program)}),
      (error) => postMessage({type: M.FAILED, message: String(error)}));
})(createZeptor, ZeptorProtocol);
