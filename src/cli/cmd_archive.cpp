// tenglan-cli archive list [FOLDER]: the archive list of a program folder,
// line for line as the archive window shows it (each record line followed
// by an empty line). Without FOLDER the folder of tenglan-cli itself.
#include <filesystem>
#include <iostream>
#include <system_error>

#include "archive/list.h"
#include "cli/commands.h"

namespace tl::cli {

namespace {

namespace fs = std::filesystem;

int Fail(const std::string& message) {
    std::cerr << "tenglan-cli archive: " << message << "\n";
    return 2;
}

// The folder that holds the running program.
fs::path ProgramFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path(ec) : exe.parent_path();
}

}  // namespace

int CmdArchive(const Args& args) {
    if (args.empty() || args[0] != "list" || args.size() > 2) return Fail("usage: archive list [FOLDER]");
    const fs::path folder = args.size() == 2 ? fs::path(args[1]) : ProgramFolder();
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return Fail("no such folder '" + folder.string() + "'");
    const auto list = ListArchive(folder);
    if (!list) {
        std::cerr << "tenglan-cli archive: cannot read '" << (folder / "reco.dat").string() << "'\n";
        return 1;
    }
    for (const ArchiveListEntry& e : *list) std::cout << e.text << "\n";
    return 0;
}

}  // namespace tl::cli
