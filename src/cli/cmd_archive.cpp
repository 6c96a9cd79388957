#include <iostream>

#include "cli/commands.h"

namespace tl::cli {

// Not built yet.
int CmdArchive(const Args&) {
    std::cerr << "tenglan-cli archive: not available yet\n";
    return 2;
}

}  // namespace tl::cli
