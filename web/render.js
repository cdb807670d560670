// What the page shows of its runs: a section per file with its progress,
// outcome, report, chart and downloads, its observations against the
// required class, and with several reports a comparison.
//
// Takes: ZeptorView (view.js), ZeptorChart (chart.js). Gives: ZeptorRender,
// {runSection, endSection, showOutcome, showObservations, showComparison}.
const ZeptorRender = ((view, chart) => {
'use strict';

// The observations a run's table shows.
const TABLE_ROWS = 20;

function element(tag, attributes = {}, text = '') {
  const node = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes)) {
    node.setAttribute(name, value);
  }
  if (text) node.textContent = text;
  return node;
}

function downloadLink(bytesOrText, name, type, label) {
  const link = element('a', {download: name, class: 'download'}, label);
  link.href = URL.createObjectURL(new Blob([bytesOrText], {type}));
  return link;
}

// A CSV download whose text is made when it is first asked for: a file
// keeps up to 50,000 observations, whose CSV need not be held until then.
function lazyCsvLink(name, label, makeText) {
  const link = element('a', {download: name, class: 'download', href: '#'}, label);
  link.addEventListener('click', () => {
    if (link.dataset.made) return;
    link.href = URL.createObjectURL(new Blob([makeText()], {type: 'text/csv'}));
    link.dataset.made = 'true';
  });
  return link;
}

// A section for one file, with its progress bar, at the end of `results`.
function runSection(results, file) {
  const section = element('article', {class: 'run', 'aria-busy': 'true'});
  section.append(element('h3', {}, file.name));
  const progress = element('progress', {max: String(file.size || 1), value: '0',
                                        'aria-label': 'Reading ' + file.name});
  const status = element('p', {class: 'status'}, 'Waiting…');
  section.append(progress, status);
  results.append(section);
  return {section, progress, status};
}

// Ends the file's section with one sentence in place of its progress.
function endSection(place, sentence) {
  place.section.removeAttribute('aria-busy');
  place.progress.value = place.progress.max;
  place.progress.hidden = true;
  place.status.textContent = sentence;
}

// Shows a finished run; returns what the page keeps of one with a report:
// {name, counts, pairs, worst, observations (the element for them)}.
function showOutcome(place, name, result, onWindows) {
  if (result.status !== 0) {
    endSection(place, `Exit status ${result.status}: no report.`);
    place.section.append(element('pre', {class: 'errors'}, view.screenText(result.errors)));
    return null;
  }
  endSection(place, 'Exit status 0: report written to ' + result.outputName + '.');
  const graph = element('div');
  graph.innerHTML = chart.distributionChart(result.counts, view.SPACING_RANGES);
  const body = element('div', {class: 'run-body'});
  body.append(element('pre', {class: 'report', tabindex: '0',
                              'aria-label': 'Report ' + result.outputName},
                      view.screenText(result.report)),
              graph);
  const observations = element('div', {class: 'observations'});
  place.section.append(
      downloadLink(view.withLineEnds(result.report, onWindows), result.outputName,
                   'text/plain', 'Download ' + result.outputName),
      body, observations);
  const pairs = view.keptObservations(result.pairs);
  return {name, counts: result.counts, pairs, worst: view.worstFirst(pairs, TABLE_ROWS),
          observations};
}

const number = (value, digits) =>
  Number.isFinite(value) ? value.toFixed(digits) : view.shortestText(value);

// What the table and a download of `count` observations say when the run
// kept fewer.
const keptNote = (count) => (count > view.KEPT_OBSERVATIONS ?
  ` (the worst ${view.KEPT_OBSERVATIONS_TEXT} of ${count}; zeptor-pairs lists them all)` :
  '');

// The table of the run's observations with the highest ratios, those
// worse than the required class `required` (an index, or null) marked.
function worstTable(run, required) {
  const all = run.counts.reduce((sum, row) => sum + row.total, 0);
  const table = element('table', {class: 'worst', tabindex: '0'});
  table.append(element('caption', {}, `The ${run.worst.length} observations with the ` +
                       `highest ratios, of ${all}${keptNote(all)}`));
  const head = element('tr');
  const columns = ['Distance line', 'Error line', 'Distance (m)', 'Standard error (m)',
                   'Accuracy (mm)', 'Ratio', 'Class', 'Spacing'];
  if (required !== null) columns.push(`Worse than ${view.CLASS_LABELS[required]}`);
  for (const column of columns) head.append(element('th', {scope: 'col'}, column));
  table.append(head);
  for (const i of run.worst) {
    const o = view.observation(run.pairs, i);
    const worse = required !== null && o.orderClass > required;
    const row = element('tr', worse ? {class: 'worse'} : {});
    const cells = [String(o.distanceLine), String(o.errorLine), view.shortestText(o.distanceM),
                   view.shortestText(o.errorM), number(o.accuracyMm, 2), number(o.ratio, 2),
                   view.CLASS_LABELS[o.orderClass], view.SPACING_RANGES[o.range]];
    if (required !== null) cells.push(worse ? 'worse' : '');
    for (const cell of cells) row.append(element('td', {}, cell));
    table.append(row);
  }
  return table;
}

// Fills the run's observations part for the required class `required`.
function showObservations(run, required) {
  const stem = view.stemOf(run.name);
  const parts = [];
  if (required !== null) {
    const meets = view.requirement(run.counts, required);
    const label = view.CLASS_LABELS[required];
    parts.push(element('p', {class: 'requirement'}, meets.sentence),
               lazyCsvLink(`${stem}-worse-than-${label}.csv`,
                           `Download the ${meets.worse} observations worse than class ` +
                           `${label} (CSV)${keptNote(meets.worse)}`,
                           () => view.pairsCsv(run.pairs, required)));
  }
  const all = run.counts.reduce((sum, row) => sum + row.total, 0);
  parts.push(worstTable(run, required),
             lazyCsvLink(`${stem}-observations.csv`,
                         `Download all ${all} observations (CSV)${keptNote(all)}`,
                         () => view.pairsCsv(run.pairs)));
  run.observations.replaceChildren(...parts);
}

// The comparison of several runs in `area`, with a row for the required
// class `required` when there is one.
function showComparison(area, runs, required) {
  area.replaceChildren();
  if (runs.length < 2) return;
  area.append(element('h2', {}, 'Comparison'));
  const table = element('table', {tabindex: '0'});
  const head = element('tr');
  head.append(element('th', {scope: 'col'}, 'Order class'));
  for (const run of runs) head.append(element('th', {scope: 'col'}, run.name));
  table.append(element('caption', {},
                       'Accuracies per order class: count (share; this class or better)'),
               head);
  const allShares = runs.map((run) => view.shares(run.counts));
  const cumulative = runs.map((run) => view.cumulativeShares(run.counts));
  runs[0].counts.forEach((row, c) => {
    const line = element('tr');
    line.append(element('th', {scope: 'row'}, row.label));
    runs.forEach((run, f) => line.append(element(
        'td', {}, `${run.counts[c].total} (${allShares[f][c].toFixed(1)}%; ` +
                  `${cumulative[f][c].toFixed(1)}%)`)));
    table.append(line);
  });
  if (required !== null) {
    const line = element('tr', {class: 'required'});
    line.append(element('th', {scope: 'row'}, `class ${view.CLASS_LABELS[required]} or better`));
    runs.forEach((run, f) => line.append(element(
        'td', {}, `${cumulative[f][required].toFixed(1)}%`)));
    table.append(line);
  }
  const graph = element('div');
  graph.innerHTML = chart.comparisonChart(runs[0].counts.map((row) => row.label),
                                          runs.map((run) => run.name), allShares);
  area.append(table, graph,
              downloadLink(view.toCsv(runs, required), 'zeptor-counts.csv', 'text/csv',
                           'Download all counts (CSV)'));
}

return {runSection, endSection, showOutcome, showObservations, showComparison, element};
})(ZeptorView, ZeptorChart);
