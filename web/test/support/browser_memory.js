// The resident memory of the headless browser's processes, in KiB, read
// from /proc.
'use strict';
const fs = require('node:fs');

function browserMemory() {
  let total = 0;
  for (const pid of fs.readdirSync('/proc').filter((p) => /^\d+$/.test(p))) {
    try {
      const command = fs.readFileSync(`/proc/${pid}/cmdline`, 'latin1');
      if (!command.includes('chromium') || !command.includes('--headless')) continue;
      const status = fs.readFileSync(`/proc/${pid}/status`, 'latin1');
      total += Number(/VmRSS:\s+(\d+)/.exec(status)?.[1] || 0);
    } catch (gone) {
      // The process ended meanwhile.
    }
  }
  return total;
}

module.exports = {browserMemory};
