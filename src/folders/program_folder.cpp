#include "folders/program_folder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <vector>

namespace tl {

namespace {

namespace fs = std::filesystem;

// The folder of the user's files below the user's data folder.
constexpr const char* kDataName = "tenglan";

// An environment value that names a folder: set, not empty and absolute.
std::optional<fs::path> AbsoluteFolder(const char* value) {
    if (value == nullptr || *value == '\0') return std::nullopt;
    fs::path folder(value);
    if (!folder.is_absolute()) return std::nullopt;
    return folder;
}

// The home folder of the user running the program from the password
// database, for a process started without a usable HOME.
const char* PasswordHome() {
    const passwd* entry = ::getpwuid(::getuid());
    return entry != nullptr ? entry->pw_dir : nullptr;
}

// Makes one folder, private to the user; true when it exists afterwards as a
// folder.
bool MakeFolder(const fs::path& folder, std::string& error) {
    std::error_code ec;
    if (fs::is_directory(folder, ec)) return true;
    if (::mkdir(folder.c_str(), 0700) == 0 || (errno == EEXIST && fs::is_directory(folder, ec))) return true;
    error = "cannot make the folder '" + folder.string() + "': " + std::strerror(errno);
    return false;
}

}  // namespace

fs::path RunningExecutable() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : exe;
}

std::optional<ProgramFolder> LocateProgramFolder(const fs::path& executable, const char* xdgDataHome,
                                                 const char* home) {
    const fs::path beside = executable.parent_path();
    std::error_code ec;
    // A folder that already holds the archive or the settings stays the
    // program folder when its manual is deleted: the user's charts must not
    // seem gone.
    if (!executable.empty())
        for (const char* name : {"help.txt", "reco.dat", "shezhi.ini"})
            if (fs::is_regular_file(beside / name, ec)) return ProgramFolder(beside);

    fs::path data;
    if (const std::optional<fs::path> xdg = AbsoluteFolder(xdgDataHome)) data = *xdg;
    else if (const std::optional<fs::path> h = AbsoluteFolder(home)) data = *h / ".local" / "share";
    else return std::nullopt;
    const fs::path files = (data / kDataName).lexically_normal();
    // Without a known executable there is no installed data folder to find:
    // the manual is looked for among the user's files.
    if (executable.empty()) return ProgramFolder(files, files);
    return ProgramFolder(files, (beside / TENGLAN_MANUAL_FROM_BINDIR).lexically_normal());
}

const char* UserHome(const char* homeVariable) {
    return AbsoluteFolder(homeVariable) ? homeVariable : PasswordHome();
}

bool PrepareProgramFolder(const ProgramFolder& folder, std::string& error) {
    std::error_code ec;
    if (!folder.installed) return true;
    if (fs::is_directory(folder.files, ec)) return true;
    if (fs::exists(fs::symlink_status(folder.files, ec))) {
        error = "not a folder: '" + folder.files.string() + "'";
        return false;
    }
    // Each missing folder on the way down is made, so that a fresh account
    // without ~/.local/share works too.
    std::vector<fs::path> missing;
    for (fs::path p = folder.files; !p.empty() && !fs::exists(p, ec); p = p.parent_path()) {
        missing.push_back(p);
        if (p == p.parent_path()) break;
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it)
        if (!MakeFolder(*it, error)) return false;
    return MakeFolder(folder.files / "save", error);
}

std::optional<ProgramFolder> ThisProgramFolder(std::string& error) {
    std::optional<ProgramFolder> folder =
        LocateProgramFolder(RunningExecutable(), std::getenv("XDG_DATA_HOME"), UserHome(std::getenv("HOME")));
    if (!folder) {
        error = "no home folder to keep the charts in (HOME is not set)";
        return std::nullopt;
    }
    if (!PrepareProgramFolder(*folder, error)) return std::nullopt;
    return folder;
}

}  // namespace tl
