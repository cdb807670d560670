// Print files for the page's tests, made here: the bundled example in the
// forms the command line's end-to-end tests use, and hostile files.
'use strict';
const fs = require('node:fs');
const path = require('node:path');

const example = fs.readFileSync(path.join(__dirname, '../../../examples/survey.prt'));

// A small fixed generator, so that every run tests the same bytes.
function randomBytes(count, seed) {
  const bytes = Buffer.alloc(count);
  let x = seed;
  for (let i = 0; i < count; ++i) {
    x = (Math.imul(x, 1103515245) + 12345) >>> 0;
    bytes[i] = x >>> 24;
  }
  return bytes;
}

const MAGIC = '1\n PROGRAM OMBRIX\n';
const pair = (metres, error) =>
  `         DISTANCE=${String(metres).padStart(17)}\n` +
  `         VERT.ANG.=${' '.repeat(38)}${error}\n`;

// name -> contents
function printFiles() {
  const text = example.toString('latin1');
  const lines = text.split('\n');
  return {
    'survey.prt': example,
    'offset0.prt': Buffer.from(lines.map((l) => l.slice(1)).join('\n'), 'latin1'),
    'crlf.prt': Buffer.from(text.replace(/\n/g, '\r\n'), 'latin1'),
    'cut.prt': example.subarray(0, Math.floor(example.length * 0.6)),
    'no-final-newline.prt': example.subarray(0, example.length - 1),
    'tab-magic.prt': Buffer.from('title\n\tPROGRAM OMBRIX\n'),
    'long-first.prt': Buffer.from('title\nshort\n' + 'x'.repeat(66) + '\n'),
    'no-version.prt': Buffer.from(MAGIC + pair(49000, '0.0025')),
    'empty.prt': Buffer.alloc(0),
    'blank-versions.prt': Buffer.from(
        MAGIC + ' '.repeat(58) + 'VERSION   \n' + ' '.repeat(58) +
        'VERSION  8.1\n' + pair(1000, '0.0010')),
    'odd-bytes-version.prt': Buffer.concat([
      Buffer.from(MAGIC + ' '.repeat(58) + 'VERSION  '),
      Buffer.from([0x80, 0x81, 0x00, 0xe9, 0xff, 0x01, 0x7f]), Buffer.from('\n')]),
    'random.prt': randomBytes(1 << 20, 7),
    'random-after-magic.prt': Buffer.concat([Buffer.from(MAGIC), randomBytes(1 << 20, 9)]),
    'garbage.prt': Buffer.from(MAGIC + Array.from({length: 500}, (_, i) =>
        pair(['abc', '--1', '0x10', 'inf', 'nan'][i % 5], ['.', 'e5', '+-'][i % 3]))
        .join('')),
    // Ratios of no number (0 / 0) and infinite ones, and numbers in
    // exponent notation.
    'odd-numbers.prt': Buffer.from(MAGIC + pair(0, '0') + pair(0, '0.0010') +
                                   pair(100000, '1e-7') + pair('1e20', '0.0010')),
    'many.prt': Buffer.from(MAGIC + pair(30000, '0.0010').repeat(12345)),
    'empty-lines.prt': Buffer.from(MAGIC + '\n'.repeat(1000000)),
    'one-long-line.prt': Buffer.from(MAGIC + 'x'.repeat(5 << 20)),
  };
}

module.exports = {printFiles, pair, MAGIC};
