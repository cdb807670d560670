#ifndef ZEPTOR_PAIRS_PAIRS_COMMAND_LINE_H_
#define ZEPTOR_PAIRS_PAIRS_COMMAND_LINE_H_

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// What the user asks of zeptor-pairs on its command line.
struct PairsCommand {
  enum Kind {
    kList,   // list the pairs of `input_name`
    kHelp,   // -h or --help alone
    kUsage,  // no argument or too many: the usage text is the error
  };
  Kind kind = kUsage;
  std::string input_name;
  std::optional<std::string> order_class;  // the CLASS word, not yet checked
};

// Returns what `words` (the program's name first) ask for.
PairsCommand readPairsCommand(const std::vector<std::string>& words);

// Writes the usage text.
void writePairsUsage(std::ostream& out);

// Returns the order class whose pairs and better ones are left out: the one
// labelled `word` (11 to 52), or nothing for no word. Any other word ends
// the run.
std::optional<size_t> worseThanClass(const std::optional<std::string>& word);

#endif  // ZEPTOR_PAIRS_PAIRS_COMMAND_LINE_H_
