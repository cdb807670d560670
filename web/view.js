// What the page makes of a run's results: the output file's name, the text
// shown on screen, the bytes downloaded, the shares and the CSV of several
// runs, how a run meets a required class, and its observations with the
// highest ratios and their CSV. Every number comes from the program;
// nothing here reads a print file or a report.
//
// Takes: nothing. Gives: ZeptorView, the functions and constants below.
const ZeptorView = (() => {
'use strict';

const CLASS_COUNT = 11;
const CLASS_LABELS = ['11', '12', '21', '22', '31', '32', '41', '42', '51', '52', 'low'];
const SPACING_RANGES = ['<25km', '25km-100km', '100km-250km', '>=250km'];
// The observations a run keeps, those with the highest ratios: the page's
// memory stays bounded whatever the file. page_run.cc says the same number.
const KEPT_OBSERVATIONS = 50000;
const KEPT_OBSERVATIONS_TEXT = '50,000';

// The input's name without its extension.
function stemOf(inputName) {
  const dot = inputName.lastIndexOf('.');
  return dot > 0 ? inputName.slice(0, dot) : inputName;
}

// The output file's name: the input's with ".rpt" in place of its
// extension, or appended when it has none.
function outputNameFor(inputName) {
  return stemOf(inputName) + '.rpt';
}

// The Windows-1252 character of each byte, so that every byte of a report
// shows as something: controls but tab and line feed as their pictures,
// the five bytes that code page leaves undefined as U+FFFD.
const CP1252_80_TO_9F =
    '\u20ac\ufffd\u201a\u0192\u201e\u2026\u2020\u2021\u02c6\u2030\u0160' +
    '\u2039\u0152\ufffd\u017d\ufffd\ufffd\u2018\u2019\u201c\u201d\u2022' +
    '\u2013\u2014\u02dc\u2122\u0161\u203a\u0153\ufffd\u017e\u0178';
const SCREEN_CHARACTERS = Array.from({length: 256}, (_, b) => {
  if (b === 0x09 || b === 0x0a) return String.fromCharCode(b);
  if (b < 0x20) return String.fromCharCode(0x2400 + b);
  if (b === 0x7f) return '\u2421';
  if (b >= 0x80 && b <= 0x9f) return CP1252_80_TO_9F[b - 0x80];
  return String.fromCharCode(b);
});
function screenText(bytes) {
  let text = '';
  for (const b of bytes) text += SCREEN_CHARACTERS[b];
  return text;
}

// The report's bytes with the line ends zeptor writes on the user's
// system: CR LF on Windows, LF elsewhere.
function withLineEnds(bytes, windows) {
  if (!windows) return bytes;
  let lines = 0;
  for (const b of bytes) lines += b === 0x0a;
  const out = new Uint8Array(bytes.length + lines);
  let o = 0;
  for (const b of bytes) {
    if (b === 0x0a) out[o++] = 0x0d;
    out[o++] = b;
  }
  return out;
}

function csvField(text) {
  return /[",\r\n]/.test(text) ? '"' + text.replace(/"/g, '""') + '"' : text;
}

// Each class's share of all counted pairs, in percent (0 when there are
// none).
function shares(counts) {
  const all = counts.reduce((sum, row) => sum + row.total, 0);
  return counts.map((row) => (all === 0 ? 0 : (100 * row.total) / all));
}

// Each class's cumulative share: of the pairs in this class or a better one
// (the classes before it), in percent, the class a job must meet.
function cumulativeShares(counts) {
  const all = counts.reduce((sum, row) => sum + row.total, 0);
  let sum = 0;
  return counts.map((row) => {
    sum += row.total;
    return all === 0 ? 0 : (100 * sum) / all;
  });
}

// One row per file and order class: file, class, total, the four spacing
// ranges, the share and the cumulative share in percent to one decimal,
// and with a required class `required` (an index, or null) the file's
// share of that class or better; lines end in CR LF, as spreadsheets
// expect.
function toCsv(runs, required = null) {
  const extra = required === null ? [] : [`class ${CLASS_LABELS[required]} or better %`];
  const lines = [['file', 'class', 'total', ...SPACING_RANGES, 'share %',
                  'cumulative share %', ...extra].join(',')];
  for (const run of runs) {
    const share = shares(run.counts);
    const cumulative = cumulativeShares(run.counts);
    const met = required === null ? [] : [cumulative[required].toFixed(1)];
    run.counts.forEach((row, c) => {
      lines.push([csvField(run.name), row.label, row.total, ...row.bySpacing,
                  share[c].toFixed(1), cumulative[c].toFixed(1), ...met].join(','));
    });
  }
  return lines.join('\r\n') + '\r\n';
}

// The number as zeptor-pairs writes it: the fewest significant digits that
// read back to the same double (toExponential() gives them), in fixed
// notation when the first digit's exponent is -4 to 15, else with "e", a
// sign and at least two exponent digits.
function shortestText(value) {
  if (Number.isNaN(value)) return 'nan';
  if (!Number.isFinite(value)) return value > 0 ? 'inf' : '-inf';
  if (value === 0) return Object.is(value, -0) ? '-0' : '0';
  const [mantissa, exponentText] = value.toExponential().split('e');
  const exponent = Number(exponentText);
  if (exponent < -4 || exponent > 15) {
    return mantissa + 'e' + (exponent < 0 ? '-' : '+') +
           String(Math.abs(exponent)).padStart(2, '0');
  }
  const sign = value < 0 ? '-' : '';
  const digits = mantissa.replace(/[-.]/g, '');
  if (exponent < 0) return sign + '0.' + '0'.repeat(-exponent - 1) + digits;
  if (digits.length <= exponent + 1) {
    return sign + digits + '0'.repeat(exponent + 1 - digits.length);
  }
  return sign + digits.slice(0, exponent + 1) + '.' + digits.slice(exponent + 1);
}

// The kept observations of a run as the worker hands them over: `count`
// of them in `bytes`, in no particular order, each as the program holds it
// (page_run.cc holds the layout): seven 8-byte words, the distance line
// and the error line as 64-bit integers, the spacing and the standard
// error in m as read, the accuracy in mm and the ratio, then the order
// class and the spacing range as two 32-bit integers.
const KEPT_PAIR_BYTES = 56;
const WORDS = 7, HALVES = 14, RATIO = 5;
function keptObservations({count, bytes}) {
  return {count, words: new Float64Array(bytes.buffer, bytes.byteOffset, WORDS * count),
          halves: new Uint32Array(bytes.buffer, bytes.byteOffset, HALVES * count),
          fileOrder: null};
}

function observation(pairs, i) {
  const w = WORDS * i, h = HALVES * i;
  return {
    distanceLine: pairs.halves[h] + pairs.halves[h + 1] * 2 ** 32,
    errorLine: pairs.halves[h + 2] + pairs.halves[h + 3] * 2 ** 32,
    distanceM: pairs.words[w + 2], errorM: pairs.words[w + 3],
    accuracyMm: pairs.words[w + 4], ratio: pairs.words[w + RATIO],
    orderClass: pairs.halves[h + 12], range: pairs.halves[h + 13],
  };
}

// The indices of the kept observations in file order, sorted once: each
// was counted at the later of its two lines.
function inFileOrder(pairs) {
  if (!pairs.fileOrder) {
    const countedAt = new Float64Array(pairs.count);
    for (let i = 0; i < pairs.count; ++i) {
      const o = observation(pairs, i);
      countedAt[i] = Math.max(o.distanceLine, o.errorLine);
    }
    pairs.fileOrder = Uint32Array.from({length: pairs.count}, (_, i) => i)
                          .sort((a, b) => countedAt[a] - countedAt[b]);
  }
  return pairs.fileOrder;
}

// zeptor-pairs's CSV of the kept observations whose class is worse than
// `worseThan` (a class index; every one for null): its exact bytes when
// every such observation was kept.
function pairsCsv(pairs, worseThan = null) {
  const lines = ['distance_line,error_line,distance_m,standard_error_m,accuracy_mm,' +
                 'ratio,class,spacing_range'];
  for (const i of inFileOrder(pairs)) {
    const o = observation(pairs, i);
    if (worseThan !== null && o.orderClass <= worseThan) continue;
    lines.push([o.distanceLine, o.errorLine, shortestText(o.distanceM), shortestText(o.errorM),
                shortestText(o.accuracyMm), shortestText(o.ratio), CLASS_LABELS[o.orderClass],
                SPACING_RANGES[o.range]].join(','));
  }
  return lines.join('\r\n') + '\r\n';
}

// The indices of the `n` kept observations with the highest ratios, highest
// first, equal ones in file order; no number ranks last, as its class is
// the best. One pass, as a file keeps many.
function worstFirst(pairs, n) {
  const ratioOf = (i) => pairs.words[WORDS * i + RATIO];
  const countedAt = (i) => {
    const o = observation(pairs, i);
    return Math.max(o.distanceLine, o.errorLine);
  };
  // Whether observation a ranks above observation b.
  const above = (a, b) => {
    const ra = ratioOf(a), rb = ratioOf(b);
    if (Number.isNaN(ra) !== Number.isNaN(rb)) return Number.isNaN(rb);
    if (ra !== rb && !Number.isNaN(ra)) return ra > rb;
    return countedAt(a) < countedAt(b);
  };
  const worst = [];
  for (let i = 0; i < pairs.count; ++i) {
    if (worst.length === n && (n === 0 || !above(i, worst[n - 1]))) continue;
    let at = worst.length === n ? n - 1 : worst.length;
    while (at > 0 && above(i, worst[at - 1])) {
      worst[at] = worst[at - 1];
      --at;
    }
    worst[at] = i;
  }
  return worst;
}

// How a run's observations meet the required class `c`.
function requirement(counts, c) {
  const all = counts.reduce((sum, row) => sum + row.total, 0);
  const met = counts.slice(0, c + 1).reduce((sum, row) => sum + row.total, 0);
  const share = all === 0 ? 0 : (100 * met) / all;
  return {all, met, worse: all - met, share,
          sentence: `${met} of ${all} observations (${share.toFixed(1)}%) are class ` +
                    `${CLASS_LABELS[c]} or better; ${all - met} are worse.`};
}

return {
  CLASS_COUNT, CLASS_LABELS, SPACING_RANGES, KEPT_OBSERVATIONS, KEPT_OBSERVATIONS_TEXT,
  KEPT_PAIR_BYTES, stemOf,
  outputNameFor, screenText, withLineEnds, toCsv, shares, cumulativeShares, shortestText,
  keptObservations, observation, pairsCsv, worstFirst, requirement,
};
})();

if (typeof module !== 'undefined') module.exports = ZeptorView;
