#include "pairs/pairs_command_line.h"

#include "report/order_class.h"
#include "support/fatal_exit.h"

namespace {

// The labels of the classes CLASS may name, every one but "low", which
// none is worse than: "11 12 ... 52".
std::string classesNamed() {
  std::string labels;
  for (size_t c = 0; c < kLowClass; ++c) {
    if (c > 0) labels += ' ';
    labels += classCode(c);
  }
  return labels;
}

}  // namespace

PairsCommand readPairsCommand(const std::vector<std::string>& words) {
  PairsCommand command;
  if (words.size() == 2 && (words[1] == "-h" || words[1] == "--help")) {
    command.kind = PairsCommand::kHelp;
  } else if (words.size() == 2 || words.size() == 3) {
    command.kind = PairsCommand::kList;
    command.input_name = words[1];
    if (words.size() == 3) command.order_class = words[2];
  }
  return command;
}

void writePairsUsage(std::ostream& out) {
  out << "Usage: zeptor-pairs INPUT [CLASS]\n"
         "  Lists every observation pair that zeptor counts in the OMBRIX\n"
         "  print file INPUT, as CSV on standard output, in the order\n"
         "  counted: the numbers of its DISTANCE= and VERT.ANG.= lines, the\n"
         "  two values, the accuracy in mm at 95%, the ratio, the order\n"
         "  class and the spacing range.\n"
         "  With CLASS, only the pairs whose class is worse than CLASS.\n"
         "  CLASS is one of "
      << classesNamed() << ".\n"
      << std::flush;
}

std::optional<size_t> worseThanClass(const std::optional<std::string>& word) {
  if (!word) return std::nullopt;
  for (size_t c = 0; c < kLowClass; ++c) {
    if (*word == classCode(c)) return c;
  }
  exitWithError(kExitFailure, "Not an order class:  " + *word,
                {"Use one of " + classesNamed()});
}
