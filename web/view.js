// What the page makes of a run's results: the output file's name, the text
// shown on screen, the bytes downloaded, and the shares and the CSV of the
// counts of several runs. Every number comes from the program; nothing
// here reads a print file or a report.
//
// Takes: nothing. Gives: ZeptorView, the functions and constants below.
const ZeptorView = (() => {
'use strict';

// The input's name without its extension.
function stemOf(inputName) {
  const dot = inputName.lastIndexOf('.');
  return dot > 0 ? inputName.slice(0, dot) : inputName;
}

// The output file's name: the input's with ".rpt" in place of its
// extension, or appended when it has none.
function outputNameFor(inputName) {
  return stemOf(inputName) + '.rpt';
}

// The Windows-1252 character of each byte, so that every byte of a report
// shows as something: controls but tab and line feed as their pictures,
// the five bytes that code page leaves undefined as U+FFFD.
const CP1252_80_TO_9F =
    '\u20ac\ufffd\u201a\u0192\u201e\u2026\u2020\u2021\u02c6\u2030\u0160' +
    '\u2039\u0152\ufffd\u017d\ufffd\ufffd\u2018\u2019\u201c\u201d\u2022' +
    '\u2013\u2014\u02dc\u2122\u0161\u203a\u0153\ufffd\u017e\u0178';
const SCREEN_CHARACTERS = Array.from({length: 256}, (_, b) => {
  if (b === 0x09 || b === 0x0a) return String.fromCharCode(b);
  if (b < 0x20) return String.fromCharCode(0x2400 + b);
  if (b === 0x7f) return '\u2421';
  if (b >= 0x80 && b <= 0x9f) return CP1252_80_TO_9F[b - 0x80];
  return String.fromCharCode(b);
});
function screenText(bytes) {
  let text = '';
  for (const b of bytes) text += SCREEN_CHARACTERS[b];
  return text;
}

// The report's bytes with the line ends zeptor writes on the user's
// system: CR LF on Windows, LF elsewhere.
function withLineEnds(bytes, windows) {
  if (!windows) return bytes;
  let lines = 0;
  for (const b of bytes) lines += b === 0x0a;
  const out = new Uint8Array(bytes.length + lines);
  let o = 0;
  for (const b of bytes) {
    if (b === 0x0a) out[o++] = 0x0d;
    out[o++] = b;
  }
  return out;
}

function csvField(text) {
  return /[",\r\n]/.test(text) ? '"' + text.replace(/"/g, '""') + '"' : text;
}

// Each class's share of all counted pairs, in percent (0 when there are
// none).
function shares(counts) {
  const all = counts.reduce((sum, row) => sum + row.total, 0);
  return counts.map((row) => (all === 0 ? 0 : (100 * row.total) / all));
}

// Each class's cumulative share: of the pairs in this class or a better one
// (the classes before it), in percent, the class a job must meet.
function cumulativeShares(counts) {
  const all = counts.reduce((sum, row) => sum + row.total, 0);
  let sum = 0;
  return counts.map((row) => {
    sum += row.total;
    return all === 0 ? 0 : (100 * sum) / all;
  });
}

// One row per file and order class: file, class, total, the spacing
// ranges, the share and the cumulative share in percent to one decimal,
// and with a required class `required` (an index, or null) the file's
// share of that class or better; lines end in CR LF, as spreadsheets
// expect. Each run has its `name`, `counts` and `spacingRanges`, as the
// program names them.
function toCsv(runs, required = null) {
  const extra = required === null ? [] :
    [`class ${runs[0].counts[required].label} or better %`];
  const lines = [['file', 'class', 'total', ...runs[0].spacingRanges, 'share %',
                  'cumulative share %', ...extra].join(',')];
  for (const run of runs) {
    const share = shares(run.counts);
    const cumulative = cumulativeShares(run.counts);
    const met = required === null ? [] : [cumulative[required].toFixed(1)];
    run.counts.forEach((row, c) => {
      lines.push([csvField(run.name), row.label, row.total, ...row.bySpacing,
                  share[c].toFixed(1), cumulative[c].toFixed(1), ...met].join(','));
    });
  }
  return lines.join('\r\n') + '\r\n';
}

return {
  stemOf, outputNameFor, screenText, withLineEnds, toCsv, shares, cumulativeShares,
};
})();

if (typeof module !== 'undefined') module.exports = ZeptorView;
