// Charts of the counts as SVG markup, drawn from the counts the program
// hands over.
//
// Takes: nothing. Gives: ZeptorChart, {distributionChart, comparisonChart}.
const ZeptorChart = (() => {
'use strict';

const RANGE_COLOURS = ['#1b5e9e', '#4fa3d9', '#e0913a', '#a33b2b'];
// Patterns laid over a series' colour on paper, so that greyscale still
// tells the series apart: none, hatched, dotted and cross-hatched.
const PATTERNS = [
  '',
  '<path d="M0 6L6 0" stroke="#fff" stroke-width="1.5"/>',
  '<circle cx="3" cy="3" r="1.3" fill="#fff"/>',
  '<path d="M0 0L6 6M0 6L6 0" stroke="#000" stroke-width="1"/>',
];
let chartsDrawn = 0;  // each chart names its patterns apart
const FILE_COLOURS = ['#1b5e9e', '#e0913a', '#3a8f4b', '#a33b2b', '#7b52a8',
                      '#8c6d31', '#d6609a', '#4d4d4d'];

function escapeXml(text) {
  return String(text).replace(/[<>&"]/g, (c) => `&#${c.charCodeAt(0)};`);
}

// A bar chart with one group per order class and `series` bars per group
// (`stacked`: one bar of stacked parts). `value(c, s)` gives the value of
// class c in series s; with `patterned`, each series also has its pattern,
// which only paper shows.
function barChart({labels, series, value, stacked, unit, title, colours, patterned}) {
  const id = `chart${++chartsDrawn}-pattern`;
  const fill = (s) => colours[s % colours.length];
  // The rect's pattern over it, where the series has one.
  const pattern = (s, box) => (patterned && PATTERNS[s] ?
    `<rect class="print-pattern" ${box} fill="url(#${id}${s})"/>` : '');
  const width = 640, height = 260, left = 48, bottom = 36, top = 12;
  const plotWidth = width - left - 8, plotHeight = height - top - bottom;
  const groupTotal = (c) => series.reduce((sum, _, s) => sum + value(c, s), 0);
  let max = 0;
  labels.forEach((_, c) => {
    if (stacked) max = Math.max(max, groupTotal(c));
    else series.forEach((_, s) => { max = Math.max(max, value(c, s)); });
  });
  max = max || 1;
  const groupWidth = plotWidth / labels.length;
  const y = (v) => top + plotHeight - (plotHeight * v) / max;
  const parts = [];
  labels.forEach((label, c) => {
    const x0 = left + c * groupWidth;
    let base = 0;
    series.forEach((name, s) => {
      const v = value(c, s);
      const barWidth = stacked ? groupWidth * 0.7 : (groupWidth * 0.8) / series.length;
      const x = stacked ? x0 + groupWidth * 0.15 : x0 + groupWidth * 0.1 + s * barWidth;
      const y1 = y(stacked ? base + v : v), y0 = y(stacked ? base : 0);
      base += v;
      const box = `x="${x.toFixed(1)}" y="${y1.toFixed(1)}" ` +
                  `width="${barWidth.toFixed(1)}" height="${(y0 - y1).toFixed(1)}"`;
      parts.push(`<rect ${box} fill="${fill(s)}"><title>` +
                 `${escapeXml(label)}, ${escapeXml(name)}: ${+v.toFixed(2)}${unit}` +
                 `</title></rect>` + pattern(s, box));
    });
    parts.push(`<text x="${(x0 + groupWidth / 2).toFixed(1)}" y="${height - bottom + 16}" ` +
               `text-anchor="middle">${escapeXml(label)}</text>`);
  });
  parts.push(`<text x="${left - 6}" y="${top + 4}" text-anchor="end">` +
             `${+max.toFixed(2)}${unit}</text>`);
  parts.push(`<text x="${left - 6}" y="${top + plotHeight}" text-anchor="end">0</text>`);
  parts.push(`<line x1="${left}" y1="${top + plotHeight}" x2="${width - 8}" ` +
             `y2="${top + plotHeight}" stroke="currentColor"/>`);
  const swatchBox = 'width="10" height="10"';
  const legend = series.map((name, s) =>
      `<li><svg class="swatch" viewBox="0 0 10 10" aria-hidden="true">` +
      `<rect ${swatchBox} fill="${fill(s)}"/>${pattern(s, swatchBox)}</svg>` +
      `${escapeXml(name)}</li>`).join('');
  const defs = patterned ? '<defs>' + PATTERNS.map((shape, s) => (shape ?
    `<pattern id="${id}${s}" width="6" height="6" patternUnits="userSpaceOnUse">` +
    `${shape}</pattern>` : '')).join('') + '</defs>' : '';
  return `<figure class="chart"><svg viewBox="0 0 ${width} ${height}" role="img" ` +
         `aria-label="${escapeXml(title)}">${defs}${parts.join('')}</svg>` +
         `<figcaption>${escapeXml(title)}<ul class="legend">${legend}</ul>` +
         `</figcaption></figure>`;
}

// The count of each order class, split into the four spacing ranges.
function distributionChart(tables, rangeNames) {
  return barChart({
    labels: tables.map((row) => row.label), series: rangeNames,
    value: (c, s) => tables[c].bySpacing[s], stacked: true, unit: '',
    title: 'Accuracies per order class, by station spacing',
    colours: RANGE_COLOURS, patterned: true,
  });
}

// Each file's share of its pairs per order class, side by side.
function comparisonChart(labels, names, sharesPerFile) {
  return barChart({
    labels, series: names, value: (c, s) => sharesPerFile[s][c],
    stacked: false, unit: '%', title: 'Share of accuracies per order class',
    colours: FILE_COLOURS,
  });
}

return {distributionChart, comparisonChart};
})();

if (typeof module !== 'undefined') module.exports = ZeptorChart;
