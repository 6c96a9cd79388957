// The command line of tenglan-cli: its commands, their options and
// positionals with their types, ranges and help.
#pragma once

namespace tl::cli {

// Reads the command line and runs the command it names; returns the exit
// status. A bad command line gets one line on stderr that names the option
// and what it takes, and status 2; `--help` (or `-h`) prints the overview of
// the commands, and after a command that command's help.
int RunCommandLine(int argc, char** argv);

}  // namespace tl::cli
