#ifndef ZEPTOR_SUPPORT_LOCAL_TIME_H_
#define ZEPTOR_SUPPORT_LOCAL_TIME_H_

#include <ctime>

// Returns the current time of the system clock broken down in local time,
// through the platform's own clock: a thread-safe C call, or in a browser
// its JavaScript Date (whose years go past 2038).
std::tm currentLocalTime();

#endif  // ZEPTOR_SUPPORT_LOCAL_TIME_H_
