// What the page makes of a run's results: the output file's name, the
// counts read back from the report's tables, the text shown on screen, the
// bytes downloaded and the CSV of several runs. Nothing here reads a print
// file: every number comes from the report zeptor wrote.
'use strict';

const CLASS_TABLE_HEADING = ' Distribution of Ellipsoid Height Accuracies';
const SPACING_TABLE_HEADING = ' Distribution of Accuracies by Station Spacing';
const CLASS_COUNT = 11;
const SPACING_RANGES = ['<25km', '25km-100km', '100km-250km', '>=250km'];

// The output file's name: the input's with ".rpt" in place of its
// extension, or appended when it has none.
function outputNameFor(inputName) {
  const dot = inputName.lastIndexOf('.');
  const stem = dot > 0 ? inputName.slice(0, dot) : inputName;
  return stem + '.rpt';
}

// Returns the 11 rows, with `skip` heading lines after `heading`, of the
// table whose heading is the last line equal to `heading`.
function tableRows(lines, heading, skip) {
  const start = lines.lastIndexOf(heading);
  if (start < 0) throw new Error('no table "' + heading.trim() + '"');
  const rows = lines.slice(start + 1 + skip, start + 1 + skip + CLASS_COUNT);
  if (rows.length !== CLASS_COUNT) throw new Error('a table is cut short');
  return rows.map((row) => ({
    label: row.slice(0, 6).trim(),
    counts: row.slice(6).trim().split(/ +/).map(Number),
  }));
}

// The counts of a report's two tables, one entry per order class:
// { label, total, bySpacing: [4 counts] }.
function readTables(reportText) {
  const lines = reportText.split(/\r?\n/);
  const totals = tableRows(lines, CLASS_TABLE_HEADING, 4);
  const bySpacing = tableRows(lines, SPACING_TABLE_HEADING, 3);
  return totals.map((row, c) => ({
    label: row.label,
    total: row.counts[0],
    bySpacing: bySpacing[c].counts,
  }));
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

// One row per file and order class: file, class, total, the four spacing
// ranges; lines end in CR LF, as spreadsheets expect.
function toCsv(runs) {
  const lines = [['file', 'class', 'total', ...SPACING_RANGES].join(',')];
  for (const run of runs) {
    for (const row of run.tables) {
      lines.push([csvField(run.name), row.label, row.total, ...row.bySpacing]
                     .join(','));
    }
  }
  return lines.join('\r\n') + '\r\n';
}

// Each class's share of all counted pairs, in percent (0 when there are
// none).
function shares(tables) {
  const all = tables.reduce((sum, row) => sum + row.total, 0);
  return tables.map((row) => (all === 0 ? 0 : (100 * row.total) / all));
}

if (typeof module !== 'undefined') {
  module.exports = {
    outputNameFor, readTables, screenText, withLineEnds, toCsv, shares,
    SPACING_RANGES,
  };
}
