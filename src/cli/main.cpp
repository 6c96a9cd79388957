// tenglan-cli: the chart engine, places, calendar and archive on the command
// line.
#include "cli/command_line.h"

int main(int argc, char** argv) { return tl::cli::RunCommandLine(argc, argv); }
