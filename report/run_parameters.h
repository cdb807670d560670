#ifndef ZEPTOR_REPORT_RUN_PARAMETERS_H_
#define ZEPTOR_REPORT_RUN_PARAMETERS_H_

#include <string>

// The parameters of a run; an empty accession number means none was given.
struct RunParameters {
  std::string input_name;
  std::string output_name;
  std::string accession;
};

#endif  // ZEPTOR_REPORT_RUN_PARAMETERS_H_
