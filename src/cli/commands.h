// The subcommands of tenglan-cli. Each takes the arguments after its name
// and returns the process exit status.
#pragma once

#include <string>
#include <vector>

namespace tl::cli {

using Args = std::vector<std::string>;

int CmdChart(const Args& args);
int CmdBatch(const Args& args);
int CmdPlaces(const Args& args);
int CmdCalendar(const Args& args);
int CmdArchive(const Args& args);

}  // namespace tl::cli
