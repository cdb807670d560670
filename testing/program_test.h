#ifndef ZEPTOR_TESTING_PROGRAM_TEST_H_
#define ZEPTOR_TESTING_PROGRAM_TEST_H_

// For end-to-end tests: runs a built program in a directory of its own and
// returns its exit status, output and error output whole.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <map>
#include <string>
#include <vector>

// How the program under test is started.
struct Target {
  std::string binary;
  std::vector<std::string> emulator;  // empty for a native binary
  bool windows = false;               // its text lines end in CR LF
};

// The program named by the environment variable `binary_variable`, or else
// `built`, started through the words of ZEPTOR_EMULATOR, or else of
// `emulator` (qemu, or wine for a Windows build, which ZEPTOR_WINDOWS
// tells).
Target findTarget(const char* binary_variable, const char* built,
                  const char* emulator);

// True when memory can be measured and limited: a native binary without
// the sanitizer's shadow memory.
bool measuresMemory(const Target& target);

// Where the child's standard output goes: a file in the test's directory
// (truncated or appended to), a pipe the test reads, /dev/full, a pipe
// whose reading end is closed, or nowhere (no descriptor 1).
enum class Stdout {
  kFile,
  kAppendToFile,
  kPipe,
  kDevFull,
  kClosedPipe,
  kClosed
};

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
  long peak_rss_kib = 0;  // the child's, from fork to exit
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& text);
bool exists(const std::string& path);

// Returns text that a program of `target` wrote with its lines' ends as
// "\n". On Windows every line must end in CR LF.
std::string fromPlatformText(const Target& target, const std::string& text);

// What a run in a pseudo-terminal showed, without the blanks that Wine's
// console draws as cursor moves, and how it ended.
struct ScreenOutcome {
  int status = -1;
  std::string screen;
  bool prompted = false;  // the closing prompt showed (and was answered)
};

// The prompt of a console window that a program owns alone on Windows.
extern const char kCloseWindowPrompt[];

// Strips the terminal's control sequences and every blank from `text`.
std::string visibleText(const std::string& text);

// True when `screen`, as visibleText() gives it, shows `text`.
bool shows(const std::string& screen, const std::string& text);

// The Windows name of a file that Wine reaches as `path`, on its drive Z:.
std::string windowsPath(std::string path);

// How a Windows test case starts the program: in a pseudo-terminal, a
// console of its own, through `launcher` (nothing, or cmd /c), or without
// a terminal; and whether it must then wait for Enter before it ends.
struct ConsoleCase {
  std::string name;
  std::vector<std::string> launcher;
  bool pseudo_terminal;
  bool waits;
};

void PrintTo(const ConsoleCase& c, std::ostream* os);

// A console the program owns alone, one it shares with cmd, and none.
extern const std::vector<ConsoleCase> kConsoleCases;

// Runs `command` in `dir` on a new pseudo-terminal; answers the closing
// prompt with Enter when it shows. A run that outlasts a minute is killed.
ScreenOutcome runInPseudoTerminal(const std::string& dir,
                                  const std::vector<std::string>& command);

// How a run may end when each call of a group fails, in the order the run
// makes them: a group maps to one list of allowed endings per call, or,
// named with a "*" before it, to one list for every call of the group.
template <typename Ending>
using CallEndings = std::map<std::string, std::vector<std::vector<Ending>>>;

// The endings `calls` allows when call `k` (from 1) of group `call` fails.
// A call it does not know fails the test.
template <typename Ending>
std::vector<Ending> endingsOf(const CallEndings<Ending>& calls,
                              const std::string& call, long k) {
  if (const auto every = calls.find("*" + call); every != calls.end()) {
    return every->second.front();
  }
  const auto each = calls.find(call);
  if (each != calls.end() && k <= static_cast<long>(each->second.size())) {
    return each->second[static_cast<size_t>(k - 1)];
  }
  ADD_FAILURE() << "no ending known for " << call << " #" << k;
  return {};
}

// A test that runs `target_` in a fresh directory, removed at its end.
class ProgramTest : public testing::Test {
 protected:
  explicit ProgramTest(Target target) : target_(std::move(target)) {}

  void SetUp() override;
  void TearDown() override;

  std::string path(const std::string& name) const { return dir_ + "/" + name; }

  // Runs the program in the test's directory with `args`, `input` on its
  // standard input; returns what it wrote as it wrote it.
  Outcome runProgram(const std::vector<std::string>& args,
                     const std::string& input, Stdout out);

  // Runs the program with `args` as `c` starts it; only a run in a
  // pseudo-terminal answers the closing prompt.
  ScreenOutcome runInConsole(const ConsoleCase& c,
                             const std::vector<std::string>& args);

  // True when runs can have the fault injector preloaded: a native Linux
  // binary, built without sanitizers.
  bool injectsFaults() const;

  // Runs `args` with the fault injector preloaded and returns how many
  // calls of each group of the C library the run made; "misaligned-read"
  // counts the reads of a page or more into memory that starts no page.
  std::map<std::string, long> countCalls(const std::vector<std::string>& args);

  // Makes the runs that follow fail the `at`th call of group `call`.
  void failCall(const std::string& call, long at);

  // Runs `args` once for each call in `calls` (as countCalls() gives
  // them), with that call failing, and hands `check` the call's name, its
  // number in its group (from 1) and the run's outcome as written. Returns
  // the number of runs.
  template <typename Check>
  int runWithEachCallFailing(const std::vector<std::string>& args,
                             const std::map<std::string, long>& calls,
                             Check check) {
    int runs = 0;
    for (const auto& [call, count] : calls) {
      if (call == "misaligned-read") continue;
      for (long k = 1; k <= count; ++k, ++runs) {
        SCOPED_TRACE(call + " #" + std::to_string(k));
        failCall(call, k);
        check(call, k, runProgram(args, "", Stdout::kFile));
      }
    }
    child_environment_.clear();
    return runs;
  }

  const Target target_;
  std::string dir_;
  // The file of the test's directory that a file standard output writes to.
  std::string stdout_file_ = ".stdout";
  // The child's address-space limit in bytes, or 0 for none.
  rlim_t memory_limit_ = 0;
  // Variables set in the child's environment.
  std::map<std::string, std::string> child_environment_;

 private:
  [[noreturn]] void runChild(const std::vector<std::string>& args, Stdout out,
                             int pipe_end);
};

#endif  // ZEPTOR_TESTING_PROGRAM_TEST_H_
