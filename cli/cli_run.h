// ferolin-cli: runs the search over a range of center values without a window.
// stdout gets one result line per center; stderr a live progress line (on a
// terminal) and errors. Exit status: 0 done, 1 file error, 2 bad input,
// 128 + signal number when stopped by SIGINT or SIGTERM.
#pragma once

namespace ferolin::cli {

int RunCli(int argc, char** argv);

}  // namespace ferolin::cli
