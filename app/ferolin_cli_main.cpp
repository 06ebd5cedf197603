// Entry point of the headless front end.
#include "cli/cli_run.h"

int main(int argc, char** argv) { return ferolin::cli::RunCli(argc, argv); }
