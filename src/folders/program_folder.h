// Where the program keeps its files. A program run from its build folder or
// from an unpacked portable folder (recognised by help.txt lying beside the
// executable, or by the reco.dat or shezhi.ini of earlier use, so that
// deleting the manual does not move the archive) keeps reco.dat, save/ and shezhi.ini beside itself and reads
// help.txt there. An installed program cannot write beside itself: it keeps
// its files in the user's data folder $XDG_DATA_HOME/tenglan (by default
// ~/.local/share/tenglan) and reads help.txt from the installed data
// folder share/tenglan of its prefix. The desktop program and tenglan-cli
// follow the same rule.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace tl {

struct ProgramFolder {
    // reco.dat, the folder save and shezhi.ini.
    std::filesystem::path files;
    // help.txt.
    std::filesystem::path manual;
    // True for the user's data folder of an installed program, which the
    // program makes on its first start; a portable folder comes with its
    // folder save.
    bool installed = false;

    ProgramFolder() = default;
    // A portable folder: both in one.
    ProgramFolder(std::filesystem::path folder) : files(folder), manual(std::move(folder)) {}
    // An installed program's user data folder and installed manual folder.
    ProgramFolder(std::filesystem::path filesFolder, std::filesystem::path manualFolder)
        : files(std::move(filesFolder)), manual(std::move(manualFolder)), installed(true) {}
};

// The path of the running executable as the kernel gives it, byte for byte
// (a folder name need not be UTF-8); empty when it cannot be read.
std::filesystem::path RunningExecutable();

// The rule itself, without writing anything. `executable` is the program's
// path; `xdgDataHome` and `home` are the values of XDG_DATA_HOME and HOME,
// null when unset. An unset, empty or relative XDG_DATA_HOME counts as
// unset. nullopt when the program is installed and no home folder is known.
std::optional<ProgramFolder> LocateProgramFolder(const std::filesystem::path& executable, const char* xdgDataHome,
                                                 const char* home);

// The user's home folder: `homeVariable` (the value of HOME) when it is set,
// not empty and absolute, else the one the password database gives the
// user running the program (null when it gives none). An empty or relative
// HOME would put the charts wherever the program happens to be started.
const char* UserHome(const char* homeVariable);

// The first start of an installed program: when the files folder does not
// exist yet, makes it (and any missing folder above it) private to the user
// (mode 0700) with an empty folder save inside. An existing folder and a
// portable folder are left as they are. False with `error` set when a
// folder cannot be made or the name is taken by something else.
bool PrepareProgramFolder(const ProgramFolder& folder, std::string& error);

// The program folder of this process: its executable, its environment (the
// home folder as UserHome finds it), prepared by PrepareProgramFolder.
// nullopt with `error` set when there is no usable folder.
std::optional<ProgramFolder> ThisProgramFolder(std::string& error);

}  // namespace tl
