#include <iostream>

#include "cli/commands.h"

namespace tl::cli {

// Not built yet.
int CmdPlaces(const Args&) {
    std::cerr << "tenglan-cli places: not available yet\n";
    return 2;
}

}  // namespace tl::cli
