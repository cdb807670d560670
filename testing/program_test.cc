#include "testing/program_test.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

Target findTarget(const char* binary_variable, const char* built,
                  const char* emulator) {
  Target t;
  const char* binary = std::getenv(binary_variable);
  t.binary = binary != nullptr ? binary : built;
  const char* emulator_words = std::getenv("ZEPTOR_EMULATOR");
  std::istringstream words(emulator_words != nullptr ? emulator_words
                                                     : emulator);
  for (std::string word; words >> word;) t.emulator.push_back(word);
  t.windows = std::getenv("ZEPTOR_WINDOWS") != nullptr;
  return t;
}

bool measuresMemory(const Target& target) {
#if defined(__SANITIZE_ADDRESS__)
  constexpr bool kShadowMemory = true;
#else
  constexpr bool kShadowMemory = false;
#endif
  return !kShadowMemory && target.emulator.empty();
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

bool exists(const std::string& path) {
  struct stat path_stat;
  return lstat(path.c_str(), &path_stat) == 0;
}

std::string fromPlatformText(const Target& target, const std::string& text) {
  if (!target.windows) return text;
  std::string lines;
  for (size_t i = 0; i < text.size(); ++i) {
    const bool ends_line = text.compare(i, 2, "\r\n") == 0;
    if (text[i] == '\n') ADD_FAILURE() << "a line ends without CR: " << text;
    lines += ends_line ? '\n' : text[i];
    i += ends_line ? 1 : 0;
  }
  return lines;
}

const char kCloseWindowPrompt[] = "Press Enter to close this window.";

std::string visibleText(const std::string& text) {
  std::string visible;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\x1b' && i + 1 < text.size() && text[i + 1] == '[') {
      i += 2;
      while (i < text.size() &&
             !std::isalpha(static_cast<unsigned char>(text[i])))
        ++i;
    } else if (!std::isspace(static_cast<unsigned char>(text[i]))) {
      visible += text[i];
    }
  }
  return visible;
}

bool shows(const std::string& screen, const std::string& text) {
  return screen.find(visibleText(text)) != std::string::npos;
}

std::string windowsPath(std::string path) {
  for (char& c : path) c = c == '/' ? '\\' : c;
  return "Z:" + path;
}

ScreenOutcome runInPseudoTerminal(const std::string& dir,
                                  const std::vector<std::string>& command) {
  int terminal = -1;
  const pid_t pid = forkpty(&terminal, nullptr, nullptr, nullptr);
  if (pid == 0) {
    // Enter arrives as a carriage return, as in a console window, however
    // soon the console reads it.
    termios modes{};
    tcgetattr(0, &modes);
    modes.c_iflag &= ~static_cast<tcflag_t>(ICRNL);
    tcsetattr(0, TCSANOW, &modes);
    if (chdir(dir.c_str()) != 0) _exit(126);
    setenv("WINEDEBUG", "-all", 1);
    std::vector<char*> argv;
    for (const std::string& word : command) {
      argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  ScreenOutcome outcome;
  std::string output;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::minutes(1);
  for (;;) {
    pollfd ready{terminal, POLLIN, 0};
    if (std::chrono::steady_clock::now() > deadline) {
      ADD_FAILURE() << "still running after a minute: " << visibleText(output);
      kill(pid, SIGKILL);
      break;
    }
    if (poll(&ready, 1, 1000) <= 0) continue;
    char buffer[4096];
    const ssize_t count = read(terminal, buffer, sizeof buffer);
    if (count <= 0) break;  // the terminal closed with the last process
    output.append(buffer, static_cast<size_t>(count));
    if (!outcome.prompted && shows(visibleText(output), kCloseWindowPrompt)) {
      EXPECT_EQ(1, write(terminal, "\r", 1));
      outcome.prompted = true;
    }
  }
  close(terminal);
  int wait_status = 0;
  EXPECT_EQ(pid, waitpid(pid, &wait_status, 0));
  outcome.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1;
  outcome.screen = visibleText(output);
  return outcome;
}

void PrintTo(const ConsoleCase& c, std::ostream* os) { *os << c.name; }

const std::vector<ConsoleCase> kConsoleCases = {
    {"OwnedByTheProgramAlone", {}, true, true},
    {"SharedWithCmd", {"cmd", "/c"}, true, false},
    {"NoConsole", {}, false, false}};

namespace {

std::string readAll(int fd) {
  std::string text;
  char buffer[4096];
  for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) {
    text.append(buffer, static_cast<size_t>(n));
  }
  return text;
}

}  // namespace

void ProgramTest::SetUp() {
  char dir[] = "/tmp/zeptor-test-XXXXXX";
  ASSERT_NE(nullptr, mkdtemp(dir));
  dir_ = dir;
}

void ProgramTest::TearDown() {
  const std::string command = "rm -rf '" + dir_ + "'";
  ASSERT_EQ(0, std::system(command.c_str()));
}

Outcome ProgramTest::runProgram(const std::vector<std::string>& args,
                                const std::string& input, Stdout out) {
  writeFile(path(".stdin"), input);
  const bool piped = out == Stdout::kPipe || out == Stdout::kClosedPipe;
  int pipe_ends[2] = {-1, -1};
  if (piped) {
    EXPECT_EQ(0, pipe(pipe_ends));
  }
  if (out == Stdout::kClosedPipe) close(pipe_ends[0]);
  const pid_t pid = fork();
  if (pid == 0) runChild(args, out, pipe_ends[1]);
  if (piped) close(pipe_ends[1]);
  Outcome outcome;
  if (out == Stdout::kPipe) {
    outcome.out = readAll(pipe_ends[0]);
    close(pipe_ends[0]);
  }
  int wait_status = 0;
  struct rusage usage {};
  EXPECT_EQ(pid, wait4(pid, &wait_status, 0, &usage));
  EXPECT_TRUE(WIFEXITED(wait_status)) << "killed by a signal";
  outcome.status = WEXITSTATUS(wait_status);
  outcome.peak_rss_kib = usage.ru_maxrss;
  if (!piped) outcome.out = readFile(path(stdout_file_));
  outcome.err = readFile(path(".stderr"));
  return outcome;
}

void ProgramTest::runChild(const std::vector<std::string>& args, Stdout out,
                           int pipe_end) {
  if (chdir(dir_.c_str()) != 0) _exit(126);
  dup2(open(".stdin", O_RDONLY), 0);
  switch (out) {
    case Stdout::kFile:
      dup2(open(stdout_file_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
      break;
    case Stdout::kAppendToFile:
      dup2(open(stdout_file_.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644), 1);
      break;
    case Stdout::kDevFull:
      dup2(open("/dev/full", O_WRONLY), 1);
      break;
    case Stdout::kPipe:
    case Stdout::kClosedPipe:
      dup2(pipe_end, 1);
      break;
    case Stdout::kClosed:
      break;  // after the error stream, which would take descriptor 1
  }
  dup2(open(".stderr", O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
  if (out == Stdout::kClosed) close(1);
  for (const auto& [name, value] : child_environment_) {
    setenv(name.c_str(), value.c_str(), 1);
  }
  if (memory_limit_ > 0) {
    const rlimit limit{memory_limit_, memory_limit_};
    if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(125);
  }
  std::vector<char*> argv;
  for (const std::string& word : target_.emulator) {
    argv.push_back(const_cast<char*>(word.c_str()));
  }
  argv.push_back(const_cast<char*>(target_.binary.c_str()));
  for (const std::string& arg : args) {
    argv.push_back(const_cast<char*>(arg.c_str()));
  }
  argv.push_back(nullptr);
  execvp(argv[0], argv.data());
  _exit(127);
}

ScreenOutcome ProgramTest::runInConsole(const ConsoleCase& c,
                                        const std::vector<std::string>& args) {
  if (!c.pseudo_terminal) {
    const Outcome outcome = runProgram(args, "", Stdout::kFile);
    const std::string screen = visibleText(outcome.out + outcome.err);
    return {outcome.status, screen, shows(screen, kCloseWindowPrompt)};
  }
  std::vector<std::string> command = target_.emulator;
  command.insert(command.end(), c.launcher.begin(), c.launcher.end());
  command.push_back(c.launcher.empty() ? target_.binary
                                       : windowsPath(target_.binary));
  command.insert(command.end(), args.begin(), args.end());
  return runInPseudoTerminal(dir_, command);
}

bool ProgramTest::injectsFaults() const {
  return !std::string(ZEPTOR_FAULT_INJECTOR).empty() &&
         target_.emulator.empty();
}

std::map<std::string, long> ProgramTest::countCalls(
    const std::vector<std::string>& args) {
  child_environment_ = {{"LD_PRELOAD", ZEPTOR_FAULT_INJECTOR},
                        {"ZEPTOR_FAULT_COUNTS", path(".counts")}};
  runProgram(args, "", Stdout::kFile);
  child_environment_.erase("ZEPTOR_FAULT_COUNTS");
  std::map<std::string, long> counts;
  std::istringstream lines(readFile(path(".counts")));
  std::string call;
  for (long count; lines >> call >> count;) counts[call] = count;
  return counts;
}

void ProgramTest::failCall(const std::string& call, long at) {
  child_environment_ = {{"LD_PRELOAD", ZEPTOR_FAULT_INJECTOR},
                        {"ZEPTOR_FAULT_CALL", call},
                        {"ZEPTOR_FAULT_AT", std::to_string(at)}};
}
