// tenglan-cli archive list [FOLDER]: the archive list of a program folder,
// line for line as the archive window shows it (each record line followed
// by an empty line). Without FOLDER the program folder of tenglan-cli, the
// same one the desktop program uses.
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>

#include "archive/list.h"
#include "cli/commands.h"
#include "folders/program_folder.h"

namespace tl::cli {

namespace {

namespace fs = std::filesystem;

int Fail(const std::string& message) {
    std::cerr << "tenglan-cli archive: " << message << "\n";
    return 2;
}

}  // namespace

int CmdArchive(const Args& args) {
    if (args.empty() || args[0] != "list" || args.size() > 2) return Fail("usage: archive list [FOLDER]");
    fs::path folder;
    if (args.size() == 2) {
        folder = fs::path(args[1]);
    } else {
        std::string error;
        const std::optional<ProgramFolder> own = ThisProgramFolder(error);
        if (!own) {
            std::cerr << "tenglan-cli archive: " << error << "\n";
            return 1;
        }
        folder = own->files;
    }
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
