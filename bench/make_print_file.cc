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

void writeObservation(std::ofstream& out, std::mt19937& random, long index) {
  std::uniform_real_distribution<double> metres(80.0, 400000.0);
  std::uniform_real_distribution<double> error(0.0001, 0.2);
  char line[160];
  std::snprintf(line, sizeof line,
                " OBS%6ld FROM STATION %-12s TO STATION %-12s  GPS VECTOR\n",
                index, "MT-RUBY", "BASE-2");
  out << line;
  std::snprintf(line, sizeof line,
                "         DISTANCE=     %12.3f  M    DX=%14.4f DY=%14.4f\n",
                metres(random), metres(random) / 3, metres(random) / 5);
  out << line;
  std::snprintf(line, sizeof line,
                "         VERT.ANG.=  89 59 12.34  RESID=  0.0012 STD.ERR="
                "%6.4f  NORM.RES=  0.41\n",
                error(random));
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
  for (long index = 1; out && out.tellp() < target; ++index) {
    writeObservation(out, random, index);
  }
  return out ? 0 : 1;
}
