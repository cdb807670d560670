// The page: takes print files, has the worker run zeptor on each in turn,
// and shows each run's outcome, report, chart and download, and with
// several reports a comparison and its CSV.
'use strict';

const $ = (id) => document.getElementById(id);
const onWindows = /^Win/.test(navigator.platform || '');
const reports = [];  // {name, tables}, in the order the runs finished
const queue = [];
let busy = false;

const worker = new Worker(URL.createObjectURL(
    new Blob([$('worker-source').textContent], {type: 'text/javascript'})));

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

// A section for one file, with its progress bar, in the results.
function addRunSection(file) {
  const section = element('article', {class: 'run', 'aria-busy': 'true'});
  section.append(element('h3', {}, file.name));
  const progress = element('progress', {max: String(file.size || 1), value: '0',
                                        'aria-label': 'Reading ' + file.name});
  const status = element('p', {class: 'status'}, 'Waiting…');
  section.append(progress, status);
  $('results').append(section);
  return {section, progress, status};
}

function showOutcome(view, result) {
  view.section.removeAttribute('aria-busy');
  view.progress.value = view.progress.max;
  view.progress.hidden = true;
  if (result.status !== 0 || result.report === null) {
    view.status.textContent = `Exit status ${result.status}: no report.`;
    view.section.append(element('pre', {class: 'errors'},
                                screenText(result.errors)));
    return null;
  }
  const text = screenText(result.report);
  const tables = readTables(text);
  view.status.textContent = 'Exit status 0: report written to ' +
                            result.outputName + '.';
  const chart = element('div');
  chart.innerHTML = distributionChart(tables, SPACING_RANGES);
  const body = element('div', {class: 'run-body'});
  body.append(element('pre', {class: 'report', tabindex: '0',
                              'aria-label': 'Report ' + result.outputName},
                      text),
              chart);
  view.section.append(
      downloadLink(withLineEnds(result.report, onWindows), result.outputName,
                   'text/plain', 'Download ' + result.outputName),
      body);
  return tables;
}

function showComparison() {
  const area = $('comparison');
  area.replaceChildren();
  if (reports.length < 2) return;
  area.append(element('h2', {}, 'Comparison'));
  const table = element('table');
  const head = element('tr');
  head.append(element('th', {scope: 'col'}, 'Order class'));
  for (const report of reports) {
    head.append(element('th', {scope: 'col'}, report.name));
  }
  table.append(element('caption', {}, 'Accuracies per order class: count (share)'),
               head);
  const allShares = reports.map((report) => shares(report.tables));
  reports[0].tables.forEach((row, c) => {
    const line = element('tr');
    line.append(element('th', {scope: 'row'}, row.label));
    reports.forEach((report, f) => line.append(element(
        'td', {}, `${report.tables[c].total} (${allShares[f][c].toFixed(1)}%)`)));
    table.append(line);
  });
  const chart = element('div');
  chart.innerHTML = comparisonChart(reports[0].tables.map((row) => row.label),
                                    reports.map((report) => report.name),
                                    allShares);
  area.append(table, chart,
              downloadLink(toCsv(reports), 'zeptor-counts.csv', 'text/csv',
                           'Download all counts (CSV)'));
}

function runNext() {
  if (busy || queue.length === 0) return;
  busy = true;
  const {file, accession, view} = queue.shift();
  view.status.textContent = 'Reading…';
  worker.onmessage = ({data}) => {
    if (data.type === 'ready') return;
    if (data.type === 'progress') {
      view.progress.value = data.done;
      return;
    }
    if (data.type === 'done') {
      const tables = showOutcome(view, data.result);
      if (tables) reports.push({name: file.name, tables});
      showComparison();
    } else {
      view.section.removeAttribute('aria-busy');
      view.status.textContent = 'The run failed: ' + data.message;
    }
    busy = false;
    runNext();
  };
  worker.postMessage({file, accession});
}

function takeFiles(files) {
  const accession = $('accession').value;
  if (/\s/.test(accession)) {
    $('accession-error').textContent =
        'One word, without blanks (for example GPS1040).';
    $('accession').focus();
    return;
  }
  $('accession-error').textContent = '';
  for (const file of files) {
    queue.push({file, accession, view: addRunSection(file)});
  }
  runNext();
}

$('files').addEventListener('change', (event) => {
  takeFiles([...event.target.files]);
  event.target.value = '';
});
const dropZone = $('choose');
dropZone.addEventListener('dragover', (event) => {
  event.preventDefault();
  dropZone.classList.add('dropping');
});
dropZone.addEventListener('dragleave', () => dropZone.classList.remove('dropping'));
dropZone.addEventListener('drop', (event) => {
  event.preventDefault();
  dropZone.classList.remove('dropping');
  takeFiles([...event.dataTransfer.files]);
});
worker.addEventListener('message', ({data}) => {
  // When the program is compiled; the time is for measurements.
  if (data.type === 'ready') {
    document.body.dataset.ready = String(Math.round(performance.now()));
  }
}, {once: true});
