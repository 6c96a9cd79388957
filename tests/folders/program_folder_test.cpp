#include "folders/program_folder.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <string>

#include "support/temp_folder.h"

namespace tl {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;
using test::WriteBytes;

// 八字 in GBK: a folder name that is not UTF-8, as unpacked from a Chinese
// archive.
const std::string kGbkName = "\xB0\xCB\xD7\xD6";

TEST(ProgramFolder, PortableWhenHelpLiesBesideTheExecutable) {
    TempFolder root;
    for (const fs::path& dir : {root.path(), root / kGbkName}) {
        fs::create_directories(dir);
        WriteBytes(dir / "help.txt", "manual");
        const std::optional<ProgramFolder> f = LocateProgramFolder(dir / "tenglan", "/xdg", "/home/u");
        ASSERT_TRUE(f);
        EXPECT_EQ(f->files.native(), dir.native());
        EXPECT_EQ(f->manual.native(), dir.native());
        EXPECT_FALSE(f->installed);
        // A portable folder comes with its folder save: none is made.
        std::string error;
        EXPECT_TRUE(PrepareProgramFolder(*f, error));
        EXPECT_FALSE(fs::exists(dir / "save"));
    }
    // A portable folder whose manual was deleted stays the program folder
    // as long as it holds the archive or the settings.
    for (const char* kept : {"reco.dat", "shezhi.ini"}) {
        TempFolder used;
        WriteBytes(used / kept, "");
        const std::optional<ProgramFolder> f = LocateProgramFolder(used / "tenglan", "/xdg", "/home/u");
        ASSERT_TRUE(f);
        EXPECT_EQ(f->files, used.path()) << kept;
        EXPECT_FALSE(f->installed) << kept;
    }
    // A folder named help.txt is no manual.
    TempFolder other;
    fs::create_directory(other / "help.txt");
    EXPECT_TRUE(LocateProgramFolder(other / "tenglan", "/xdg", nullptr)->installed);
}

TEST(ProgramFolder, InstalledUsesTheUserDataFolderAndTheInstalledManual) {
    TempFolder root;
    const fs::path exe = root / "usr" / "bin" / "tenglan";
    fs::create_directories(exe.parent_path());
    const fs::path manual = root / "usr" / "share" / "tenglan";
    const std::string gbkHome = "/home/" + kGbkName;
    struct Case {
        const char* xdg;
        const char* home;
        std::optional<fs::path> files;
    };
    const Case cases[] = {
        {"/data/x", "/home/u", fs::path("/data/x/tenglan")},
        {"/data/x/", nullptr, fs::path("/data/x/tenglan")},
        {nullptr, "/home/u", fs::path("/home/u/.local/share/tenglan")},
        {"", "/home/u", fs::path("/home/u/.local/share/tenglan")},
        {"relative/data", "/home/u", fs::path("/home/u/.local/share/tenglan")},
        {nullptr, gbkHome.c_str(), fs::path(gbkHome + "/.local/share/tenglan")},
        {nullptr, nullptr, std::nullopt},
        {nullptr, "", std::nullopt},
        {"relative", "also/relative", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.xdg ? c.xdg : "(unset)") + " " + (c.home ? c.home : "(unset)"));
        const std::optional<ProgramFolder> f = LocateProgramFolder(exe, c.xdg, c.home);
        ASSERT_EQ(f.has_value(), c.files.has_value());
        if (!f) continue;
        EXPECT_EQ(f->files, *c.files);
        EXPECT_EQ(f->manual, manual);
        EXPECT_TRUE(f->installed);
    }
    // An installed program in a folder whose name is GBK bytes finds its
    // manual byte for byte.
    const fs::path gbkExe = root / kGbkName / "bin" / "tenglan-cli";
    EXPECT_EQ(LocateProgramFolder(gbkExe, "/d", nullptr)->manual.native(),
              (root / kGbkName / "share" / "tenglan").native());
}

TEST(ProgramFolder, AnEmptyOrRelativeHomeGivesWayToThePasswordDatabase) {
    const passwd* entry = ::getpwuid(::getuid());
    const std::string own = entry != nullptr ? entry->pw_dir : "";
    for (const char* home : {static_cast<const char*>(nullptr), "", "relative", "./x"})
        EXPECT_EQ(std::string(UserHome(home) ? UserHome(home) : ""), own) << (home ? home : "(unset)");
    EXPECT_STREQ(UserHome("/home/u"), "/home/u");
}

TEST(ProgramFolder, FirstStartMakesAPrivateFolderWithAnEmptySave) {
    TempFolder root;
    const ProgramFolder f(root / "home" / ".local" / "share" / "tenglan", root / "share");
    std::string error;
    ASSERT_TRUE(PrepareProgramFolder(f, error)) << error;
    EXPECT_TRUE(fs::is_directory(f.files / "save"));
    EXPECT_TRUE(fs::is_empty(f.files / "save"));
    struct stat st {};
    ASSERT_EQ(::stat(f.files.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_EQ(::stat((root / "home" / ".local").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_FALSE(fs::exists(f.manual));

    // Later starts leave the user's files alone, even a removed save.
    WriteBytes(f.files / "reco.dat", std::string(56, 'x'));
    fs::remove(f.files / "save");
    ASSERT_TRUE(PrepareProgramFolder(f, error)) << error;
    EXPECT_EQ(fs::file_size(f.files / "reco.dat"), 56u);
    EXPECT_FALSE(fs::exists(f.files / "save"));

    // A file where the folder belongs, or above it, is reported.
    WriteBytes(root / "taken", "");
    for (const fs::path& files : {root / "taken", root / "taken" / "tenglan"}) {
        error.clear();
        EXPECT_FALSE(PrepareProgramFolder(ProgramFolder(files, root.path()), error));
        EXPECT_NE(error.find("taken"), std::string::npos) << error;
    }
}

TEST(ProgramFolder, RunningExecutableIsThisProgram) {
    EXPECT_EQ(RunningExecutable().filename(), "tenglan_tests");
}

}  // namespace
}  // namespace tl
