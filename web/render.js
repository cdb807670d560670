// What the page shows of its runs: a section per file with its progress,
// outcome, report, chart and downloads, its observations against the
// required class, and with several reports a comparison.
//
// Takes: ZeptorView (view.js), ZeptorObservations (observations.js),
// ZeptorChart (chart.js). Gives: ZeptorRender, {runSection, endSection,
// showOutcome, showObservations, showComparison}.
const ZeptorRender = ((view, observations, chart) => {
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

// A CSV download whose bytes are gathered when it is first asked for: a
// run keeps many observations, whose listings need not be held until then.
function lazyCsvLink(name, label, makeParts) {
  const link = element('a', {download: name, class: 'download', href: '#'}, label);
  link.addEventListener('click', () => {
    if (link.dataset.made) return;
    link.href = URL.createObjectURL(new Blob(makeParts(), {type: 'text/csv'}));
    link.dataset.made = 'true';
  });
  return link;
}

// A table's head: one row of the column headings `columns`, which a
// printed table repeats on each page.
function headRow(columns) {
  const head = element('thead');
  const row = element('tr');
  for (const column of columns) row.append(element('th', {scope: 'col'}, column));
  head.append(row);
  return head;
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
// {name, counts, spacingRanges, observations, and the elements for them
// and for the requirement on paper}.
function showOutcome(place, name, result, onWindows) {
  if (result.status !== 0) {
    endSection(place, `Exit status ${result.status}: no report.`);
    place.section.append(element('pre', {class: 'errors'}, view.screenText(result.errors)));
    return null;
  }
  endSection(place, 'Exit status 0: report written to ' + result.outputName + '.');
  const graph = element('div');
  graph.innerHTML = chart.distributionChart(result.counts, result.spacingRanges);
  const body = element('div', {class: 'run-body'});
  body.append(element('pre', {class: 'report', tabindex: '0',
                              'aria-label': 'Report ' + result.outputName},
                      view.screenText(result.report)),
              graph);
  const observationsArea = element('div', {class: 'observations'});
  // On paper the requirement also heads the section.
  const printedRequirement = element('p', {class: 'print-requirement print-only'});
  place.status.after(printedRequirement);
  place.section.append(
      downloadLink(view.withLineEnds(result.report, onWindows), result.outputName,
                   'text/plain', 'Download ' + result.outputName),
      body, observationsArea);
  return {name, counts: result.counts, spacingRanges: result.spacingRanges,
          observations: result.observations, observationsArea, printedRequirement};
}

// A number of the CSV to two decimals, as the table shows it; one that is
// none ("nan", "inf") as it stands.
const twoDecimals = (text) => {
  const value = Number(text);
  return Number.isFinite(value) ? value.toFixed(2) : text;
};

// The table of the run's worst observations, those worse than the
// required class `required` (an index, or null) marked.
function worstTable(run, required) {
  const all = observations.countedIn(run.counts);
  const worst = observations.worst(run.observations, TABLE_ROWS);
  const table = element('table', {class: 'worst', tabindex: '0'});
  table.append(element('caption', {}, `The ${worst.length} observations with the ` +
                       `highest ratios, of ${all}${observations.keptNote(run.observations, all)}`));
  const columns = ['Distance line', 'Error line', 'Distance (m)', 'Standard error (m)',
                   'Accuracy (mm)', 'Ratio', 'Class', 'Spacing'];
  if (required !== null) columns.push(`Worse than ${run.counts[required].label}`);
  const body = element('tbody');
  table.append(headRow(columns), body);
  for (const {fields, orderClass} of worst) {
    const worse = required !== null && orderClass > required;
    const row = element('tr', worse ? {class: 'worse'} : {});
    const [distanceLine, errorLine, distance, error, accuracy, ratio, label, range] = fields;
    const cells = [distanceLine, errorLine, distance, error, twoDecimals(accuracy),
                   twoDecimals(ratio), label, range];
    if (required !== null) cells.push(worse ? 'worse' : '');
    for (const cell of cells) row.append(element('td', {}, cell));
    body.append(row);
  }
  return table;
}

// Fills the run's observations part for the required class `required`.
function showObservations(run, required) {
  const stem = view.stemOf(run.name);
  const parts = [];
  run.printedRequirement.textContent = '';
  if (required !== null) {
    const meets = observations.requirement(run.counts, required);
    run.printedRequirement.textContent = meets.sentence;
    const label = run.counts[required].label;
    parts.push(element('p', {class: 'requirement'}, meets.sentence),
               lazyCsvLink(`${stem}-worse-than-${label}.csv`,
                           `Download the ${meets.worse} observations worse than class ` +
                           `${label} (CSV)${observations.keptNote(run.observations, meets.worse)}`,
                           () => observations.worseThanCsv(run.observations, required)));
  }
  const all = observations.countedIn(run.counts);
  parts.push(worstTable(run, required),
             lazyCsvLink(`${stem}-observations.csv`,
                         `Download all ${all} observations (CSV)` +
                         observations.keptNote(run.observations, all),
                         () => observations.allCsv(run.observations)));
  run.observationsArea.replaceChildren(...parts);
}

// The comparison of several runs in `area`, with a row for the required
// class `required` when there is one.
function showComparison(area, runs, required) {
  area.replaceChildren();
  if (runs.length < 2) return;
  area.append(element('h2', {}, 'Comparison'));
  const table = element('table', {tabindex: '0'});
  const body = element('tbody');
  table.append(element('caption', {},
                       'Accuracies per order class: count (share; this class or better)'),
               headRow(['Order class', ...runs.map((run) => run.name)]), body);
  const allShares = runs.map((run) => view.shares(run.counts));
  const cumulative = runs.map((run) => view.cumulativeShares(run.counts));
  runs[0].counts.forEach((row, c) => {
    const line = element('tr');
    line.append(element('th', {scope: 'row'}, row.label));
    runs.forEach((run, f) => line.append(element(
        'td', {}, `${run.counts[c].total} (${allShares[f][c].toFixed(1)}%; ` +
                  `${cumulative[f][c].toFixed(1)}%)`)));
    body.append(line);
  });
  if (required !== null) {
    const line = element('tr', {class: 'required'});
    line.append(element('th', {scope: 'row'},
                        `class ${runs[0].counts[required].label} or better`));
    runs.forEach((run, f) => line.append(element(
        'td', {}, `${cumulative[f][required].toFixed(1)}%`)));
    body.append(line);
  }
  const graph = element('div');
  graph.innerHTML = chart.comparisonChart(runs[0].counts.map((row) => row.label),
                                          runs.map((run) => run.name), allShares);
  area.append(table, graph,
              downloadLink(view.toCsv(runs, required), 'zeptor-counts.csv', 'text/csv',
                           'Download all counts (CSV)'));
}

return {runSection, endSection, showOutcome, showObservations, showComparison, element};
})(ZeptorView, ZeptorObservations, ZeptorChart);
