// The browser's clock and time zone. The C library's time_t has 32 bits
// here, so its clock would be wrong from 2038 on; JavaScript's Date is not.

#include <emscripten.h>

#include "support/local_time.h"

namespace {

// Writes the fields of struct tm, in its order, into fields[0..8].
EM_JS(void, readBrowserLocalTime, (int* fields), {
  const now = new Date();
  const year = now.getFullYear();
  const january = new Date(year, 0, 1).getTimezoneOffset();
  const july = new Date(year, 6, 1).getTimezoneOffset();
  const dayOfYear = Math.round(
      (Date.UTC(year, now.getMonth(), now.getDate()) - Date.UTC(year, 0, 1)) /
      86400000);
  const values = [
    now.getSeconds(), now.getMinutes(), now.getHours(), now.getDate(),
    now.getMonth(), year - 1900, now.getDay(), dayOfYear,
    // Summer time: an offset smaller than the year's larger one.
    now.getTimezoneOffset() < Math.max(january, july) ? 1 : 0
  ];
  for (let i = 0; i < values.length; ++i) HEAP32[(fields >> 2) + i] = values[i];
});

}  // namespace

std::tm currentLocalTime() {
  int fields[9] = {};
  readBrowserLocalTime(fields);
  std::tm local{};
  local.tm_sec = fields[0];
  local.tm_min = fields[1];
  local.tm_hour = fields[2];
  local.tm_mday = fields[3];
  local.tm_mon = fields[4];
  local.tm_year = fields[5];
  local.tm_wday = fields[6];
  local.tm_yday = fields[7];
  local.tm_isdst = fields[8];
  return local;
}
