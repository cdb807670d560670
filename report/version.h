#ifndef ZEPTOR_REPORT_VERSION_H_
#define ZEPTOR_REPORT_VERSION_H_

// The program's version and date, shown in the banner and kept in the
// binary's identification string.
#define ZEPTOR_VERSION "2.6"
#define ZEPTOR_DATE "2003/01/08"

#endif  // ZEPTOR_REPORT_VERSION_H_
