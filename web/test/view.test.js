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
