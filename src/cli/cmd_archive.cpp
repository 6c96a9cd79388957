// tenglan-cli archive list [FOLDER]: the archive list of a program folder,
// line for line as the archive window shows it (each record line followed
// by an empty line). Without FOLDER the folder of tenglan-cli itself.
#include <filesystem>
#include <system_error>

#include "archive/list.h"
#include "cli/commands.h"
#include "cli/output.h"

namespace tl::cli {

namespace {

namespace fs = std::filesystem;

// The folder that holds the running program.
fs::path ProgramFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path(ec) : exe.parent_path();
}

}  // namespace

int CmdArchiveList(const std::optional<std::string>& folderArgument) {
    const fs::path folder = folderArgument ? fs::path(*folderArgument) : ProgramFolder();
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return Complain("archive", "no such folder '" + folder.string() + "'", 2);
    const auto list = ListArchive(folder);
    if (!list) return Complain("archive", "cannot read '" + (folder / "reco.dat").string() + "'", 1);
    std::string out;
    for (const ArchiveListEntry& e : *list) {
        out += e.text;
        out += '\n';
    }
    return WriteOutput(out) ? 0 : OutputFailed("archive");
}

}  // namespace tl::cli
