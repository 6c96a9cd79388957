#include "text/text_file.h"
#include "archive/store.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "text/gbk.h"
#include "support/child_process.h"
#include "support/temp_folder.h"

namespace tl {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

constexpr std::string_view kReport = "腾岚八字排盘系统:\r\n姓名: 张三\r\n  预测:\r\n";

ChartRecord Sample(std::string_view name) {
    ChartRecord r;
    r.name = std::string(name);
    r.sex = "男 ";
    r.place = "1北京,北京";
    r.birthDate = 31118;
    r.birthTime = 0.378472222;
    return r;
}

// A program folder as installed: the folder "save" beside reco.dat.
struct ProgramFolder : TempFolder {
    ProgramFolder() { fs::create_directory(path() / "save"); }
};

std::string Bytes(const RecordBytes& b) { return std::string(reinterpret_cast<const char*>(b.data()), b.size()); }

TEST(RecordCount, LengthOver56RoundedHalfToEven) {
    const std::pair<std::uintmax_t, std::uintmax_t> cases[] = {
        {0, 0}, {27, 0}, {28, 0}, {29, 1}, {56, 1}, {57, 1}, {83, 1}, {84, 2}, {85, 2},
        {112, 2}, {140, 2}, {141, 3}, {168, 3}, {196, 4}, {32767u * 56, 32767},
    };
    for (const auto& [length, count] : cases) EXPECT_EQ(RecordCountOfLength(length), count) << length;
}

TEST(Paths, BesideTheProgram) {
    EXPECT_EQ(RecordFilePath("/opt/tenglan"), fs::path("/opt/tenglan/reco.dat"));
    EXPECT_EQ(SavedTextPath("/opt/tenglan", 1), fs::path("/opt/tenglan/save/1.txt"));
    EXPECT_EQ(SavedTextPath("/opt/tenglan", 32767), fs::path("/opt/tenglan/save/32767.txt"));
}

TEST(SaveChart, FirstSaveInANewFolder) {
    ProgramFolder folder;
    const SaveOutcome out = SaveChart(folder.path(), Sample("张三"), kReport, 39793.5);
    EXPECT_TRUE(out.saved);
    EXPECT_EQ(out.position, 1);
    EXPECT_EQ(out.message, "文件保存成功!");
    const std::string dat = ReadBytes(folder / "reco.dat");
    ASSERT_EQ(dat.size(), 56u);
    EXPECT_EQ(dat.substr(0, 2), std::string("\0\0", 2));  // recordNumber 0
    ChartRecord expected = Sample("张三");
    expected.savedAt = 39793.5;
    EXPECT_EQ(dat, Bytes(EncodeRecord(expected)));
    // The text as GBK, CR LF kept, no byte-order mark.
    EXPECT_EQ(ReadBytes(folder.path() / "save" / "1.txt"), Utf8ToGbk(kReport));
    EXPECT_FALSE(fs::exists(folder.path() / "save" / "1.txt.part"));
}

TEST(SaveChart, DeletedRecordsKeepTheirPlace) {
    ProgramFolder folder;
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(SaveChart(folder.path(), Sample("张三"), kReport, 40000 + i).saved);
    const std::string before = ReadBytes(folder / "reco.dat");
    ASSERT_TRUE(MarkDeleted(folder.path(), 2));
    std::string after = ReadBytes(folder / "reco.dat");
    ASSERT_EQ(after.size(), 168u);
    EXPECT_EQ(ReadRecord(folder.path(), 2)->deleted, -1);
    EXPECT_EQ(after.substr(56 + 54, 2), "\xFF\xFF");
    after.replace(56 + 54, 2, before.substr(56 + 54, 2));
    EXPECT_EQ(after, before);  // nothing else changed

    const SaveOutcome out = SaveChart(folder.path(), Sample("李四"), kReport, 40010);
    EXPECT_EQ(out.position, 4);
    EXPECT_EQ(ReadRecord(folder.path(), 4)->recordNumber, 3);
    EXPECT_TRUE(fs::exists(folder.path() / "save" / "4.txt"));
    EXPECT_TRUE(fs::exists(folder.path() / "save" / "2.txt"));  // a deleted record's text stays
}

TEST(SaveChart, SaveFolderMissingLeavesRecoDatAsItWas) {
    TempFolder folder;  // no "save" folder
    // No reco.dat yet: none afterwards either.
    SaveOutcome out = SaveChart(folder.path(), Sample("张三"), kReport, 40000);
    EXPECT_FALSE(out.saved);
    EXPECT_EQ(out.message, "目录Save文件夹丢失!");
    EXPECT_FALSE(fs::exists(folder / "reco.dat"));

    // Two records already there.
    fs::create_directory(folder / "save");
    ASSERT_TRUE(SaveChart(folder.path(), Sample("张三"), kReport, 40000).saved);
    ASSERT_TRUE(SaveChart(folder.path(), Sample("李四"), kReport, 40001).saved);
    fs::remove_all(folder / "save");
    const std::string before = ReadBytes(folder / "reco.dat");
    out = SaveChart(folder.path(), Sample("王五"), kReport, 40002);
    EXPECT_FALSE(out.saved);
    EXPECT_EQ(out.message, "目录Save文件夹丢失!");
    EXPECT_EQ(ReadBytes(folder / "reco.dat"), before);
    EXPECT_FALSE(fs::exists(folder / "save"));  // never created
}

TEST(SaveChart, UndoRestoresAStrayTail) {
    // 57 bytes: one record and a stray byte, which the next record
    // overwrites. Without a save folder the text cannot be written, and
    // reco.dat stays as it was, stray byte and all.
    TempFolder folder;
    std::string bytes(57, 'x');
    WriteBytes(folder / "reco.dat", bytes);
    EXPECT_FALSE(SaveChart(folder.path(), Sample("张三"), kReport, 40000).saved);
    EXPECT_EQ(ReadBytes(folder / "reco.dat"), bytes);
    // With the folder the record goes to position 2, right after record 1.
    fs::create_directory(folder / "save");
    const SaveOutcome out = SaveChart(folder.path(), Sample("张三"), kReport, 40000);
    EXPECT_EQ(out.position, 2);
    EXPECT_EQ(ReadBytes(folder / "reco.dat").size(), 112u);
    EXPECT_EQ(ReadBytes(folder / "reco.dat").substr(0, 56), bytes.substr(0, 56));
}

// The chart and the text of save `i` of program `who`: both name the save,
// so that a record found with another program's text shows.
std::string NameOf(char who, int i) {
    std::string name(1, who);
    name += std::to_string(i);
    return name;
}
ChartRecord ChartOf(char who, int i) { return Sample(NameOf(who, i)); }
std::string TextOf(char who, int i, std::size_t padding = 200) {
    return "程序" + NameOf(who, i) + "次\r\n" + std::string(padding, '.');
}

// Saves `count` charts of program `who`; the exit status counts the saves
// that failed or did not report the position their record went to.
int SaveMany(const fs::path& folder, char who, int count) {
    int wrong = 0;
    for (int i = 0; i < count; ++i) {
        const SaveOutcome out = SaveChart(folder, ChartOf(who, i), TextOf(who, i), 40000 + i);
        const auto stored = ReadRecord(folder, out.position);
        wrong += !out.saved || !stored || stored->name.rfind(NameOf(who, i) + ' ', 0) != 0;
    }
    return std::min(wrong, 255);
}

// Which save of which program record `k` and its text hold; nothing when
// the record and the text do not agree or the record is not whole.
std::optional<std::pair<char, int>> SaveAt(const fs::path& folder, int k) {
    const auto r = ReadRecord(folder, k);
    if (!r || r->recordNumber != k - 1 || r->deleted != 0 || r->birthDate != 31118) return std::nullopt;
    const char who = r->name[0];
    const int i = std::atoi(r->name.c_str() + 1);
    const std::string name = NameOf(who, i);
    if (r->name != name + std::string(12 - name.size(), ' ') || r->savedAt != 40000 + i) return std::nullopt;
    const auto text = ReadGbkTextFile(SavedTextPath(folder, k));
    if (!text || text->rfind(TextOf(who, i, 0), 0) != 0) return std::nullopt;
    return std::pair(who, i);
}

TEST(SaveChart, TwoProgramsSavingAtOnceLoseNothing) {
    ProgramFolder folder;
    constexpr int kSaves = 300;
    const pid_t a = test::StartChild([&] { return SaveMany(folder.path(), 'A', kSaves); });
    const pid_t b = test::StartChild([&] { return SaveMany(folder.path(), 'B', kSaves); });
    EXPECT_EQ(test::WaitChild(a, std::chrono::minutes(2)), 0);
    EXPECT_EQ(test::WaitChild(b, std::chrono::minutes(2)), 0);
    // Every save is in reco.dat once, whole, with its own text.
    ASSERT_EQ(CountRecords(folder.path()), std::optional<std::uintmax_t>(2 * kSaves));
    std::set<std::pair<char, int>> found;
    for (int k = 1; k <= 2 * kSaves; ++k) {
        const auto save = SaveAt(folder.path(), k);
        ASSERT_TRUE(save.has_value()) << "record " << k;
        EXPECT_TRUE(found.insert(*save).second) << "record " << k;
    }
    EXPECT_EQ(found.size(), 2u * kSaves);
}

TEST(SaveChart, AFailingSaveTakesBackOnlyItsOwnRecord) {
    // Program A cannot write files larger than 64 KiB, and its texts are
    // larger: every save of A fails halfway through its text, while
    // program B saves beside it.
    ProgramFolder folder;
    constexpr int kSaves = 200;
    const pid_t a = test::StartChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit cap{64 << 10, 64 << 10};
        if (::setrlimit(RLIMIT_FSIZE, &cap) != 0) return 255;
        int saved = 0;
        for (int i = 0; i < kSaves; ++i) {
            const SaveOutcome out = SaveChart(folder.path(), ChartOf('A', i), TextOf('A', i, 100 << 10), 40000 + i);
            saved += out.saved || out.message.find(std::strerror(EFBIG)) == std::string::npos;
        }
        return std::min(saved, 255);
    });
    const pid_t b = test::StartChild([&] { return SaveMany(folder.path(), 'B', kSaves); });
    EXPECT_EQ(test::WaitChild(a, std::chrono::minutes(2)), 0);
    EXPECT_EQ(test::WaitChild(b, std::chrono::minutes(2)), 0);
    ASSERT_EQ(CountRecords(folder.path()), std::optional<std::uintmax_t>(kSaves));
    for (int k = 1; k <= kSaves; ++k) EXPECT_EQ(SaveAt(folder.path(), k), std::pair('B', k - 1)) << k;
}

TEST(SaveChart, AWriteFailureHalfwayLeavesRecoDatAsItWas) {
    // Files capped at a few sizes: the record or the text is cut off
    // halfway. The save is reported failed with the system's reason,
    // reco.dat keeps every byte (the stray tail included) and no text or
    // temporary file is left. A tail of more than half a record counts as a
    // third record: the new one goes past the end, and is taken back to the
    // very length found.
    const std::tuple<std::string, rlim_t, std::size_t> cases[] = {
        {"z", 130, 60}, {"z", 4096, 8192}, {std::string(29, 't'), 200, 60}};  // the record, the text cut off
    for (const auto& [tail, cap, textSize] : cases) {
        ProgramFolder folder;
        ASSERT_TRUE(SaveChart(folder.path(), Sample("张三"), kReport, 40000).saved);
        ASSERT_TRUE(SaveChart(folder.path(), Sample("李四"), kReport, 40001).saved);
        WriteBytes(folder / "reco.dat", ReadBytes(folder / "reco.dat") + tail);
        const std::string before = ReadBytes(folder / "reco.dat");
        const auto failed = test::RunInChild([&, textSize = textSize, cap = cap] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{cap, cap};
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
            const SaveOutcome out = SaveChart(folder.path(), Sample("王五"), std::string(textSize, 'x'), 40002);
            return !out.saved && out.message.find(std::strerror(EFBIG)) != std::string::npos ? 0 : 1;
        });
        EXPECT_EQ(failed, 0) << cap;
        EXPECT_EQ(ReadBytes(folder / "reco.dat"), before) << cap;
        EXPECT_EQ(std::distance(fs::directory_iterator(folder / "save"), fs::directory_iterator()), 2) << cap;
    }
}

TEST(SaveChart, EachFailureSaysWhatAndWhere) {
    // Each failure names the path at fault and the reason, leaves reco.dat
    // as it was, and once the cause is gone the next save succeeds at the
    // position the failed one would have taken.
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> breakIt, mendIt;
        std::string where;  // relative to the program folder
        std::string reason;
        bool asAnotherUser;  // root may write anywhere: the save runs as nobody
    };
    const Case cases[] = {
        {"a folder at the next text file's name",
         [](const fs::path& f) { fs::create_directories(f / "save" / "3.txt" / "inner"); },
         [](const fs::path& f) { fs::remove_all(f / "save" / "3.txt"); }, "save/3.txt", "是一个文件夹", false},
        {"a file named save",
         [](const fs::path& f) {
             fs::rename(f / "save", f / "save.kept");
             WriteBytes(f / "save", "");
         },
         [](const fs::path& f) {
             fs::remove(f / "save");
             fs::rename(f / "save.kept", f / "save");
         },
         "save", std::strerror(ENOTDIR), false},
        {"a read-only save folder", [](const fs::path& f) { fs::permissions(f / "save", fs::perms(0555)); },
         [](const fs::path& f) { fs::permissions(f / "save", fs::perms(0777)); }, "save", std::strerror(EACCES),
         true},
    };
    for (const Case& c : cases) {
        ProgramFolder folder;
        fs::permissions(folder.path(), fs::perms(0777));
        fs::permissions(folder / "save", fs::perms(0777));
        ASSERT_TRUE(SaveChart(folder.path(), Sample("张三"), kReport, 40000).saved);
        ASSERT_TRUE(SaveChart(folder.path(), Sample("李四"), kReport, 40001).saved);
        fs::permissions(folder / "reco.dat", fs::perms(0666));
        const std::string before = ReadBytes(folder / "reco.dat");
        c.breakIt(folder.path());
        const std::string expected = (folder / c.where).string();
        const auto status = test::RunInChild([&] {
            if (c.asAnotherUser && ::getuid() == 0 && ::setuid(65534) != 0) return 2;
            const SaveOutcome out = SaveChart(folder.path(), Sample("王五"), kReport, 40002);
            return !out.saved && !out.busy && out.message.find(expected) != std::string::npos &&
                           out.message.find(c.reason) != std::string::npos
                       ? 0
                       : 1;
        });
        EXPECT_EQ(status, 0) << c.what;
        EXPECT_EQ(ReadBytes(folder / "reco.dat"), before) << c.what;
        c.mendIt(folder.path());
        EXPECT_EQ(SaveChart(folder.path(), Sample("王五"), kReport, 40002).position, 3) << c.what;
    }
}

TEST(SaveChart, AHungProgramHoldingTheLockIsGivenUpOn) {
    // Another program holds reco.dat locked and does not let go: a save and
    // a listing wait a few seconds, then say so instead of hanging.
    ProgramFolder folder;
    ASSERT_TRUE(SaveChart(folder.path(), Sample("张三"), kReport, 40000).saved);
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = test::StartChild([&] {
        const FileHandle f = OpenRegularFile(folder / "reco.dat", O_RDWR);
        if (!f || ::flock(f.get(), LOCK_EX) != 0) return 1;
        if (::write(ready[1], "x", 1) != 1) return 1;
        ::pause();
        return 0;
    });
    char c;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    const auto start = std::chrono::steady_clock::now();
    const SaveOutcome out = SaveChart(folder.path(), Sample("李四"), kReport, 40001);
    EXPECT_GE(std::chrono::steady_clock::now() - start, kLockPatience);
    EXPECT_FALSE(out.saved);
    EXPECT_TRUE(out.busy);
    EXPECT_NE(out.message.find((folder / "reco.dat").string()), std::string::npos);
    EXPECT_EQ(ReadRecords(folder.path()), std::nullopt);
    EXPECT_EQ(errno, EWOULDBLOCK);
    ::kill(holder, SIGKILL);
    test::WaitChild(holder, std::chrono::seconds(5));
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_EQ(SaveChart(folder.path(), Sample("李四"), kReport, 40001).position, 2);
    EXPECT_FALSE(fs::exists(folder.path() / "save" / "3.txt"));
}

// The save the kill test cuts off: run by a second copy of this test
// program under strace, which kills it at one of its system calls. The
// marker call (sched_yield) shows where the save begins.
TEST(SaveChart, DISABLED_OneSaveToBeKilled) {
    const char* folder = std::getenv("TENGLAN_KILLED_SAVE_FOLDER");
    if (folder == nullptr) GTEST_SKIP() << "run by SaveChart.KilledAtEachStepLeavesNoRecordWithoutText";
    ::sched_yield();
    const SaveOutcome out = SaveChart(folder, ChartOf('K', 0), TextOf('K', 0), 40000);
    ::_exit(out.saved ? 0 : 1);
}

// The names of the system calls strace logged, one per line of `log`.
std::vector<std::string> CallsOf(const std::string& log) {
    std::vector<std::string> calls;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);) {
        const std::size_t open = line.find('(');
        if (open == std::string::npos || line.starts_with("---") || line.starts_with("+++")) continue;
        calls.push_back(line.substr(0, open));
    }
    return calls;
}

int RunKilledSave(const fs::path& folder, const std::string& inject, const fs::path& log) {
    const std::string command = "TENGLAN_KILLED_SAVE_FOLDER='" + folder.string() + "' strace -y -o '" + log.string() +
                                "' -e trace=%file,%desc,sched_yield " + inject + " '" +
                                fs::read_symlink("/proc/self/exe").string() +
                                "' --gtest_also_run_disabled_tests"
                                " --gtest_filter=SaveChart.DISABLED_OneSaveToBeKilled >/dev/null 2>&1";
    return std::system(command.c_str());
}

TEST(SaveChart, KilledAtEachStepLeavesNoRecordWithoutText) {
    // A save killed at each of its system calls in turn (strace kills it
    // as the call begins): afterwards every listed record has its text, and
    // the next save succeeds and leaves no temporary file behind.
    TempFolder scratch;
    if (std::system("strace -o /dev/null true >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "strace is missing or may not trace here (ptrace refused)";
    // Two charts saved before, as in every run below.
    const auto prepared = [] {
        auto folder = std::make_unique<ProgramFolder>();
        for (int i = 0; i < 2; ++i) EXPECT_TRUE(SaveChart(folder->path(), ChartOf('A', i), TextOf('A', i), 40000 + i).saved);
        return folder;
    };
    // A save run whole, to learn its system calls.
    const auto dry = prepared();
    ASSERT_EQ(RunKilledSave(dry->path(), "", scratch / "dry.log"), 0);
    const std::string dryLog = ReadBytes(scratch / "dry.log");
    const std::vector<std::string> calls = CallsOf(dryLog);
    const auto marker = std::find(calls.begin(), calls.end(), "sched_yield");
    ASSERT_NE(marker, calls.end());
    // On disk in this order: the text, its folder entry, then the record,
    // written and synced (strace -y names the file of each descriptor).
    std::vector<std::string> lines;
    std::istringstream dryLines(dryLog);
    for (std::string line; std::getline(dryLines, line);) lines.push_back(line);
    const auto first = [&lines](std::initializer_list<std::string_view> names, const fs::path& file) {
        const std::string shown = std::string(1, '<').append(file.string());
        for (std::size_t i = 0; i < lines.size(); ++i)
            for (const std::string_view name : names)
                if (lines[i].starts_with(std::string(name) + "(") && lines[i].find(shown) != std::string::npos)
                    return i;
        return lines.size();
    };
    const std::initializer_list<std::string_view> sync = {"fsync", "fdatasync"};
    const std::size_t textSynced = first(sync, dry->path() / "save" / ".3.txt.");
    const std::size_t recordWritten = first({"pwrite64", "write"}, dry->path() / "reco.dat>");
    const std::size_t recordSynced = first(sync, dry->path() / "reco.dat>");
    EXPECT_LT(textSynced, first(sync, dry->path() / "save>"));
    EXPECT_LT(first(sync, dry->path() / "save>"), recordWritten);
    EXPECT_LT(recordWritten, recordSynced);
    EXPECT_LT(recordSynced, lines.size());
    int killed = 0, textWithoutRecord = 0, recordKept = 0;
    for (auto call = marker + 1; call != calls.end(); ++call) {
        if (*call == "exit_group") break;
        // Counted from the program's start: the n-th call of this name.
        const auto n = std::count(calls.begin(), call + 1, *call);
        const auto kept = prepared();
        const ProgramFolder& folder = *kept;
        const int status = RunKilledSave(folder.path(),
                                         "-e inject=" + *call + ":signal=KILL:when=" + std::to_string(n),
                                         scratch / "killed.log");
        const std::string where = *call + " #" + std::to_string(n);
        ASSERT_NE(status, 0) << where << ": not killed";
        ++killed;
        const std::uintmax_t count = CountRecords(folder.path()).value_or(0);
        ASSERT_TRUE(count == 2 || count == 3) << where;
        recordKept += count == 3;
        textWithoutRecord += count == 2 && fs::exists(SavedTextPath(folder.path(), 3));
        for (int k = 1; k <= static_cast<int>(count); ++k)
            EXPECT_TRUE(SaveAt(folder.path(), k).has_value()) << where << ": record " << k;
        const SaveOutcome next = SaveChart(folder.path(), ChartOf('B', 0), TextOf('B', 0), 40000);
        EXPECT_TRUE(next.saved) << where;
        EXPECT_EQ(next.position, static_cast<int>(count) + 1) << where;
        EXPECT_TRUE(SaveAt(folder.path(), next.position).has_value()) << where;
        for (const auto& entry : fs::directory_iterator(folder / "save"))
            EXPECT_FALSE(IsTemporaryName(entry.path().filename().string())) << where << ": " << entry.path();
    }
    // The kills fell before, between and after the two writes.
    EXPECT_GE(killed, 12);
    EXPECT_GT(textWithoutRecord, 0);
    EXPECT_GT(recordKept, 0);
}

TEST(SaveChart, ReplacesAStaleTextFileOfTheSameName) {
    ProgramFolder folder;
    WriteBytes(folder.path() / "save" / "1.txt", "old text that is longer than the new one...................");
    ASSERT_TRUE(SaveChart(folder.path(), Sample("张三"), "新", 40000).saved);
    EXPECT_EQ(ReadBytes(folder.path() / "save" / "1.txt"), Utf8ToGbk("新"));
}

TEST(AppendRecord, AFileOf32767RecordsIsFull) {
    TempFolder folder;
    WriteBytes(folder / "reco.dat", "");
    fs::resize_file(folder / "reco.dat", 32766u * 56);
    EXPECT_EQ(AppendRecord(folder.path(), Sample("张三"), 40000), 32767);
    EXPECT_EQ(ReadRecord(folder.path(), 32767)->recordNumber, 32766);
    const std::string full = ReadBytes(folder / "reco.dat");
    EXPECT_EQ(AppendRecord(folder.path(), Sample("张三"), 40000), std::nullopt);
    fs::create_directory(folder / "save");
    const SaveOutcome out = SaveChart(folder.path(), Sample("张三"), kReport, 40000);
    EXPECT_FALSE(out.saved);
    EXPECT_NE(out.message.find("存档已满"), std::string::npos);
    EXPECT_NE(out.message.find("32767"), std::string::npos);
    EXPECT_EQ(ReadBytes(folder / "reco.dat"), full);
    EXPECT_FALSE(fs::exists(folder.path() / "save" / "32768.txt"));
}

TEST(AppendRecord, AHalfRecordCountsAsARecord) {
    // 84 bytes hold 1.5 records, counted as 2: the next record goes to
    // position 3 and the half record stays as it was.
    TempFolder folder;
    const std::string bytes(84, 'y');
    WriteBytes(folder / "reco.dat", bytes);
    EXPECT_EQ(AppendRecord(folder.path(), Sample("张三"), 40000), 3);
    const std::string after = ReadBytes(folder / "reco.dat");
    ASSERT_EQ(after.size(), 168u);
    EXPECT_EQ(after.substr(0, 84), bytes);
    EXPECT_EQ(after.substr(84, 28), std::string(28, '\0'));
}

TEST(Store, AnEmptyFile) {
    TempFolder folder;
    WriteBytes(folder / "reco.dat", "");
    EXPECT_EQ(CountRecords(folder.path()), 0u);
    EXPECT_TRUE(ReadRecords(folder.path())->empty());
    EXPECT_EQ(ReadRecord(folder.path(), 1), std::nullopt);
    EXPECT_FALSE(MarkDeleted(folder.path(), 1));
    EXPECT_EQ(ReadBytes(folder / "reco.dat"), "");
    EXPECT_EQ(AppendRecord(folder.path(), Sample("张三"), 40000), 1);
}

TEST(Store, NoRecordFile) {
    TempFolder folder;
    EXPECT_EQ(CountRecords(folder.path()), 0u);
    EXPECT_TRUE(ReadRecords(folder.path())->empty());
    EXPECT_FALSE(MarkDeleted(folder.path(), 1));
    EXPECT_FALSE(fs::exists(folder / "reco.dat"));
    EXPECT_EQ(CountRecords(folder / "no such folder"), 0u);
    EXPECT_EQ(AppendRecord(folder / "no such folder", Sample("张三"), 40000), std::nullopt);
}

TEST(Store, ARecordFileThatIsNoRegularFile) {
    // A folder or a named pipe is unusable, and is never waited on.
    for (const bool pipe : {false, true}) {
        ProgramFolder folder;
        if (pipe) ASSERT_EQ(::mkfifo((folder / "reco.dat").c_str(), 0600), 0);
        else fs::create_directory(folder / "reco.dat");
        EXPECT_EQ(ReadRecords(folder.path()), std::nullopt);
        EXPECT_EQ(ReadRecord(folder.path(), 1), std::nullopt);
        EXPECT_EQ(AppendRecord(folder.path(), Sample("张三"), 40000), std::nullopt);
        EXPECT_FALSE(MarkDeleted(folder.path(), 1));
        EXPECT_FALSE(SaveChart(folder.path(), Sample("张三"), kReport, 40000).saved);
        EXPECT_EQ(fs::is_fifo(folder / "reco.dat"), pipe);
    }
}

TEST(Store, FiftySevenBytes) {
    TempFolder folder;
    ChartRecord r = Sample("张三");
    const std::string bytes = Bytes(EncodeRecord(r)) + "z";
    WriteBytes(folder / "reco.dat", bytes);
    EXPECT_EQ(CountRecords(folder.path()), 1u);
    const auto records = ReadRecords(folder.path());
    ASSERT_EQ(records->size(), 1u);
    EXPECT_EQ((*records)[0].name, "张三        ");
    EXPECT_FALSE(MarkDeleted(folder.path(), 2));
    EXPECT_EQ(ReadBytes(folder / "reco.dat"), bytes);
}

TEST(Store, TenMegabytesOfRandomBytes) {
    TempFolder folder;
    std::mt19937 rng(11);
    std::string bytes(10u << 20, '\0');
    for (char& c : bytes) c = static_cast<char>(rng());
    WriteBytes(folder / "reco.dat", bytes);
    EXPECT_EQ(CountRecords(folder.path()), 187246u);  // 10,485,760 / 56 = 187,245.71
    // Only the positions a 16-bit number can name are read.
    const auto records = ReadRecords(folder.path());
    ASSERT_TRUE(records.has_value());
    EXPECT_EQ(records->size(), 32767u);
    EXPECT_TRUE(ReadRecord(folder.path(), 32767).has_value());
    EXPECT_FALSE(ReadRecord(folder.path(), 32768).has_value());
    EXPECT_FALSE(MarkDeleted(folder.path(), 40000));
    EXPECT_EQ(AppendRecord(folder.path(), Sample("张三"), 40000), std::nullopt);
    EXPECT_TRUE(ReadBytes(folder / "reco.dat") == bytes);
}

TEST(Store, ReadsPartialLastRecordAsZeros) {
    TempFolder folder;
    const std::string bytes = Bytes(EncodeRecord(Sample("张三"))) + std::string(30, '\x01');
    WriteBytes(folder / "reco.dat", bytes);  // 86 bytes: 2 records
    const auto r = ReadRecord(folder.path(), 2);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->recordNumber, 0x0101);
    EXPECT_EQ(r->birthDate, 0);  // bytes past the end read as zero
    EXPECT_EQ(r->deleted, 0);
}

TEST(Store, MarkDeletedOutsideTheFileChangesNothing) {
    ProgramFolder folder;
    for (int i = 0; i < 2; ++i) ASSERT_TRUE(SaveChart(folder.path(), Sample("张三"), kReport, 40000).saved);
    const std::string before = ReadBytes(folder / "reco.dat");
    for (int k : {-1, 0, 3, 32767, 32768}) EXPECT_FALSE(MarkDeleted(folder.path(), k)) << k;
    EXPECT_EQ(ReadBytes(folder / "reco.dat"), before);
    for (int k : {1, 2}) EXPECT_TRUE(MarkDeleted(folder.path(), k)) << k;
}

TEST(GbkTextFile, ReadAndWrite) {
    TempFolder folder;
    EXPECT_EQ(ReadGbkTextFile(folder / "missing.txt"), std::nullopt);
    EXPECT_EQ(ReadGbkTextFile(folder.path()), std::nullopt);  // a folder is no text file
    ASSERT_TRUE(WriteGbkTextFile(folder / "a.txt", "第一行\r\n第二行"));
    EXPECT_EQ(ReadBytes(folder / "a.txt"), Utf8ToGbk("第一行\r\n第二行"));
    EXPECT_EQ(ReadGbkTextFile(folder / "a.txt"), "第一行\r\n第二行");
    WriteBytes(folder / "bad.txt", "ok\xFF");
    EXPECT_EQ(ReadGbkTextFile(folder / "bad.txt"), "ok\xEF\xBF\xBD");
    EXPECT_FALSE(WriteGbkTextFile(folder / "missing folder" / "a.txt", "x"));
    ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
    EXPECT_EQ(ReadGbkTextFile(folder / "pipe"), std::nullopt);
}

std::uint64_t CountingNumbers() {
    static std::uint64_t n = 0;
    return ++n;
}

TEST(ReplaceFile, DoesNotFollowALinkPlantedAtItsTemporaryName) {
    // Links planted at the very names the replace is going to try first,
    // pointing at a file of the user's: the replace goes on to a fresh name
    // and the user's file keeps its content.
    for (const ExistingFile existing : {ExistingFile::kReplace, ExistingFile::kKeep}) {
        TempFolder folder;
        WriteBytes(folder / "victim", "keep me");
        SetTemporaryNumberSource(&CountingNumbers);
        const std::uint64_t next = CountingNumbers() + 1;
        for (std::uint64_t n = next; n < next + 3; ++n)
            fs::create_symlink(folder / "victim", TemporaryPath(folder / "1.txt", n));
        const bool written = WriteGbkTextFile(folder / "1.txt", kReport, existing);
        SetTemporaryNumberSource(nullptr);
        ASSERT_TRUE(written);
        EXPECT_EQ(ReadBytes(folder / "victim"), "keep me");
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(folder / "1.txt")));
        EXPECT_EQ(ReadBytes(folder / "1.txt"), Utf8ToGbk(kReport));
        EXPECT_TRUE(fs::is_symlink(TemporaryPath(folder / "1.txt", next)));
    }
}

TEST(GbkTextFile, AFileWithOtherHardLinksIsWrittenInPlace) {
    // Both names keep sharing one file, which holds the new text; the
    // permission bits stay and no temporary file is left.
    TempFolder folder;
    WriteBytes(folder / "a.txt", "old text, longer than the new one");
    fs::permissions(folder / "a.txt", fs::perms(0640));
    fs::create_hard_link(folder / "a.txt", folder / "b.txt");
    ASSERT_TRUE(WriteGbkTextFile(folder / "a.txt", "新"));
    EXPECT_EQ(ReadBytes(folder / "b.txt"), Utf8ToGbk("新"));
    EXPECT_EQ(fs::hard_link_count(folder / "a.txt"), 2u);
    EXPECT_EQ(fs::status(folder / "a.txt").permissions() & fs::perms::all, fs::perms(0640));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 2);
}

TEST(GbkTextFile, OverwritingKeepsTheFileAsATextEditorDoes) {
    // A private file stays private; a link keeps pointing at its target,
    // which gets the new text and keeps its permission bits.
    TempFolder folder;
    WriteBytes(folder / "private.txt", "old");
    fs::permissions(folder / "private.txt", fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(WriteGbkTextFile(folder / "private.txt", "新"));
    EXPECT_EQ(ReadBytes(folder / "private.txt"), Utf8ToGbk("新"));
    EXPECT_EQ(fs::status(folder / "private.txt").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);

    fs::create_directory(folder / "real");
    WriteBytes(folder / "real" / "target.txt", "old");
    fs::permissions(folder / "real" / "target.txt", fs::perms::owner_all | fs::perms::group_read);
    fs::create_symlink("real/target.txt", folder / "link.txt");
    ASSERT_TRUE(WriteGbkTextFile(folder / "link.txt", "新"));
    EXPECT_TRUE(fs::is_symlink(folder / "link.txt"));
    EXPECT_EQ(ReadBytes(folder / "real" / "target.txt"), Utf8ToGbk("新"));
    EXPECT_EQ(fs::status(folder / "real" / "target.txt").permissions() & fs::perms::all,
              fs::perms::owner_all | fs::perms::group_read);
    // Only the two files and the link: no temporary file left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 3);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "real"), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace tl
