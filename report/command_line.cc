#include "report/command_line.h"

#include "report/version.h"

void writeBanner(std::ostream& out) {
  out << "QXT program zeptor  version: " << ZEPTOR_VERSION
      << "    date(ccyy/mm/dd): " << ZEPTOR_DATE << std::endl;
  out << "    for help, exit with <Control-C>, then enter " << '"'
      << "zeptor -h" << '"' << std::flush << std::endl;
  out << std::endl;
}

void writeHelp(std::ostream& out) {
  out << "  Reads an OMBRIX format output file and\n"
         "  computes the ellipsoid height order-class accuracy distribution\n"
         "  at the 95% (2 sigma) confidence interval \n"
         "  Accession (job) number is optional.\n"
         "  Use no spaces in Accession number (ie, GPS1040).\n"
         "Command line usage: \n"
         "  zeptor <input filename> <output filename> "
         "[accession (job) number]\n"
         "Windows DOS box usage: \n"
         "  zeptor (user is queried for input parameters)\n"
      << std::flush;
}

namespace {

// Writes `prompt` without a line end and reads one word into *word.
void ask(const char* prompt, std::istream& in, std::ostream& out,
         std::string* word) {
  out << prompt << std::flush;
  in >> *word;
}

}  // namespace

RunParameters askParameters(std::istream& in, std::ostream& out) {
  RunParameters params;
  ask("Enter  input filename: ", in, out, &params.input_name);
  ask("Enter output filename: ", in, out, &params.output_name);
  std::string answer;
  ask("Do you want to enter an accession (job) number (y/n): ", in, out,
      &answer);
  if (answer == "Y" || answer == "y") {
    ask("Enter accession (job) number: ", in, out, &params.accession);
  }
  out << std::endl;
  return params;
}

std::optional<RunParameters> getParameters(
    const std::vector<std::string>& words, std::istream& in,
    std::ostream& out) {
  switch (words.size()) {
    case 1:
      return askParameters(in, out);
    case 3:
      return RunParameters{words[1], words[2], ""};
    case 4:
      return RunParameters{words[1], words[2], words[3]};
    default:
      return std::nullopt;
  }
}
