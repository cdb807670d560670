// Writes a synthetic print file of about the given size, shaped like a real
// one: a title page, the magic and version lines, then one block per
// observation with its DISTANCE= and VERT.ANG.= lines among other lines.
//
//   make_print_file OUTPUT MEGABYTES

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <string>

namespace {

// Offset 1: every line starts with a carriage-control column, so the tags
// sit at column 9, the spacing at 23, the standard error at 57 and "VERSION"
// at 58.
void writeHeader(std::ofstream& out) {
  out << "1                        HEIGHT NETWORK ADJUSTMENT\n"
      << " PROGRAM OMBRIX       LEAST SQUARES ADJUSTMENT OF 3-D OBSERVATIONS\n"
      << std::string(58, ' ') << "VERSION 8.1 (2002-11-30)\n\n";
}

// A page heading, as a print file has one every 60 lines or so.
void writePageHeading(std::ofstream& out, long page) {
  char line[160];
  std::snprintf(line, sizeof line,
                "1 OMBRIX   HEIGHT NETWORK ADJUSTMENT   ITERATION  3%35s"
                "PAGE %5ld\n",
                "", page);
  out << line << "\n"
      << "   OBSERVATION     FROM STATION      TO STATION        VALUE"
         "          STD.ERR    RESIDUAL\n"
      << "\n";
}

void writeObservation(std::ofstream& out, std::mt19937& random, long index) {
  std::uniform_real_distribution<double> metres(80.0, 400000.0);
  std::uniform_real_distribution<double> error(0.0001, 0.2);
  std::uniform_real_distribution<double> small(-0.01, 0.01);
  char line[200];
  std::snprintf(line, sizeof line,
                " OBS%6ld  GPS VECTOR   FROM  %-14s TO  %-14s SESSION %4ld\n",
                index, "MT-RUBY", "BASE-2", index / 7);
  out << line;
  std::snprintf(line, sizeof line,
                "         DISTANCE=     %12.3f  M      STD.ERR=  %6.4f M\n",
                metres(random), error(random));
  out << line;
  std::snprintf(line, sizeof line,
                "         AZIMUTH=   123 45 12.34           STD.ERR=  0.21 "
                "SEC\n");
  out << line;
  std::snprintf(line, sizeof line,
                "         VERT.ANG.=  89 59 12.34  RESID=  0.0012 STD.ERR="
                "%6.4f  NORM.RES=  0.41\n",
                error(random));
  out << line;
  std::snprintf(line, sizeof line,
                "         DX=%16.4f   DY=%16.4f   DZ=%16.4f\n",
                metres(random) / 3, metres(random) / 5, small(random) * 1e5);
  out << line;
  std::snprintf(line, sizeof line,
                "         RESIDUALS  VX=%8.4f  VY=%8.4f  VZ=%8.4f\n",
                small(random), small(random), small(random));
  out << line;
  out << "          ELLIPSOID HEIGHT DIFF.=      12.3456   CORR= 0.123\n"
      << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make_print_file OUTPUT MEGABYTES\n";
    return 2;
  }
  std::ofstream out(argv[1], std::ios::binary);
  const std::streamoff target = std::atol(argv[2]) * 1000000L;
  std::mt19937 random(1040);
  writeHeader(out);
  constexpr long kObservationsPerPage = 7;
  for (long index = 1; out && out.tellp() < target; ++index) {
    if (index % kObservationsPerPage == 1) {
      writePageHeading(out, index / kObservationsPerPage + 1);
    }
    writeObservation(out, random, index);
  }
  return out ? 0 : 1;
}
