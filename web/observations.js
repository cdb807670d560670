// A run's worst observations as the program lists them: their ranking, how
// the run meets a required class, and the CSV of those worse than it. The
// rows are zeptor-pairs's own bytes; nothing here writes a number.
//
// Takes: nothing. Gives: ZeptorObservations, the functions below.
const ZeptorObservations = (() => {
'use strict';

// The observations of a run, as the worker hands them over: `csv`, the
// header and a row per observation in file order, `rowStarts` and
// `rowClasses`, where each row starts and its order class, `worstFirst`,
// the rows worst first, and `limit`, how many a run keeps.
const count = (observations) => observations.rowStarts.length;

// Where row `row` ends, after its line end.
const rowEnd = (observations, row) => (row + 1 < count(observations) ?
  observations.rowStarts[row + 1] : observations.csv.length);

// The bytes of row `row`, without its line end.
const rowBytes = (observations, row) =>
  observations.csv.subarray(observations.rowStarts[row], rowEnd(observations, row) - 2);

// The fields of the `n` worst observations, worst first, each with its
// order class: {fields: [distance line, error line, distance, standard
// error, accuracy, ratio, class, spacing range], orderClass}.
function worst(observations, n) {
  const decoder = new TextDecoder();
  return Array.from(observations.worstFirst.subarray(0, n), (row) => ({
    fields: decoder.decode(rowBytes(observations, row)).split(','),
    orderClass: observations.rowClasses[row],
  }));
}

// The CSV of every observation kept, and of those whose order class is
// worse than `worseThan` (an index): its parts, for a Blob.
const allCsv = (observations) => [observations.csv];
function worseThanCsv(observations, worseThan) {
  const {csv, rowStarts, rowClasses} = observations;
  const parts = [csv.subarray(0, count(observations) ? rowStarts[0] : csv.length)];
  for (let row = 0; row < count(observations); ++row) {
    if (rowClasses[row] <= worseThan) continue;
    parts.push(csv.subarray(rowStarts[row], rowEnd(observations, row)));
  }
  return parts;
}

// What a listing of `all` observations adds when the run kept fewer.
const keptNote = (observations, all) => (all > observations.limit ?
  ` (the worst ${observations.limit.toLocaleString('en-US')} of ${all}; ` +
  'zeptor-pairs lists them all)' : '');

// The number of observations a run's counts count.
const countedIn = (counts) => counts.reduce((sum, row) => sum + row.total, 0);

// How a run's counts meet the required class `c`.
function requirement(counts, c) {
  const all = countedIn(counts);
  const met = counts.slice(0, c + 1).reduce((sum, row) => sum + row.total, 0);
  const share = all === 0 ? 0 : (100 * met) / all;
  return {all, met, worse: all - met, share,
          sentence: `${met} of ${all} observations (${share.toFixed(1)}%) are class ` +
                    `${counts[c].label} or better; ${all - met} are worse.`};
}

return {worst, allCsv, worseThanCsv, keptNote, countedIn, requirement};
})();

if (typeof module !== 'undefined') module.exports = ZeptorObservations;
