// The page: takes print files and a required order class, runs zeptor on
// each file in turn, and shows each run and, with several reports, their
// comparison; a change of the required class shows them all anew, without
// reading the files again.
//
// Takes: ZeptorRunClient (run_client.js), ZeptorView (view.js),
// ZeptorRender (render.js) and the page's elements. Gives: nothing.
((client, view, render) => {
  'use strict';

  const $ = (id) => document.getElementById(id);
  // Downloads get the line ends of the user's system; navigator.platform
  // only where the engine has no userAgentData.
  const onWindows = navigator.userAgentData ?
    navigator.userAgentData.platform === 'Windows' :
    /^Win/.test(navigator.platform || '');
  const runs = [];  // the runs with a report, in the order they finished
  const queue = [];
  let busy = false;

  // The required order class, an index, or null for none.
  const requiredClass = () => ($('required-class').value === '' ?
    null : Number($('required-class').value));

  // What paper shows under the title: the accession number the runs were
  // given and the required class, where there are.
  let accessionGiven = '';
  function showPrintSettings() {
    const select = $('required-class');
    const lines = [];
    if (accessionGiven) lines.push('Accession number: ' + accessionGiven);
    if (select.value !== '') {
      lines.push('Required class: ' + select.options[select.selectedIndex].text);
    }
    $('print-settings').replaceChildren(...lines.map((line) => render.element('p', {}, line)));
  }

  const runner = client.start($('worker-source').textContent, {
    // When the program is compiled, with its class labels: any but the
    // last ("low", which no class is worse than) can be required. The time
    // is for measurements.
    onReady: ({classLabels}) => {
      $('required-class').append(...classLabels.slice(0, -1).map(
          (label, c) => render.element('option', {value: String(c)}, label)));
      document.body.dataset.ready = String(Math.round(performance.now()));
    },
    onWorkerFailure: (sentence) => {
      $('page-status').textContent = sentence;
      document.body.dataset.ready = 'failed';
    },
  });

  // Returns a function that shows how far a run has got on `bar`, at most
  // every PROGRESS_MS: WebKit would otherwise spend a good part of a large
  // file's time drawing a bar that moves every few milliseconds.
  const PROGRESS_MS = 100;
  function progressShower(bar) {
    let shown = -Infinity;  // when the bar last moved
    return (done) => {
      const now = performance.now();
      if (now - shown < PROGRESS_MS) return;
      bar.value = done;
      shown = now;
    };
  }

  function runNext() {
    if (busy || queue.length === 0) return;
    busy = true;
    const {file, accession, place} = queue.shift();
    place.status.textContent = 'Reading…';
    runner.run(file, view.outputNameFor(file.name), accession,
               progressShower(place.progress))
        .then((result) => {
          const run = render.showOutcome(place, file.name, result, onWindows);
          if (run) {
            runs.push(run);
            render.showObservations(run, requiredClass());
          }
          render.showComparison($('comparison'), runs, requiredClass());
        })
        .catch((error) => {
          render.endSection(place, 'The run failed: ' + ((error && error.message) || error));
        })
        .finally(() => {
          busy = false;
          runNext();
        });
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
    accessionGiven = accession;
    showPrintSettings();
    for (const file of files) {
      queue.push({file, accession, place: render.runSection($('results'), file)});
    }
    runNext();
  }

  $('required-class').addEventListener('change', () => {
    showPrintSettings();
    for (const run of runs) render.showObservations(run, requiredClass());
    render.showComparison($('comparison'), runs, requiredClass());
  });
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
})(ZeptorRunClient, ZeptorView, ZeptorRender);
