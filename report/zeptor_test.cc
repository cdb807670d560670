// End-to-end tests: run the built zeptor binary and compare its whole
// standard output, error output, exit status and output file.
//
// The binary is the one built beside these tests, or the one named by
// ZEPTOR_BINARY, started through the command in ZEPTOR_EMULATOR (qemu, or
// wine for a Windows build, whose text lines end in CR LF when
// ZEPTOR_WINDOWS is set).

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "testing/program_test.h"
#include "testing/test_param_name.h"

namespace {

const Target& target() {
  static const Target the_target =
      findTarget("ZEPTOR_BINARY", ZEPTOR_BINARY, ZEPTOR_EMULATOR);
  return the_target;
}

bool measuresMemory() { return measuresMemory(target()); }

const char kBanner[] =
    "QXT program zeptor  version: 2.6    date(ccyy/mm/dd): 2003/01/08\n"
    "    for help, exit with <Control-C>, then enter \"zeptor -h\"\n"
    "\n";

const char kHelp[] =
    "  Reads an OMBRIX format output file and\n"
    "  computes the ellipsoid height order-class accuracy distribution\n"
    "  at the 95% (2 sigma) confidence interval \n"
    "  Accession (job) number is optional.\n"
    "  Use no spaces in Accession number (ie, GPS1040).\n"
    "Command line usage: \n"
    "  zeptor <input filename> <output filename> [accession (job) number]\n"
    "Windows DOS box usage: \n"
    "  zeptor (user is queried for input parameters)\n";

const char kPrompts[] =
    "Enter  input filename: Enter output filename: "
    "Do you want to enter an accession (job) number (y/n): ";

const char kEnd[] = "\nNormal end of program zeptor\n";

const char kMaskedTime[] = "System run time:     <masked>\n";

const char kZeroTables[] =
    "\n"
    " Distribution of Ellipsoid Height Accuracies\n"
    "\n"
    "             Number of\n"
    "   OC        Accuracies\n"
    "   --        ----------\n"
    "   11              0\n"
    "   12              0\n"
    "   21              0\n"
    "   22              0\n"
    "   31              0\n"
    "   32              0\n"
    "   41              0\n"
    "   42              0\n"
    "   51              0\n"
    "   52              0\n"
    "   low             0\n"
    "\n"
    " Distribution of Accuracies by Station Spacing\n"
    "\n"
    "   OC   <25km   25km - 100km  100km - 250km  >250km\n"
    "   --   -----   ------------  -------------  ------\n"
    "   11       0          0              0         0\n"
    "   12       0          0              0         0\n"
    "   21       0          0              0         0\n"
    "   22       0          0              0         0\n"
    "   31       0          0              0         0\n"
    "   32       0          0              0         0\n"
    "   41       0          0              0         0\n"
    "   42       0          0              0         0\n"
    "   51       0          0              0         0\n"
    "   52       0          0              0         0\n"
    "   low      0          0              0         0\n";

// Reads a file the program wrote.
std::string readOutput(const std::string& path) {
  return fromPlatformText(target(), readFile(path));
}

// True when `value` has the run-time form, such as
// "Date: Thr Jan 9, 2003  Time: 18:51:48 pm".
bool isRunTime(const std::string& value) {
  char day[4] = "";
  char month[4] = "";
  char noon[3] = "";
  int day_of_month = 0, year = 0, hour = 0, minutes = 0, seconds = 0;
  if (std::sscanf(value.c_str(), "Date: %3s %3s %d, %d  Time: %d:%d:%d %2s",
                  day, month, &day_of_month, &year, &hour, &minutes, &seconds,
                  noon) != 8) {
    return false;
  }
  char rebuilt[80];
  std::snprintf(rebuilt, sizeof rebuilt,
                "Date: %s %s %d, %d  Time: %02d:%02d:%02d %s", day, month,
                day_of_month, year, hour, minutes, seconds,
                hour > 11 ? "pm" : "am");
  const std::string days = "Sun Mon Tue Wed Thr Fri Sat";
  const std::string months = "Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec";
  return value == rebuilt && days.find(day) % 4 == 0 &&
         months.find(month) % 4 == 0 && day_of_month >= 1 &&
         day_of_month <= 31 && hour <= 23 && minutes <= 59 && seconds <= 61;
}

// Replaces the value of every run-time line, after checking its form; a
// line of another form is left for the comparison to show.
std::string maskRunTime(std::string text) {
  const std::string label = "System run time:     ";
  for (size_t start = text.find(label); start != std::string::npos;
       start = text.find(label, start + 1)) {
    const size_t value = start + label.size();
    const size_t end = text.find('\n', value);
    if (end != std::string::npos &&
        isRunTime(text.substr(value, end - value))) {
      text.replace(start, end + 1 - start, kMaskedTime);
    }
  }
  return text;
}

class ZeptorTest : public ProgramTest {
 protected:
  ZeptorTest() : ProgramTest(target()) {}

  // Runs zeptor in the test's directory with `args`, `input` on its
  // standard input; its text with lines ending in "\n", the run time
  // masked.
  Outcome run(const std::vector<std::string>& args,
              const std::string& input = "", Stdout out = Stdout::kFile) {
    Outcome outcome = runProgram(args, input, out);
    outcome.out = maskRunTime(fromPlatformText(target(), outcome.out));
    outcome.err = fromPlatformText(target(), outcome.err);
    return outcome;
  }

  // The report zeptor writes for `input`, `output` and an optional
  // accession number, with `body` after the identification lines.
  static std::string report(const std::string& input, const std::string& output,
                            const std::string& accession,
                            const std::string& body) {
    std::string text = kMaskedTime;
    text += "Input filename:      " + input + "\n";
    text += "Output filename:     " + output + "\n";
    if (!accession.empty()) text += "Accession number:    " + accession + "\n";
    return text + body;
  }

  // Checks a successful run: status 0, nothing on the error stream, the
  // banner, `prompts`, the report and the closing message on standard
  // output, and the same report in the output file.
  void expectReport(const Outcome& outcome, const std::string& prompts,
                    const std::string& report_text,
                    const std::string& output = "out.rpt") {
    EXPECT_EQ(0, outcome.status);
    EXPECT_EQ("", outcome.err);
    EXPECT_EQ(kBanner + prompts + report_text + kEnd, outcome.out);
    EXPECT_EQ(report_text, maskRunTime(readOutput(path(output))));
  }

  // Checks a failed run: the banner only, `error` and the status.
  void expectFailure(const Outcome& outcome, int status,
                     const std::string& error) {
    EXPECT_EQ(status, outcome.status);
    EXPECT_EQ(kBanner, outcome.out);
    EXPECT_EQ(error, outcome.err);
  }

  // A print file with no observations.
  void writeEmptyPrintFile(const std::string& name) {
    writeFile(path(name), "1 TITLE\n PROGRAM OMBRIX\n");
  }
};

// ---------------------------------------------------------------------------
// Command line and prompts.

TEST_F(ZeptorTest, HelpForAnyOtherArgumentCount) {
  writeEmptyPrintFile("in.prt");
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"-h"},
        {"in.prt"},
        {""},
        {"in.prt", "out.rpt", "GPS1", "extra"},
        {"a", "b", "c", "d", "e"}}) {
    expectFailure(run(args), 1, kHelp);
    EXPECT_FALSE(exists(path("out.rpt")));
  }
}

TEST_F(ZeptorTest, TakesNamesAndAccessionFromTheCommandLine) {
  writeEmptyPrintFile("in.prt");
  expectReport(run({"in.prt", "out.rpt"}), "",
               report("in.prt", "out.rpt", "", kZeroTables));
  expectReport(run({"in.prt", "out.rpt", "GPS1040"}), "",
               report("in.prt", "out.rpt", "GPS1040", kZeroTables));
  // An empty accession number is none.
  expectReport(run({"in.prt", "out.rpt", ""}), "",
               report("in.prt", "out.rpt", "", kZeroTables));
}

struct PromptCase {
  std::string answers;
  std::string prompts;
  std::string accession;
};

void PrintTo(const PromptCase& c, std::ostream* os) {
  *os << testing::PrintToString(c.answers);
}

class ZeptorPromptTest : public ZeptorTest,
                         public testing::WithParamInterface<PromptCase> {};

TEST_P(ZeptorPromptTest, AsksForTheParameters) {
  writeEmptyPrintFile("in.prt");
  expectReport(run({}, GetParam().answers), GetParam().prompts,
               report("in.prt", "out.rpt", GetParam().accession, kZeroTables));
}

const std::string kAccessionPrompt = "Enter accession (job) number: ";

INSTANTIATE_TEST_SUITE_P(
    Answers, ZeptorPromptTest,
    testing::Values(
        PromptCase{"in.prt out.rpt y GPS1040\n",
                   kPrompts + kAccessionPrompt + "\n", "GPS1040"},
        PromptCase{"in.prt\nout.rpt\nY\n  JOB-7  \n",
                   kPrompts + kAccessionPrompt + "\n", "JOB-7"},
        PromptCase{"in.prt out.rpt n GPS1040\n", kPrompts + std::string("\n"),
                   ""},
        PromptCase{"in.prt out.rpt N\n", kPrompts + std::string("\n"), ""},
        PromptCase{"in.prt out.rpt yes\n", kPrompts + std::string("\n"), ""},
        // At the end of input the answer is empty: no accession number.
        PromptCase{"in.prt out.rpt", kPrompts + std::string("\n"), ""},
        PromptCase{"in.prt out.rpt y", kPrompts + kAccessionPrompt + "\n", ""}),
    ShortParamName());

TEST_F(ZeptorTest, StandardInputAtItsEndLeavesTheNamesEmpty) {
  const Outcome outcome = run({}, "");
  EXPECT_EQ(1, outcome.status);
  EXPECT_EQ(kBanner + std::string(kPrompts) + "\n", outcome.out);
  EXPECT_EQ("Error: Cannot find input file:  \n", outcome.err);
}

// ---------------------------------------------------------------------------
// The console window: one that zeptor.exe owns alone, as when started from
// Explorer, waits for Enter before it closes; a shared one, or redirected
// streams, never do. Under Wine a pseudo-terminal gives zeptor a console.

class ZeptorConsoleTest : public ZeptorTest,
                          public testing::WithParamInterface<ConsoleCase> {};

TEST_P(ZeptorConsoleTest, WaitsForEnterOnlyInAConsoleOfItsOwn) {
  if (!target().windows) GTEST_SKIP() << "Windows consoles only";
  const ConsoleCase& c = GetParam();
  writeEmptyPrintFile("in.prt");
  const ScreenOutcome normal = runInConsole(c, {"in.prt", "out.rpt"});
  EXPECT_EQ(0, normal.status);
  EXPECT_EQ(c.waits, normal.prompted) << normal.screen;
  EXPECT_EQ(report("in.prt", "out.rpt", "", kZeroTables),
            maskRunTime(readOutput(path("out.rpt"))));
  const ScreenOutcome error = runInConsole(c, {"missing.prt", "out.rpt"});
  EXPECT_EQ(1, error.status);
  EXPECT_THAT(error.screen,
              testing::HasSubstr("Error:Cannotfindinputfile:missing.prt"));
  EXPECT_EQ(c.waits, error.prompted) << error.screen;
}

INSTANTIATE_TEST_SUITE_P(Consoles, ZeptorConsoleTest,
                         testing::ValuesIn(kConsoleCases), ShortParamName());

// ---------------------------------------------------------------------------
// Files.

TEST_F(ZeptorTest, AMissingInputCreatesNoOutput) {
  expectFailure(run({"missing.prt", "out.rpt"}), 1,
                "Error: Cannot find input file:  missing.prt\n");
  EXPECT_FALSE(exists(path("out.rpt")));
}

TEST_F(ZeptorTest, AnOutputInAMissingDirectoryCannotBeCreated) {
  writeEmptyPrintFile("in.prt");
  expectFailure(run({"in.prt", "no/such/dir/out.rpt"}), 1,
                "Error: Cannot create output file:  no/such/dir/out.rpt\n"
                "       Check available memory.\n");
}

TEST_F(ZeptorTest, RefusesToWriteOverTheInput) {
  writeEmptyPrintFile("in.prt");
  ASSERT_EQ(0, link(path("in.prt").c_str(), path("hard.prt").c_str()));
  ASSERT_EQ(0, symlink("in.prt", path("soft.prt").c_str()));
  const std::string original = readFile(path("in.prt"));
  for (const char* output : {"in.prt", "./in.prt", "hard.prt", "soft.prt"}) {
    expectFailure(run({"in.prt", output}), 1,
                  std::string("Error: Input and output are the same file:  ") +
                      output + "\n       Fix and run again\n");
    EXPECT_EQ(original, readFile(path("in.prt")));
  }
}

TEST_F(ZeptorTest, RefusesOtherWindowsSpellingsOfTheInput) {
  if (!target().windows) GTEST_SKIP() << "Windows names only";
  writeEmptyPrintFile("in.prt");
  std::string absolute = "Z:" + path("in.prt");  // Wine's drive for "/"
  for (char& c : absolute) c = c == '/' ? '\\' : c;
  for (const std::string& output :
       {std::string("IN.PRT"), std::string(".\\in.prt"), absolute}) {
    expectFailure(run({"in.prt", output}), 1,
                  "Error: Input and output are the same file:  " + output +
                      "\n       Fix and run again\n");
  }
}

TEST_F(ZeptorTest, OpensAndPrintsNamesWithOtherLetters) {
  const std::string input = "Vermessung_M\xC3\xBCller.prt";
  const std::string output = "Bericht_\xC3\xA9t\xC3\xA9.rpt";
  writeEmptyPrintFile(input);
  const std::string expected = report(input, output, "", kZeroTables);
  expectReport(run({input, output}), "", expected, output);
  expectReport(run({}, input + " " + output + " n\n"),
               kPrompts + std::string("\n"), expected, output);
}

TEST_F(ZeptorTest, ADirectoryIsNoInput) {
  ASSERT_EQ(0, mkdir(path("dir.prt").c_str(), 0755));
  expectFailure(run({"dir.prt", "out.rpt"}), 1,
                "Error: Cannot find input file:  dir.prt\n");
  EXPECT_FALSE(exists(path("out.rpt")));
}

TEST_F(ZeptorTest, AReadErrorWritesNoReport) {
  // Reading a process's own memory at offset 0 fails with an I/O error.
  expectFailure(run({"/proc/self/mem", "out.rpt"}), 1,
                "Error: Cannot read input file:  /proc/self/mem\n");
  EXPECT_EQ("", readFile(path("out.rpt")));
}

TEST_F(ZeptorTest, AFullDiskIsAnError) {
  writeEmptyPrintFile("in.prt");
  const Outcome outcome = run({"in.prt", "/dev/full"});
  EXPECT_EQ(1, outcome.status);
  EXPECT_EQ(kBanner + report("in.prt", "/dev/full", "", kZeroTables),
            outcome.out);
  EXPECT_EQ(
      "Error: Cannot write output file:  /dev/full\n"
      "       Check available disk space.\n",
      outcome.err);
}

TEST_F(ZeptorTest, RefusesAnOutputFileThatIsStandardOutput) {
  writeEmptyPrintFile("in.prt");
  ASSERT_EQ(0, symlink("out.rpt", path("soft.rpt").c_str()));
  stdout_file_ = "out.rpt";
  std::vector<std::string> outputs = {"out.rpt", "./out.rpt", "soft.rpt"};
  // A name of the POSIX systems only.
  if (!target().windows) outputs.push_back("/dev/stdout");
  for (Stdout out : {Stdout::kFile, Stdout::kAppendToFile}) {
    for (const std::string& output : outputs) {
      writeFile(path("out.rpt"), "kept ");
      const Outcome outcome = run({"in.prt", output}, "", out);
      EXPECT_EQ(1, outcome.status) << output;
      EXPECT_EQ("Error: Output file is also standard output:  " + output +
                    "\n       Fix and run again\n",
                outcome.err);
      // Standard output is the file: only what was there and the banner.
      EXPECT_EQ(out == Stdout::kFile ? kBanner : "kept " + std::string(kBanner),
                outcome.out)
          << output;
    }
  }
}

TEST_F(ZeptorTest, WritesTheReportTwiceToAPipeNamedAsOutput) {
  writeEmptyPrintFile("in.prt");
  // A pipe as standard output and a file of another name are no clash.
  const Outcome piped = run({"in.prt", "out.rpt"}, "", Stdout::kPipe);
  expectReport(piped, "", report("in.prt", "out.rpt", "", kZeroTables));
  if (target().windows) return;  // no /dev/stdout
  const std::string report_text =
      report("in.prt", "/dev/stdout", "", kZeroTables);
  const Outcome twice = run({"in.prt", "/dev/stdout"}, "", Stdout::kPipe);
  EXPECT_EQ(0, twice.status);
  EXPECT_EQ(kBanner + report_text + report_text + kEnd, twice.out);
}

// Piped answers can carry a NUL byte; the name before it is another file.
TEST_F(ZeptorTest, ANameWithANulByteNamesNoFile) {
  writeEmptyPrintFile("data.prt");
  writeFile(path("old.rpt"), "kept\n");
  const std::string nul("\0", 1);
  Outcome outcome = run({}, "data.prt" + nul + "x out.rpt n\n");
  EXPECT_EQ(1, outcome.status);
  EXPECT_EQ(kBanner + std::string(kPrompts) + "\n", outcome.out);
  EXPECT_EQ("Error: Cannot find input file:  data.prt" + nul + "x\n",
            outcome.err);
  EXPECT_FALSE(exists(path("out.rpt")));
  outcome = run({}, "data.prt old.rpt" + nul + "new n\n");
  EXPECT_EQ(1, outcome.status);
  EXPECT_EQ("Error: Cannot create output file:  old.rpt" + nul +
                "new\n       Check available memory.\n",
            outcome.err);
  EXPECT_EQ("kept\n", readFile(path("old.rpt")));
}

TEST_F(ZeptorTest, AnUnwritableStandardOutputStillGetsTheFileWritten) {
  writeEmptyPrintFile("in.prt");
  for (Stdout out : {Stdout::kDevFull, Stdout::kClosedPipe, Stdout::kClosed}) {
    const Outcome outcome = run({"in.prt", "out.rpt"}, "", out);
    EXPECT_EQ(1, outcome.status);
    EXPECT_EQ("Error: Cannot write to standard output\n", outcome.err);
    EXPECT_EQ(report("in.prt", "out.rpt", "", kZeroTables),
              maskRunTime(readOutput(path("out.rpt"))));
  }
}

// ---------------------------------------------------------------------------
// One failing call at a time.

// What the output file holds after a run; kAny where it is standard
// output's file or the input, which other checks cover.
enum class Output { kAbsent, kEmpty, kReport, kAny };

// How a run with one failing call may end: its status, its exact error
// output (or, where the call that fails may write it, a part of it from
// its start) and its output file.
struct Ending {
  int status;
  std::string err;
  Output output;
  bool err_may_be_cut = false;
};

std::string error(const std::string& message, const std::string& detail = "") {
  return "Error: " + message + "\n" +
         (detail.empty() ? "" : "       " + detail + "\n");
}

using CallTable = CallEndings<Ending>;

// The calls of a run of survey.prt with output `output`, which is
// neither the input nor standard output's file when `distinct`, else
// refused with `refusal`.
CallTable callTable(const std::string& output, bool distinct,
                    const std::string& refusal) {
  const std::string find_input = error("Cannot find input file:  survey.prt");
  const std::string read_input = error("Cannot read input file:  survey.prt");
  const std::string create_output =
      error("Cannot create output file:  " + output, "Check available memory.");
  const std::string write_output = error("Cannot write output file:  " + output,
                                         "Check available disk space.");
  const std::string memory = error("Not enough memory to finish the report",
                                   "Check available memory.");
  const std::string standard_output = error("Cannot write to standard output");
  // Until the output is opened, and if it is refused, it is not created.
  const Output opened = distinct ? Output::kAbsent : Output::kAny;
  // An output that exists is opened again after its creation failed.
  CallTable calls = {
      {"open", {{{1, find_input, opened}}, {{1, create_output, opened}}}},
      // The input's, standard output's and the output's identity.
      {"stat",
       {{{1, read_input, opened}},
        {{1, standard_output, opened}},
        {{1, create_output, opened}}}},
  };
  if (!distinct) {
    calls["open"].push_back({{1, create_output, opened}});
    // The refusal, whatever else fails on the way; closing the refused
    // output changes nothing.
    calls["close"] = {{{1, refusal, Output::kAny}}};
    for (const char* text : {"*fwrite", "*fflush", "*fputc"}) {
      calls[text] = {{{1, refusal, Output::kAny, true}}};
    }
    calls["*malloc"] = {
        {{1, refusal, Output::kAny}, {1, memory, Output::kAny}}};
    return calls;
  }
  const Ending report{0, "", Output::kReport};
  calls["ftruncate"] = {{{1, create_output, Output::kAbsent}}};
  calls["*read"] = {{{1, read_input, Output::kEmpty}}};
  calls["write"] = {{{1, write_output, Output::kEmpty}}};
  // The input's, whose reading is over, then the output's.
  calls["close"] = {{report}, {{1, write_output, Output::kReport}}};
  for (const char* text : {"*fwrite", "*fflush", "*fputc"}) {
    calls[text] = {{report, {1, standard_output, Output::kReport, true}}};
  }
  calls["*malloc"] = {
      {report, {1, memory, Output::kAbsent}, {1, memory, Output::kEmpty}}};
  return calls;
}

// Every call of the C library that a run makes fails once, one run for
// each, and ends as the table of its calls says; the input never changes.
TEST_F(ZeptorTest, EachFailingCallEndsAsItMust) {
  if (!injectsFaults())
    GTEST_SKIP() << "preloading needs a native Linux binary";
  const std::string input = readFile(ZEPTOR_SOURCE_DIR "/examples/survey.prt");
  const std::string expected =
      readFile(ZEPTOR_SOURCE_DIR "/report/testdata/survey.expected");
  writeFile(path("survey.prt"), input);
  struct FaultCase {
    const char* name;
    const char* output;
    bool output_is_stdout;
    std::string refusal;
  };
  for (const FaultCase& c :
       {FaultCase{"distinct files", "out.rpt", false, ""},
        FaultCase{"the same name", "survey.prt", false,
                  error("Input and output are the same file:  survey.prt",
                        "Fix and run again")},
        FaultCase{"standard output as output", "out.rpt", true,
                  error("Output file is also standard output:  out.rpt",
                        "Fix and run again")}}) {
    SCOPED_TRACE(c.name);
    const std::vector<std::string> args = {"survey.prt", c.output, "GPS1040"};
    stdout_file_ = c.output_is_stdout ? "out.rpt" : ".stdout";
    const std::map<std::string, long> calls = countCalls(args);
    const CallTable table = callTable(c.output, c.refusal.empty(), c.refusal);
    std::remove(path("out.rpt").c_str());
    const int runs = runWithEachCallFailing(
        args, calls,
        [&](const std::string& call, long k, const Outcome& outcome) {
          EXPECT_EQ(input, readFile(path("survey.prt")));
          const std::string output = exists(path("out.rpt"))
                                         ? readOutput(path("out.rpt"))
                                         : std::string();
          const auto matches = [&](const Ending& ending) {
            switch (ending.output) {
              case Output::kAbsent:
                if (exists(path("out.rpt"))) return false;
                break;
              case Output::kEmpty:
                if (!exists(path("out.rpt")) || !output.empty()) return false;
                break;
              case Output::kReport:
                if (maskRunTime(output) != expected) return false;
                break;
              case Output::kAny:
                break;
            }
            return ending.status == outcome.status &&
                   (ending.err_may_be_cut
                        ? ending.err.rfind(outcome.err, 0) == 0
                        : ending.err == outcome.err);
          };
          const std::vector<Ending> endings = endingsOf(table, call, k);
          EXPECT_TRUE(std::any_of(endings.begin(), endings.end(), matches))
              << "status " << outcome.status << ", error output:\n"
              << outcome.err << "output file: "
              << (exists(path("out.rpt"))
                      ? std::to_string(output.size()) + " bytes"
                      : "none");
          if (outcome.status == 0) {
            EXPECT_EQ(kBanner + expected + kEnd, maskRunTime(outcome.out));
          }
          std::remove(path("out.rpt").c_str());
        });
    EXPECT_GT(runs, 20);
  }
}

TEST_F(ZeptorTest, ReadsIntoPageAlignedMemory) {
  if (!injectsFaults())
    GTEST_SKIP() << "preloading needs a native Linux binary";
  writeFile(path("survey.prt"),
            readFile(ZEPTOR_SOURCE_DIR "/examples/survey.prt"));
  const std::map<std::string, long> calls =
      countCalls({"survey.prt", "out.rpt"});
  EXPECT_GT(calls.at("read"), 0);
  EXPECT_EQ(0, calls.at("misaligned-read"));
}

// ---------------------------------------------------------------------------
// Reports.

TEST_F(ZeptorTest, TheBundledExampleGivesItsReport) {
  writeFile(path("survey.prt"),
            readFile(ZEPTOR_SOURCE_DIR "/examples/survey.prt"));
  const std::string expected =
      readFile(ZEPTOR_SOURCE_DIR "/report/testdata/survey.expected");
  ASSERT_NE("", expected);
  expectReport(run({"survey.prt", "out.rpt", "GPS1040"}), "", expected);
}

TEST_F(ZeptorTest, BothOffsetsGiveTheSameCounts) {
  // Without the carriage-control column every tag moves one column left;
  // the version text stays at its fixed column.
  std::istringstream lines(readFile(ZEPTOR_SOURCE_DIR "/examples/survey.prt"));
  std::string offset0;
  for (std::string line; std::getline(lines, line);) {
    offset0 += (line.empty() ? line : line.substr(1)) + "\n";
  }
  writeFile(path("survey.prt"), offset0);
  const std::string expected =
      readFile(ZEPTOR_SOURCE_DIR "/report/testdata/survey.expected");
  expectReport(run({"survey.prt", "out.rpt", "GPS1040"}), "", expected);
}

TEST_F(ZeptorTest, OffsetControlErrorsLeaveTheOutputEmpty) {
  writeFile(path("tab.prt"), "title\n\tPROGRAM OMBRIX\n");
  expectFailure(run({"tab.prt", "out.rpt"}), 5,
                "Error: Not able to determine offset control\n"
                "       See programmer(5).  Program ends\n");
  EXPECT_EQ("", readFile(path("out.rpt")));
  writeFile(path("long.prt"), "title\n" + std::string(66, '-') + "\n");
  expectFailure(run({"long.prt", "out.rpt"}), 7,
                "Error: Not able to determine offset control\n"
                "       See programmer(7).  Program ends\n");
  EXPECT_EQ("", readFile(path("out.rpt")));
}

TEST_F(ZeptorTest, ACountOverFourDigitsWidensItsRow) {
  std::string text = "1\n PROGRAM OMBRIX\n";
  const std::string pair =
      "         DISTANCE=            30000\n"
      "         VERT.ANG.=" +
      std::string(38, ' ') + "0.0010\n";
  for (int i = 0; i < 12345; ++i) text += pair;
  writeFile(path("many.prt"), text);
  std::string tables = kZeroTables;
  tables.replace(tables.find("   11              0"), 20,
                 "   11           12345");
  tables.replace(tables.find("   11       0          0"), 24,
                 "   11       0       12345");
  expectReport(run({"many.prt", "out.rpt"}), "",
               report("many.prt", "out.rpt", "", tables));
  EXPECT_THAT(readOutput(path("out.rpt")),
              testing::HasSubstr("\n   11           12345\n"));
}

// ---------------------------------------------------------------------------
// Hostile input: every file ends in a report or an error of its own.

TEST_F(ZeptorTest, A50MegabyteLineNeedsLittleMemory) {
  // As the whole file, and as a line after the magic line, which is
  // examined rather than skipped.
  for (const char* head : {"", "1\n PROGRAM OMBRIX\n"}) {
    {
      std::ofstream file(path("one-line.prt"), std::ios::binary);
      file << head;
      const std::string block(1 << 20, 'x');
      for (int i = 0; i < 50; ++i) file << block;
    }
    const Outcome outcome = run({"one-line.prt", "out.rpt"});
    expectReport(outcome, "",
                 report("one-line.prt", "out.rpt", "", kZeroTables));
    RecordProperty("peak_rss_kib", static_cast<int>(outcome.peak_rss_kib));
    if (measuresMemory()) {
      EXPECT_LT(outcome.peak_rss_kib, 16 * 1024);
    }
  }
}

TEST_F(ZeptorTest, RunningOutOfMemoryWritesNoReport) {
  if (!measuresMemory()) GTEST_SKIP() << "an emulator or sanitizer needs more";
  {
    // The version text is kept whole: 200 MiB cannot fit in 128.
    std::ofstream file(path("huge.prt"), std::ios::binary);
    file << "1\n PROGRAM OMBRIX\n" << std::string(58, ' ') << "VERSION ";
    const std::string block(1 << 20, 'v');
    for (int i = 0; i < 200; ++i) file << block;
    file << "\n";
  }
  memory_limit_ = rlim_t{128} << 20;
  expectFailure(run({"huge.prt", "out.rpt"}), 1,
                "Error: Not enough memory to finish the report\n"
                "       Check available memory.\n");
  EXPECT_EQ("", readFile(path("out.rpt")));
}

TEST_F(ZeptorTest, RandomBytesEndInAReportOrAnOffsetError) {
  std::mt19937 random(7);
  std::string bytes(1 << 20, '\0');
  for (char& c : bytes) c = static_cast<char>(random() % 256);
  // With no magic line first, the first long line ends the run.
  writeFile(path("random.prt"), bytes);
  expectFailure(run({"random.prt", "out.rpt"}), 7,
                "Error: Not able to determine offset control\n"
                "       See programmer(7).  Program ends\n");
  writeFile(path("random.prt"), "1\n PROGRAM OMBRIX\n" + bytes);
  expectReport(run({"random.prt", "out.rpt"}), "",
               report("random.prt", "out.rpt", "", kZeroTables));
}

TEST_F(ZeptorTest, AMillionEmptyLinesGiveEmptyTables) {
  writeFile(path("empty.prt"),
            "1\n PROGRAM OMBRIX\n" + std::string(1000000, '\n'));
  expectReport(run({"empty.prt", "out.rpt"}), "",
               report("empty.prt", "out.rpt", "", kZeroTables));
}

TEST_F(ZeptorTest, GarbageValuesCountAsZero) {
  const std::string garbage[] = {
      "abc", "--1",     "0x10", "inf",
      "nan", ".",       "e5",   std::string("\0\0\0", 3),
      "+-",  "\x01\xff"};
  std::string text = "1\n PROGRAM OMBRIX\n";
  for (int i = 0; i < 5000; ++i) {
    text += std::string("         DISTANCE=     ") + garbage[i % 10] + "\n";
    text +=
        "         VERT.ANG.=" + std::string(38, '#') + garbage[i % 7] + "\n";
  }
  writeFile(path("garbage.prt"), text);
  // 0 / 0 is not a number: class 11, spacing under 25 km.
  std::string tables = kZeroTables;
  tables.replace(tables.find("   11              0"), 20,
                 "   11           5000");
  tables.replace(tables.find("   11       0"), 13, "   11    5000");
  expectReport(run({"garbage.prt", "out.rpt"}), "",
               report("garbage.prt", "out.rpt", "", tables));
}

TEST_F(ZeptorTest, CrLfAndACutLastLineReadLikeTheWholeFile) {
  const std::string whole = readFile(ZEPTOR_SOURCE_DIR "/examples/survey.prt");
  const std::string expected =
      readFile(ZEPTOR_SOURCE_DIR "/report/testdata/survey.expected");
  std::string crlf;
  for (char c : whole)
    crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  // Cut in the middle of the last standard error's line, after its value.
  const size_t last_error = whole.rfind("VERT.ANG.=");
  const std::string cut = whole.substr(0, whole.find("NORM", last_error));
  for (const std::string& text : {crlf, cut}) {
    writeFile(path("survey.prt"), text);
    expectReport(run({"survey.prt", "out.rpt", "GPS1040"}), "", expected);
  }
}

TEST_F(ZeptorTest, KeepsItsIdentificationStrings) {
  const std::string binary = readFile(target().binary);
  for (const char* id :
       {"@(#)zeptor\t2.6\t2003/01/08 QXT", "@(#)trim\t1.1\t2003/01/08 QXT",
        "@(#)Date\t1.2\t2003/01/08 QXT",
        "@(#)DataOutOfRangeException\t1.2\t2003/01/08 QXT"}) {
    EXPECT_NE(std::string::npos, binary.find(id)) << id;
  }
}

}  // namespace
