// The page's own logic under node: names, the text shown, the bytes
// downloaded, the shares, the CSV and the charts.
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const view = require('../view.js');
const chart = require('../chart.js');

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

test('writes one CSV row per file and order class', () => {
  const csv = view.toCsv([{name: 'a.prt', counts}, {name: 'b, "2".prt', counts}]);
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
  const svg = chart.distributionChart(counts, view.SPACING_RANGES);
  assert.strictEqual((svg.match(/<rect /g) || []).length, 44);
  assert.match(svg, /<title>42, &#62;=250km: 7<\/title>/);
  const compared = chart.comparisonChart(['11'], ['<a&b>', 'c'], [[50], [25]]);
  assert.match(compared, /&#60;a&#38;b&#62;/);
  assert.doesNotMatch(compared, /<a&b>/);
  assert.match(compared, /<title>11, c: 25%<\/title>/);
});

test('writes numbers as zeptor-pairs does', () => {
  for (const [value, text] of [
         [100000, '100000'], [0.0008, '0.0008'], [186.20000000000002, '186.20000000000002'],
         [0, '0'], [-0, '-0'], [-123.456, '-123.456'], [1e-4, '0.0001'], [1e-5, '1e-05'],
         [2.5e-5, '2.5e-05'], [1e15, '1000000000000000'], [9999999999999998, '9999999999999998'],
         [1e16, '1e+16'], [1.2345678901234568e17, '1.2345678901234568e+17'],
         [-1.7976931348623157e308, '-1.7976931348623157e+308'], [5e-324, '5e-324'],
         [Infinity, 'inf'], [-Infinity, '-inf'], [NaN, 'nan']]) {
    assert.strictEqual(view.shortestText(value), text, text);
  }
});

// Kept observations as the worker hands them over, [ratio, class] each on
// lines 2i + 3 and 2i + 4, in the order given by `order` (file order when
// none): the program's layout, seven 8-byte words a pair.
function kept(rows, order = rows.map((_, i) => i)) {
  const bytes = new Uint8Array(view.KEPT_PAIR_BYTES * rows.length);
  const data = new DataView(bytes.buffer);
  order.forEach((i, at) => {
    const [ratio, orderClass] = rows[i];
    const base = view.KEPT_PAIR_BYTES * at;
    data.setBigUint64(base, BigInt(2 * i + 3), true);
    data.setBigUint64(base + 8, BigInt(2 * i + 4), true);
    [1000, 0.0005, 0.98, ratio].forEach((value, k) =>
      data.setFloat64(base + 16 + 8 * k, value, true));
    data.setUint32(base + 48, orderClass, true);
    data.setUint32(base + 52, 0, true);
  });
  return view.keptObservations({count: rows.length, bytes});
}

test('lists the observations worse than a class, or all, as CSV', () => {
  // Kept in any order, listed in file order.
  const pairs = kept([[0.98, 2], [NaN, 0], [Infinity, 10]], [2, 0, 1]);
  const header = 'distance_line,error_line,distance_m,standard_error_m,accuracy_mm,ratio,' +
                 'class,spacing_range\r\n';
  assert.strictEqual(view.pairsCsv(pairs), header +
                     '3,4,1000,0.0005,0.98,0.98,21,<25km\r\n' +
                     '5,6,1000,0.0005,0.98,nan,11,<25km\r\n' +
                     '7,8,1000,0.0005,0.98,inf,low,<25km\r\n');
  assert.strictEqual(view.pairsCsv(pairs, 2), header + '7,8,1000,0.0005,0.98,inf,low,<25km\r\n');
  assert.strictEqual(view.pairsCsv(pairs, 9), header + '7,8,1000,0.0005,0.98,inf,low,<25km\r\n');
  assert.strictEqual(view.pairsCsv(kept([])), header);
});

test('finds the worst observations, equal ones in file order, no number last', () => {
  const pairs = kept([[1, 0], [NaN, 0], [5, 0], [Infinity, 0], [5, 0], [-1, 0]]);
  assert.deepStrictEqual(view.worstFirst(pairs, 3), [3, 2, 4]);
  assert.deepStrictEqual(view.worstFirst(pairs, 10), [3, 2, 4, 0, 5, 1]);
  assert.deepStrictEqual(view.worstFirst(pairs, 0), []);
  // Kept out of file order, listed by the lines: the fifth before the third.
  const shuffled = kept([[1, 0], [NaN, 0], [5, 0], [Infinity, 0], [5, 0], [NaN, 0]],
                        [4, 5, 1, 3, 2, 0]);
  const lines = (indices) => indices.map((i) => view.observation(shuffled, i).distanceLine);
  assert.deepStrictEqual(lines(view.worstFirst(shuffled, 6)), [9, 7, 11, 3, 5, 13]);
});

test('says how a run meets a required class, in the sentence and the CSV', () => {
  assert.strictEqual(view.requirement(counts, 3).sentence,
                     '12 of 44 observations (27.3%) are class 22 or better; 32 are worse.');
  assert.strictEqual(view.requirement(counts, 9).sentence,
                     '41 of 44 observations (93.2%) are class 52 or better; 3 are worse.');
  const none = LABELS.map((label) => ({label, total: 0, bySpacing: [0, 0, 0, 0]}));
  assert.strictEqual(view.requirement(none, 0).sentence,
                     '0 of 0 observations (0.0%) are class 11 or better; 0 are worse.');
  const lines = view.toCsv([{name: 'a.prt', counts}], 3).split('\r\n');
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
