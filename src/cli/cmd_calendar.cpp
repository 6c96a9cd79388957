#include <iostream>

#include "cli/commands.h"

namespace tl::cli {

// Not built yet.
int CmdCalendar(const Args&) {
    std::cerr << "tenglan-cli calendar: not available yet\n";
    return 2;
}

}  // namespace tl::cli
