#include "archive/record.h"

#include <bit>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <string_view>

#include "text/gbk.h"
#include "calendar/civil.h"

namespace tl {

namespace {

constexpr std::size_t kNameOffset = 2, kNameWidth = 12;
constexpr std::size_t kSexOffset = 14, kSexWidth = 2;
constexpr std::size_t kPlaceOffset = 16, kPlaceWidth = 14;
constexpr std::size_t kBirthDateOffset = 30, kBirthTimeOffset = 38, kSavedAtOffset = 46;
constexpr std::size_t kDeletedOffset = 54;

// OLE day 2 is 1 January 1900, day number 0 of the civil calendar.
constexpr long kOleDayOf1900 = 2;
// 1 January 100 and 31 December 9999, the first and last days an OLE date
// can name.
constexpr long kFirstOleDay = -657434;
constexpr long kLastOleDay = 2958465;

void PutInt16(RecordBytes& b, std::size_t at, int value) {
    const auto v = static_cast<std::uint16_t>(value);
    b[at] = static_cast<unsigned char>(v & 0xFF);
    b[at + 1] = static_cast<unsigned char>(v >> 8);
}

int GetInt16(const RecordBytes& b, std::size_t at) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8)));
}

void PutDouble(RecordBytes& b, std::size_t at, double value) {
    const auto v = std::bit_cast<std::uint64_t>(value);
    for (std::size_t i = 0; i < 8; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

double GetDouble(const RecordBytes& b, std::size_t at) {
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < 8; ++i) v |= static_cast<std::uint64_t>(b[at + i]) << (8 * i);
    return std::bit_cast<double>(v);
}

void PutText(RecordBytes& b, std::size_t at, std::size_t width, std::string_view utf8, GbkCodec& codec) {
    const std::string field = FitGbkBytes(codec.ToGbk(utf8), width);
    for (std::size_t i = 0; i < width; ++i) b[at + i] = static_cast<unsigned char>(field[i]);
}

std::string GetText(const RecordBytes& b, std::size_t at, std::size_t width, GbkCodec& codec) {
    const std::string_view field(reinterpret_cast<const char*>(b.data() + at), width);
    return GbkFieldText(field, codec);
}

}  // namespace

RecordBytes EncodeRecord(const ChartRecord& r, GbkCodec& codec) {
    RecordBytes b{};
    PutInt16(b, 0, r.recordNumber);
    PutText(b, kNameOffset, kNameWidth, r.name, codec);
    PutText(b, kSexOffset, kSexWidth, r.sex, codec);
    PutText(b, kPlaceOffset, kPlaceWidth, r.place, codec);
    PutDouble(b, kBirthDateOffset, r.birthDate);
    PutDouble(b, kBirthTimeOffset, r.birthTime);
    PutDouble(b, kSavedAtOffset, r.savedAt);
    PutInt16(b, kDeletedOffset, r.deleted);
    return b;
}

RecordBytes EncodeRecord(const ChartRecord& r) {
    GbkCodec codec;
    return EncodeRecord(r, codec);
}

ChartRecord DecodeRecord(const RecordBytes& b, GbkCodec& codec) {
    ChartRecord r;
    r.recordNumber = GetInt16(b, 0);
    r.name = GetText(b, kNameOffset, kNameWidth, codec);
    r.sex = GetText(b, kSexOffset, kSexWidth, codec);
    r.place = GetText(b, kPlaceOffset, kPlaceWidth, codec);
    r.birthDate = GetDouble(b, kBirthDateOffset);
    r.birthTime = GetDouble(b, kBirthTimeOffset);
    r.savedAt = GetDouble(b, kSavedAtOffset);
    r.deleted = GetInt16(b, kDeletedOffset);
    return r;
}

ChartRecord DecodeRecord(const RecordBytes& b) {
    GbkCodec codec;
    return DecodeRecord(b, codec);
}

double OleDate(const Date& d) { return static_cast<double>(DayNumber(d) + kOleDayOf1900); }

double OleDateTime(const Date& d, TimeOfDay t) { return OleDate(d) + t.fraction(); }

double OleNow() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) return 0;
    return OleDateTime({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday},
                       TimeOfDay::Hms(local.tm_hour, local.tm_min, local.tm_sec));
}

std::optional<OleParts> SplitOleDate(double value) {
    if (!std::isfinite(value) || value <= kFirstOleDay - 1 || value >= kLastOleDay + 1) return std::nullopt;
    // The date part counts days (backwards when negative), the fraction is
    // always the time after that day's midnight.
    const double datePart = std::trunc(value);
    const double linear = datePart + std::fabs(value - datePart);
    const long long seconds = std::llround(linear * 86400.0);
    long long day = seconds / 86400;
    long long second = seconds % 86400;
    if (second < 0) {
        second += 86400;
        --day;
    }
    if (day < kFirstOleDay || day > kLastOleDay) return std::nullopt;
    OleParts p;
    p.day = static_cast<long>(day);
    p.date = DateOfDayNumber(p.day - kOleDayOf1900);
    p.time = TimeOfDay{static_cast<int>(second)};
    return p;
}

}  // namespace tl
