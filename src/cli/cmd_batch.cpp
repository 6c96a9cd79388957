#include <iostream>

#include "cli/commands.h"

namespace tl::cli {

// Not built yet.
int CmdBatch(const Args&) {
    std::cerr << "tenglan-cli batch: not available yet\n";
    return 2;
}

}  // namespace tl::cli
