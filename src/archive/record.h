// One archived chart: the in-memory form of a 56-byte record of reco.dat,
// its byte layout, and OLE Automation dates (days from 1899-12-30, the
// fraction the time of day).
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "calendar/types.h"

namespace tl {

class GbkCodec;

struct ChartRecord {
    // Until the first chart run the current record is all zero: its texts
    // are NUL characters and are written as zero bytes.
    int recordNumber = 0;                 // records the file held when this one was appended
    std::string name = std::string(12, '\0');   // UTF-8, 12 characters (cut or padded with spaces)
    std::string sex = std::string(2, '\0');     // "男 " or "女 "
    std::string place = std::string(14, '\0');  // "<province item>,<place item>", 14 characters
    double birthDate = 0;  // OLE Automation date, days from 1899-12-30
    double birthTime = 0;  // fraction of a day
    double savedAt = 0;    // OLE Automation date and time
    int deleted = 0;       // 0 live, -1 deleted

    friend bool operator==(const ChartRecord&, const ChartRecord&) = default;
};

// Byte layout of a record, little-endian:
//   0  2  recordNumber   16-bit signed
//   2 12  name           GBK, cut to 12 bytes, padded with spaces
//  14  2  sex            GBK, one two-byte character
//  16 14  place          GBK, cut to 14 bytes, padded with spaces
//  30  8  birthDate      IEEE-754 double
//  38  8  birthTime      IEEE-754 double
//  46  8  savedAt        IEEE-754 double
//  54  2  deleted        16-bit signed, 0 live, -1 deleted
inline constexpr std::size_t kRecordSize = 56;
using RecordBytes = std::array<unsigned char, kRecordSize>;

// Texts are converted to GBK and then cut or padded to their width (a cut
// never splits a two-byte character). Numbers outside 16 bits keep their low
// 16 bits.
RecordBytes EncodeRecord(const ChartRecord& record, GbkCodec& codec);
RecordBytes EncodeRecord(const ChartRecord& record);
// Any 56 bytes decode: each text ends at its first NUL byte, bytes that are
// not GBK become U+FFFD, padding spaces are kept; doubles are taken as they
// are, NaN and infinities included.
ChartRecord DecodeRecord(const RecordBytes& bytes, GbkCodec& codec);
ChartRecord DecodeRecord(const RecordBytes& bytes);

// Days from 1899-12-30 of a Gregorian date (a day past the end of its month
// counts into the next month).
double OleDate(const Date& d);
// An OLE date with the time of day as its fraction.
double OleDateTime(const Date& d, TimeOfDay t);
// The local date and time now, as an OLE date (the save time of a record).
double OleNow();

// The Gregorian date and the time of day, to the nearest second, that an OLE
// date stands for. A negative value counts its date part back from
// 1899-12-30 and its fraction forward from that day's midnight (-1.25 is
// 1899-12-29 06:00:00). Empty for NaN, infinities and values outside the
// years 100..9999.
struct OleParts {
    long day = 0;  // whole days from 1899-12-30 after rounding to the second
    Date date;
    TimeOfDay time;
};
std::optional<OleParts> SplitOleDate(double value);

}  // namespace tl
