// The page's own logic under node: names, the tables read back from a
// report, the text shown, the bytes downloaded, the CSV and the charts.
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const view = require('../view.js');
const chart = require('../chart.js');

const expectedReport = fs.readFileSync(
    path.join(__dirname, '../../report/testdata/survey.expected'), 'latin1');

test('the output file is the input with .rpt as its extension', () => {
  for (const [input, output] of [
         ['survey.prt', 'survey.rpt'], ['survey', 'survey.rpt'],
         ['a.b.c', 'a.b.rpt'], ['.hidden', '.hidden.rpt'],
         ['x.rpt', 'x.rpt'], ['Müller.PRT', 'Müller.rpt']]) {
    assert.strictEqual(view.outputNameFor(input), output);
  }
});

test('reads both tables of a report', () => {
  const tables = view.readTables(expectedReport);
  assert.deepStrictEqual(tables.map((row) => row.label),
                         ['11', '12', '21', '22', '31', '32', '41', '42', '51',
                          '52', 'low']);
  assert.deepStrictEqual(tables.map((row) => row.total),
                         [6, 1, 3, 2, 6, 4, 3, 8, 3, 5, 3]);
  assert.deepStrictEqual(tables[0].bySpacing, [0, 2, 0, 4]);
  assert.deepStrictEqual(tables[10].bySpacing, [0, 0, 1, 2]);
  // CR LF lines and counts wider than their columns read alike.
  const wide = expectedReport.replace('   low      0          0              1         2',
                                      '   low   123456          0              1     99999')
                   .replace(/\n/g, '\r\n');
  assert.deepStrictEqual(view.readTables(wide)[10].bySpacing, [123456, 0, 1, 99999]);
  assert.throws(() => view.readTables('no tables'), /no table/);
  assert.throws(() => view.readTables(expectedReport.slice(0, -200)), /cut short/);
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
  const tables = view.readTables(expectedReport);
  const csv = view.toCsv([{name: 'a.prt', tables}, {name: 'b, "2".prt', tables}]);
  const lines = csv.split('\r\n');
  assert.strictEqual(lines[0], 'file,class,total,<25km,25km-100km,100km-250km,>=250km');
  assert.strictEqual(lines[1], 'a.prt,11,6,0,2,0,4');
  assert.strictEqual(lines[22], '"b, ""2"".prt",low,3,0,0,1,2');
  assert.strictEqual(lines.length, 24);  // the last line end too
  assert.strictEqual(lines[23], '');
});

test('gives each class its share of the pairs', () => {
  const shares = view.shares(view.readTables(expectedReport));
  assert.strictEqual(shares[7], 100 * 8 / 44);
  assert.strictEqual(Math.round(shares.reduce((a, b) => a + b)), 100);
  assert.deepStrictEqual(view.shares([{total: 0}, {total: 0}]), [0, 0]);
});

test('draws a bar per class and spacing range, names escaped', () => {
  const tables = view.readTables(expectedReport);
  const svg = chart.distributionChart(tables, view.SPACING_RANGES);
  assert.strictEqual((svg.match(/<rect /g) || []).length, 44);
  assert.match(svg, /<title>42, 25km-100km: 5<\/title>/);
  const compared = chart.comparisonChart(['11'], ['<a&b>', 'c'], [[50], [25]]);
  assert.match(compared, /&#60;a&#38;b&#62;/);
  assert.doesNotMatch(compared, /<a&b>/);
  assert.match(compared, /<title>11, c: 25%<\/title>/);
});
