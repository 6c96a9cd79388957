#include "place/daylight_saving.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>

#include "place/zone_clock.h"
#include "support/child_process.h"
#include "support/temp_folder.h"

namespace tl {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

const fs::path kSystemZone = "/usr/share/zoneinfo/Asia/Shanghai";

TEST(LoadZone, ADamagedOrMissingZoneIsUnknownNeverACrashOrAHang) {
    // A zone root of the test's own: the real zone file, and in its place a
    // corrupt one, a cut-off one, damaged copies, a named pipe, a folder, and
    // none at all. Each is loaded in a child
    // process under a time limit.
    const std::string real = ReadBytes(kSystemZone);
    if (real.size() < 44) GTEST_SKIP() << "no zone Asia/Shanghai in the system's time-zone database";
    // Copies of the real zone with one field of its 64-bit block set just
    // past what the format allows: a type index equal to the count of types,
    // a transition time equal to the one before, an offset of exactly
    // −25 h or +26 h.
    const auto count = [&](std::size_t at) {
        return (static_cast<unsigned char>(real[at]) << 24) | (static_cast<unsigned char>(real[at + 1]) << 16) |
               (static_cast<unsigned char>(real[at + 2]) << 8) | static_cast<unsigned char>(real[at + 3]);
    };
    const std::size_t v1 = 5u * count(32) + 6u * count(36) + count(40) + 8u * count(28) + count(24) + count(20);
    const std::size_t second = 44 + v1;
    const std::size_t transitions = count(second + 32);
    ASSERT_GT(transitions, 1u);
    const std::size_t types = second + 44 + 9 * transitions;  // each: offset (4), dst, abbreviation index
    const auto patched = [&](std::size_t at, std::string bytes) {
        std::string copy = real;
        copy.replace(at, bytes.size(), bytes);
        return copy;
    };
    const auto be32 = [](int v) {
        const auto u = static_cast<std::uint32_t>(v);
        return std::string{static_cast<char>(u >> 24), static_cast<char>(u >> 16), static_cast<char>(u >> 8),
                           static_cast<char>(u)};
    };
    const std::string badIndex =
        patched(second + 44 + 8 * transitions, std::string(1, static_cast<char>(count(second + 36))));
    const std::string sameTime = patched(second + 52, real.substr(second + 44, 8));
    const std::string offsetLow = patched(types, be32(-25 * 3600));
    const std::string offsetHigh = patched(types, be32(26 * 3600));
    const struct {
        const char* what;
        std::function<void(const fs::path&)> plant;
        bool loads;
        const char* reason;
    } cases[] = {
        {"the real zone", [&](const fs::path& p) { WriteBytes(p, real); }, true, ""},
        {"corrupt", [](const fs::path& p) { WriteBytes(p, "garbage garbage garbage garbage garbage garbage"); }, false,
         "not a valid time-zone file"},
        {"cut off", [&](const fs::path& p) { WriteBytes(p, real.substr(0, 100)); }, false,
         "not a valid time-zone file"},
        {"a type index past its types", [&](const fs::path& p) { WriteBytes(p, badIndex); }, false,
         "not a valid time-zone file"},
        {"two changes at one time", [&](const fs::path& p) { WriteBytes(p, sameTime); }, false,
         "not a valid time-zone file"},
        {"an offset of -25 h", [&](const fs::path& p) { WriteBytes(p, offsetLow); }, false,
         "not a valid time-zone file"},
        {"an offset of +26 h", [&](const fs::path& p) { WriteBytes(p, offsetHigh); }, false,
         "not a valid time-zone file"},
        {"a named pipe", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }, false,
         "not a regular file"},
        {"a folder", [](const fs::path& p) { fs::create_directory(p); }, false, "not a regular file"},
        {"missing", [](const fs::path&) {}, false, "No such file or directory"},
    };
    int index = 0;
    for (const auto& c : cases) {
        TempFolder root;
        fs::create_directories(root / "Asia");
        c.plant(root / "Asia" / "Shanghai");
        // The same under a zone name no other test reads, for the clock
        // reading through the database folder $TZDIR.
        const std::string zone = "Test/Zone" + std::to_string(++index);
        fs::create_directories(root / "Test");
        c.plant(root / zone);
        const auto status = test::RunInChild([&] {
            ::setenv("TZDIR", root.path().c_str(), 1);
            const auto clock = ReadClock(zone, {1988, 6, 15}, TimeOfDay::Hms(13, 30));
            if (clock.has_value() != c.loads || ZoneKnown(zone) != c.loads) return 4;
            if (!c.loads && (ZoneProblem(zone).find((root / zone).string()) == std::string::npos ||
                             ZoneProblem(zone).find(c.reason) == std::string::npos))
                return 5;
            if (c.loads) {
                // Before the zone's first change the clock kept local mean
                // time, UTC+8:05:43.
                const auto early = ReadClock(zone, {1900, 3, 1}, TimeOfDay::Hms(12, 0));
                if (clock->utcOffsetSeconds != 9 * 3600 || clock->standardOffsetSeconds != 8 * 3600 ||
                    !clock->daylightSaving || !early || !early->localMeanTime || early->utcOffsetSeconds != 29143)
                    return 6;
            }
            std::string error;
            const auto rules = LoadZone(root.path(), "Asia/Shanghai", error);
            if (rules.has_value() != c.loads) return 1;
            if (!c.loads)
                return error.find((root / "Asia" / "Shanghai").string()) != std::string::npos &&
                               error.find(c.reason) != std::string::npos
                           ? 0
                           : 2;
            // 1988-06-15 13:30 was daylight saving time, one hour ahead.
            const auto summer = ReadClockIn(*rules, {1988, 6, 15}, TimeOfDay::Hms(13, 30));
            return summer && summer->daylightSaving && summer->DaylightSavingSeconds() == 3600 ? 0 : 3;
        });
        EXPECT_EQ(status, 0) << c.what;
    }
}

TEST(ParseZoneFile, DamagedCopiesOfARealZoneNeverCrash) {
    // Bytes of the real zone changed at random, and cut off at every
    // length: each is read or refused, and what is read answers.
    const std::string real = ReadBytes(kSystemZone);
    if (real.size() < 44) GTEST_SKIP() << "no zone Asia/Shanghai in the system's time-zone database";
    std::mt19937 rng(23);
    int refused = 0;
    for (int i = 0; i < 3000; ++i) {
        std::string bytes = real;
        if (i < static_cast<int>(real.size())) bytes.resize(static_cast<std::size_t>(i));
        else
            for (int k = 0; k < 4; ++k) bytes[rng() % bytes.size()] = static_cast<char>(rng());
        const auto rules = ParseZoneFile(bytes);
        if (!rules) {
            ++refused;
            continue;
        }
        for (const Date& d : {Date{1941, 6, 1}, Date{1988, 6, 15}, Date{2030, 1, 1}})
            (void)ReadClockIn(*rules, d, TimeOfDay::Hms(13, 30));
    }
    EXPECT_GT(refused, 0);
}

}  // namespace
}  // namespace tl
