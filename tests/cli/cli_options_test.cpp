#include "cli/cli_options.h"

#include <gtest/gtest.h>

#include "cli/progress_line.h"

namespace ferolin::cli {
namespace {

TEST(CliOptions, DefaultsAndAcceptedValues) {
  const ParsedOptions d = ParseCliOptions({});
  EXPECT_EQ(d.exitCode, -1);
  EXPECT_EQ(d.options.from, 1);
  EXPECT_EQ(d.options.to, 25);
  EXPECT_EQ(d.options.diagonalPasses, 12);
  EXPECT_EQ(d.options.output, "");
  EXPECT_FALSE(d.options.quiet);
  EXPECT_GE(d.options.threads, 1);

  const ParsedOptions p = ParseCliOptions(
      {"--from", "13", "--to", "13", "--count", "1/4", "--output", "o.txt", "--quiet", "--threads", "3"});
  EXPECT_EQ(p.exitCode, -1) << p.message;
  EXPECT_EQ(p.options.from, 13);
  EXPECT_EQ(p.options.to, 13);
  EXPECT_EQ(p.options.diagonalPasses, 3);
  EXPECT_EQ(p.options.output, "o.txt");
  EXPECT_TRUE(p.options.quiet);
  EXPECT_EQ(p.options.threads, 3);

  EXPECT_EQ(ParseCliOptions({"--help"}).exitCode, 0);
}

TEST(ProgressLine, ShowsShareSquaresAndTimeLeft) {
  ProgressSnapshot p;
  p.center = 13;
  p.centerTriplesDone = 115339;
  p.centerTriplesTotal = 1153392;
  p.centerSquares = 1234567;
  p.runTriplesDone = 1000;
  p.runTriplesTotal = 4000;
  p.elapsedSeconds = 12;
  EXPECT_EQ(FormatProgressLine(p),
            "Center 13  triples 115339/1153392 (10.0%)  squares 1234567  elapsed 0:12  left 0:36");
  p.runTriplesDone = 0;
  EXPECT_NE(FormatProgressLine(p).find("left ?"), std::string::npos);
  EXPECT_EQ(FormatDuration(3723.4), "1:02:03");
  EXPECT_EQ(FormatDuration(59.6), "1:00");
}

}  // namespace
}  // namespace ferolin::cli
