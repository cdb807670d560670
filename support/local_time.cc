#include "support/local_time.h"

std::tm localTime(std::time_t time) {
  std::tm local{};
#if defined(_WIN32)
  localtime_s(&local, &time);
#else
  localtime_r(&time, &local);
#endif
  return local;
}
