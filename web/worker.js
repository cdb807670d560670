// The page's worker: runs the zeptor program, compiled to WebAssembly, once
// per print file, with its real main and argument vector. The file is
// mounted read-only and read in slices on demand, never whole; the output
// file lives in memory. Follows the program's glue (createZeptor) and
// view.js in one script.
'use strict';

const INPUT_FOLDER = '/input';
const RUN_FOLDER = '/run';
// Read ahead in large slices: each slice is one synchronous read of the
// browser's, whose own cost per call dwarfs the copy.
const SLICE_BYTES = 8 << 20;

// The compiled program, kept after the first run: a fresh instance costs
// little, a fresh compile much more.
let compiledProgram = null;
const instantiate = WebAssembly.instantiate;
WebAssembly.instantiate = async (source, imports) => {
  if (source instanceof WebAssembly.Module) return instantiate(source, imports);
  const result = await instantiate(source, imports);
  compiledProgram = result.module;
  return result;
};

function instantiateCompiled(imports, receiveInstance) {
  instantiate(compiledProgram, imports)
      .then((instance) => receiveInstance(instance, compiledProgram));
  return {};
}

// Serves the reads of the mounted file from slices of SLICE_BYTES, and
// reports how far it has read.
function readInSlices(node, file, onProgress) {
  const reader = new FileReaderSync();
  let slice = new Uint8Array(0);
  let sliceStart = 0;
  node.stream_ops = Object.assign({}, node.stream_ops, {
    read(stream, buffer, offset, length, position) {
      if (position >= file.size) return 0;
      if (position < sliceStart || position >= sliceStart + slice.length) {
        sliceStart = position;
        slice = new Uint8Array(reader.readAsArrayBuffer(
            file.slice(position, position + SLICE_BYTES)));
        onProgress(Math.min(file.size, position + slice.length));
      }
      const part = slice.subarray(position - sliceStart,
                                  position - sliceStart + length);
      buffer.set(part, offset);
      return part.length;
    },
  });
}

// Runs zeptor on `file`; resolves to its exit status, its error output and
// the bytes of its output file.
async function runZeptor(file, accession, onProgress) {
  const errors = [];
  const program = await createZeptor({
    instantiateWasm: compiledProgram ? instantiateCompiled : undefined,
    preRun: [(module) => {
      // No standard input; standard output's copy of the report is not
      // needed, the error stream is.
      module.FS.init(() => null, () => {}, (byte) => {
        if (byte !== null) errors.push(byte);
      });
    }],
  });
  const FS = program.FS;
  FS.mkdir(INPUT_FOLDER);
  FS.mount(FS.filesystems.WORKERFS, {files: [file]}, INPUT_FOLDER);
  readInSlices(FS.lookupPath(INPUT_FOLDER + '/' + file.name).node, file,
               onProgress);
  // The program echoes its arguments into the report: it runs where the
  // input is, by its bare name.
  FS.mkdir(RUN_FOLDER);
  FS.symlink(INPUT_FOLDER + '/' + file.name, RUN_FOLDER + '/' + file.name);
  FS.chdir(RUN_FOLDER);
  const outputName = outputNameFor(file.name);
  const args = [file.name, outputName];
  if (accession !== '') args.push(accession);
  const status = program.callMain(args);
  let report = null;
  try {
    report = FS.readFile(outputName);
  } catch (missing) {
    // Not created: the input was missing or refused.
  }
  return {status, errors: new Uint8Array(errors), report, outputName};
}

// Compiles the program at once, so that the first file need not wait.
createZeptor().then(() => postMessage({type: 'ready'}));

self.onmessage = async (event) => {
  const {id, file, accession} = event.data;
  try {
    const result = await runZeptor(
        file, accession, (done) => postMessage({id, type: 'progress', done}));
    postMessage({id, type: 'done', result});
  } catch (error) {
    postMessage({id, type: 'failed', message: String(error)});
  }
};
