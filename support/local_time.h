#ifndef ZEPTOR_SUPPORT_LOCAL_TIME_H_
#define ZEPTOR_SUPPORT_LOCAL_TIME_H_

#include <ctime>

// Returns `time` broken down in local time, through the platform's
// thread-safe call.
std::tm localTime(std::time_t time);

#endif  // ZEPTOR_SUPPORT_LOCAL_TIME_H_
