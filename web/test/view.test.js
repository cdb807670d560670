// The page's own logic under node: names, the text shown, the bytes
// downloaded, the shares, the CSV, the charts and the observations.
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const view = require('../view.js');
const chart = require('../chart.js');
const observations = require('../observations.js');

// The counts of the bundled example, as the program hands them over.
const LABELS = ['11', '12', '21', '22', '31', '32', '41', '42', '51', '52', 'low'];
const TOTALS = [6, 1, 3, 2, 6, 4, 3, 8, 3, 5, 3];
const counts = LABELS.map((label, c) => ({
  label, total: TOTALS[c], bySpacing: c === 0 ? [0, 2, 0, 4] : [0, 0, 1, TOTALS[c] - 1],
}));

test('the output file is the input with .rpt as its extension', () => {
  for (const [input, output] of [
         ['survey.prt', 'survey.rpt'], ['survey', 'survey.rpt'],
         ['a.b.c', 'a.b.rpt'], ['.hidden', '.hidden.rpt'],
         ['x.rpt', 'x.rpt'], ['Müller.PRT', 'Müller.rpt']]) {
    assert.strictEqual(view.outputNameFor(input), output);
  }
});

test('shows every byte as a Windows-1252 character', () => {
  const bytes = Uint8Array.from([0x41, 0x00, 0x09, 0x0a, 0x80, 0x81, 0xe9, 0x7f, 0xff]);
  assert.strictEqual(view.screenText(bytes), 'A\u2400\t\n\u20ac\ufffd\u00e9\u2421\u00ff');
});

test('downloads with the line ends of the user\'s system', () => {
  const lf = Uint8Array.from(Buffer.from('a\nb\n\n'));
  assert.strictEqual(view.withLineEnds(lf, false), lf);
  assert.strictEqual(Buffer.from(view.withLineEnds(lf, true)).toString(), 'a\r\nb\r\n\r\n');
});

const RANGES = ['<25km', '25km-100km', '100km-250km', '>=250km'];

test('writes one CSV row per file and order class', () => {
  const csv = view.toCsv([{name: 'a.prt', counts, spacingRanges: RANGES},
                          {name: 'b, "2".prt', counts, spacingRanges: RANGES}]);
  const lines = csv.split('\r\n');
  assert.strictEqual(lines[0], 'file,class,total,<25km,25km-100km,100km-250km,>=250km,' +
                               'share %,cumulative share %');
  assert.strictEqual(lines[1], 'a.prt,11,6,0,2,0,4,13.6,13.6');
  assert.strictEqual(lines[2], 'a.prt,12,1,0,0,1,0,2.3,15.9');
  assert.strictEqual(lines[22], '"b, ""2"".prt",low,3,0,0,1,2,6.8,100.0');
  assert.strictEqual(lines.length, 24);  // the last line end too
  assert.strictEqual(lines[23], '');
});

test('gives each class its share, and that of it and the better ones', () => {
  const shares = view.shares(counts);
  assert.strictEqual(shares[7], 100 * 8 / 44);
  assert.strictEqual(Math.round(shares.reduce((a, b) => a + b)), 100);
  assert.deepStrictEqual(view.cumulativeShares(counts).slice(0, 3),
                         [100 * 6 / 44, 100 * 7 / 44, 100 * 10 / 44]);
  const none = [{total: 0}, {total: 0}];
  assert.deepStrictEqual(view.shares(none), [0, 0]);
  assert.deepStrictEqual(view.cumulativeShares(none), [0, 0]);
});

test('draws a bar per class and spacing range, names escaped', () => {
  const svg = chart.distributionChart(counts, RANGES);
  assert.strictEqual((svg.match(/<rect x=/g) || []).length, 44);
  // Three ranges patterned for paper, on the bars and in the legend.
  assert.strictEqual((svg.match(/class="print-pattern"/g) || []).length, 3 * 11 + 3);
  assert.match(svg, /<title>42, &#62;=250km: 7<\/title>/);
  const compared = chart.comparisonChart(['11'], ['<a&b>', 'c'], [[50], [25]]);
  assert.match(compared, /&#60;a&#38;b&#62;/);
  assert.doesNotMatch(compared, /<a&b>/);
  assert.match(compared, /<title>11, c: 25%<\/title>/);
});

// Observations as the worker hands them over: the program's rows (here
// without numbers of interest), worst first as `worstFirst` gives them.
function listed(classes, worstFirst, limit = 50000) {
  const header = 'header\r\n';
  const rows = classes.map((c, i) => `${i + 3},${i + 4},1000,0.0005,0.98,${c},${c},<25km\r\n`);
  const rowStarts = Uint32Array.from(rows, (_, i) =>
    header.length + rows.slice(0, i).join('').length);
  return {limit, csv: Uint8Array.from(Buffer.from(header + rows.join(''))), rowStarts,
          rowClasses: Uint8Array.from(classes), worstFirst: Uint32Array.from(worstFirst)};
}
const csvText = (parts) => Buffer.concat(parts.map((part) => Buffer.from(part))).toString();

test('cuts the observations worse than a class out of the program\'s rows', () => {
  const kept = listed([2, 0, 10, 3], [2, 3, 0, 1]);
  assert.strictEqual(csvText(observations.worseThanCsv(kept, 2)),
                     'header\r\n5,6,1000,0.0005,0.98,10,10,<25km\r\n' +
                     '6,7,1000,0.0005,0.98,3,3,<25km\r\n');
  assert.strictEqual(csvText(observations.worseThanCsv(kept, 10)), 'header\r\n');
  assert.strictEqual(csvText(observations.allCsv(kept)), Buffer.from(kept.csv).toString());
  assert.strictEqual(csvText(observations.worseThanCsv(listed([], []), 0)), 'header\r\n');
  assert.deepStrictEqual(observations.worst(kept, 2), [
    {fields: ['5', '6', '1000', '0.0005', '0.98', '10', '10', '<25km'], orderClass: 10},
    {fields: ['6', '7', '1000', '0.0005', '0.98', '3', '3', '<25km'], orderClass: 3}]);
});

test('notes a listing cut short only past the number kept', () => {
  const kept = listed([], []);
  assert.strictEqual(observations.keptNote(kept, 50000), '');
  assert.strictEqual(observations.keptNote(kept, 50001),
                     ' (the worst 50,000 of 50001; zeptor-pairs lists them all)');
});

test('says how a run meets a required class, in the sentence and the CSV', () => {
  assert.strictEqual(observations.requirement(counts, 3).sentence,
                     '12 of 44 observations (27.3%) are class 22 or better; 32 are worse.');
  assert.strictEqual(observations.requirement(counts, 9).sentence,
                     '41 of 44 observations (93.2%) are class 52 or better; 3 are worse.');
  const none = LABELS.map((label) => ({label, total: 0, bySpacing: [0, 0, 0, 0]}));
  assert.strictEqual(observations.requirement(none, 0).sentence,
                     '0 of 0 observations (0.0%) are class 11 or better; 0 are worse.');
  const lines = view.toCsv([{name: 'a.prt', counts, spacingRanges: RANGES}], 3)
                    .split('\r\n');
  assert.match(lines[0], /,cumulative share %,class 22 or better %$/);
  assert.strictEqual(lines[1], 'a.prt,11,6,0,2,0,4,13.6,13.6,27.3');
  assert.strictEqual(lines[11], 'a.prt,low,3,0,0,1,2,6.8,100.0,27.3');
});

test('gives a reused slice buffer and a new one sizes that tell them apart', () => {
  const protocol = require('../protocol.js');
  assert.ok(protocol.NEW_BUFFER_SLICE_BYTES < protocol.SLICE_BYTES);
  assert.strictEqual(new Set(Object.values(protocol.MESSAGES)).size,
                     Object.keys(protocol.MESSAGES).length);
});
