// tenglan-cli archive list [FOLDER]: the archive list of a program folder,
// line for line as the archive window shows it (each record line followed
// by an empty line). Without FOLDER the program folder of tenglan-cli, the
// same one the desktop program uses.
#include <cerrno>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "archive/list.h"
#include "cli/commands.h"
#include "cli/output.h"
#include "folders/program_folder.h"
#include "files/file_io.h"

namespace tl::cli {

namespace fs = std::filesystem;

int CmdArchiveList(const std::optional<std::string>& folderArgument) {
    fs::path folder;
    if (folderArgument) {
        folder = fs::path(*folderArgument);
    } else {
        std::string error;
        const std::optional<ProgramFolder> own = ThisProgramFolder(error);
        if (!own) return Complain("archive", error, 1);
        folder = own->files;
    }
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return Complain("archive", "no such folder '" + folder.string() + "'", 2);
    const auto list = ListArchive(folder);
    if (!list) {
        const std::string recordFile = (folder / "reco.dat").string();
        if (errno == EWOULDBLOCK)
            return Complain("archive", "another tenglan is saving: '" + recordFile +
                                           "' stayed locked for " +
                                           std::to_string(kLockPatience.count() / 1000) + " seconds; try again",
                            1);
        return Complain("archive", "cannot read '" + recordFile + "'", 1);
    }
    std::string out;
    for (const ArchiveListEntry& e : *list) {
        out += e.text;
        out += '\n';
    }
    return WriteOutput(out) ? 0 : OutputFailed("archive");
}

}  // namespace tl::cli
