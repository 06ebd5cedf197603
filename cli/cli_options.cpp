#include "cli/cli_options.h"

#include <sched.h>

#include <CLI/CLI.hpp>

#include "engine/square_model.h"

namespace ferolin::cli {

ParsedOptions ParseCliOptions(const std::vector<std::string>& args) {
  ParsedOptions out;
  CliOptions& o = out.options;
  CLI::App app{"Enumerates the magic squares of order 5, one center value at a time.",
               "ferolin-cli"};
  std::string count = "all";
  app.add_option("--from", o.from, "first center value, 1 to 25 (default 1)")
      ->type_name("N")->check(CLI::Range(1, 25));
  app.add_option("--to", o.to, "last center value, 1 to 25 (default 25)")
      ->type_name("N")->check(CLI::Range(1, 25));
  app.add_option("--count", count,
                 "all: every square, once up to rotation and reflection; 1/4: the first "
                 "3 of the 12 main-diagonal arrangements (default all)")
      ->type_name("all|1/4")->check(CLI::IsMember({"all", "1/4"}));
  app.add_option("--output", o.output,
                 "write every square to FILE; an existing file is first renamed to its "
                 ".BAK name beside it")
      ->type_name("FILE");
  app.add_option("--threads", o.threads, "search threads (default: every available core)")
      ->type_name("N")->check(CLI::Range(1, 1024));
  app.add_flag("--quiet", o.quiet, "no progress line on stderr");

  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    out.exitCode = 0;
    out.message = app.help();
    return out;
  } catch (const CLI::ParseError& e) {
    out.exitCode = 2;
    out.message = std::string("ferolin-cli: ") + e.what();
    return out;
  }
  o.diagonalPasses = count == "1/4" ? QuarterPasses : AllPasses;
  if (o.to < o.from) {
    out.exitCode = 2;
    out.message = "ferolin-cli: --to " + std::to_string(o.to) + " is below --from " +
                  std::to_string(o.from) + "; the range must run upwards";
    return out;
  }
  if (o.threads == 0) o.threads = AvailableCores();
  return out;
}

int AvailableCores() {
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof set, &set) == 0) {
    const int n = CPU_COUNT(&set);
    if (n > 0) return n;
  }
  return 1;
}

}  // namespace ferolin::cli
