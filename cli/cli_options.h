// Command-line options of ferolin-cli and their checking.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/square_model.h"

namespace ferolin::cli {

struct CliOptions {
  std::int32_t from = 1;
  std::int32_t to = 25;
  std::int32_t diagonalPasses = AllPasses;  // --count all
  std::string output;                   // empty: no records
  bool quiet = false;
  int threads = 0;                      // 0: every core the process may use
};

struct ParsedOptions {
  CliOptions options;
  int exitCode = -1;    // >= 0: stop now with this status (help, or bad input: 2)
  std::string message;  // what to print: usage on stdout, or a one-line error on stderr
};

ParsedOptions ParseCliOptions(const std::vector<std::string>& args);

// The number of cores this process may run on.
int AvailableCores();

}  // namespace ferolin::cli
