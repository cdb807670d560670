#ifndef ZEPTOR_REPORT_COMMAND_LINE_H_
#define ZEPTOR_REPORT_COMMAND_LINE_H_

#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "report/run_parameters.h"

// What the user says on the command line or at the prompts: the banner,
// the help text, the prompts and the parameters they give.

// Writes the three banner lines, the last one empty.
void writeBanner(std::ostream& out);

// Returns the parameters given on the command line `words` (3 or 4 words,
// the program's name first), or asks for them on `out` and reads them from
// `in` (the name alone). Returns nothing for any other count: the run is
// then only the help text.
std::optional<RunParameters> getParameters(
    const std::vector<std::string>& words, std::istream& in, std::ostream& out);

// Writes the help text.
void writeHelp(std::ostream& out);

// Asks for the parameters, one whitespace-delimited word each. At the end
// of `in` the names not read stay empty.
RunParameters askParameters(std::istream& in, std::ostream& out);

#endif  // ZEPTOR_REPORT_COMMAND_LINE_H_
