// libFuzzer target for the decoders of what is read from disk: the 56-byte
// archive record, the archive list line built from it and read back, the
// 37-byte settings record and the GBK conversion. Any input must decode
// without a crash, give valid UTF-8, and re-encode to what it decoded to.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "text/gbk.h"
#include "archive/list.h"
#include "archive/record.h"
#include "archive/store.h"
#include "settings/settings.h"

namespace {

bool IsValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t n;
        std::uint32_t cp;
        if (c < 0x80) { n = 1; cp = c; }
        else if ((c & 0xE0) == 0xC0) { n = 2; cp = c & 0x1F; }
        else if ((c & 0xF0) == 0xE0) { n = 3; cp = c & 0x0F; }
        else if ((c & 0xF8) == 0xF0) { n = 4; cp = c & 0x07; }
        else return false;
        if (i + n > s.size()) return false;
        for (std::size_t k = 1; k < n; ++k) {
            const auto t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (t & 0x3F);
        }
        if ((n == 2 && cp < 0x80) || (n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000) || cp > 0x10FFFF ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += n;
    }
    return true;
}

void Check(bool ok) {
    if (!ok) std::abort();
}

// Overlays `data` on `base`, so that mutations start from a real record.
template <typename Bytes>
Bytes Overlay(Bytes base, const std::uint8_t* data, std::size_t size, bool replace) {
    for (std::size_t i = 0; i < size; ++i) {
        auto& b = base[i % base.size()];
        b = replace ? data[i] : static_cast<unsigned char>(b ^ data[i]);
    }
    return base;
}

void FuzzRecord(const std::uint8_t* data, std::size_t size, bool replace) {
    tl::ChartRecord sample;
    sample.name = "张三";
    sample.sex = "男";
    sample.place = "1北京,北京";
    sample.birthDate = 31118;
    sample.birthTime = 0.378472222;
    sample.savedAt = 39793.2068;
    const tl::RecordBytes bytes = Overlay(tl::EncodeRecord(sample), data, size, replace);

    tl::GbkCodec codec;
    const tl::ChartRecord r = tl::DecodeRecord(bytes, codec);
    Check(IsValidUtf8(r.name) && IsValidUtf8(r.sex) && IsValidUtf8(r.place));
    Check(r.name.find('\0') == std::string::npos);

    // The line names the position it is given, whatever the record holds.
    const int position = r.recordNumber >= 0 && r.recordNumber < tl::kMaxRecords ? r.recordNumber + 1 : 1;
    const std::string line = tl::ArchiveListLine(r, position);
    Check(IsValidUtf8(line));
    Check(line.find('\n') == std::string::npos && line.find('\r') == std::string::npos);
    Check(tl::PositionOfListLine(line) == position);

    const tl::ArchiveList list = tl::BuildArchiveList(std::vector<tl::ChartRecord>{r, r});
    Check(list.size() == (r.deleted == 0 ? 4u : 0u));
    for (int i = -1; i <= static_cast<int>(list.size()); ++i) {
        const auto p = tl::SelectedPosition(list, i);
        Check(!p || *p == 1 || *p == 2);
    }

    // Re-encoding never grows a field past its width.
    const tl::RecordBytes again = tl::EncodeRecord(r, codec);
    Check(tl::DecodeRecord(again, codec).deleted == r.deleted);
}

void FuzzSettings(const std::uint8_t* data, std::size_t size, bool replace) {
    const tl::SettingsBytes bytes = Overlay(tl::EncodeSettings(tl::DefaultSettings()), data, size, replace);
    const auto s = tl::DecodeSettings(bytes);
    if (!s) return;
    Check(IsValidUtf8(s->font.name) && tl::IsUsableColour(s->backgroundColour) && tl::IsUsableColour(s->textColour));
    const auto again = tl::DecodeSettings(tl::EncodeSettings(*s));
    Check(again && *again == *s);
    // The two commands keep what they do not set.
    const tl::SettingsBytes bg = tl::WithBackground(bytes, 0x00FF00);
    Check(std::memcmp(bg.data() + 4, bytes.data() + 4, bytes.size() - 4) == 0);
    const tl::SettingsBytes font = tl::WithFont(bytes, s->font, s->textColour);
    Check(std::memcmp(font.data(), bytes.data(), 4) == 0);
}

void FuzzText(const std::uint8_t* data, std::size_t size) {
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    const std::string utf8 = tl::GbkToUtf8(in);
    Check(IsValidUtf8(utf8));
    const std::string gbk = tl::Utf8ToGbk(in);
    for (std::size_t width : {0u, 1u, 2u, 12u, 14u}) Check(tl::FitGbkBytes(gbk, width).size() == width);
    (void)tl::PositionOfListLine(in);
    double v;
    if (size >= 8) {
        std::memcpy(&v, data, 8);
        Check(IsValidUtf8(tl::OleDateText(v)));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t mode = data[0];
    ++data;
    --size;
    switch (mode % 5) {
        case 0: FuzzRecord(data, size, false); break;
        case 1: FuzzRecord(data, size, true); break;
        case 2: FuzzSettings(data, size, false); break;
        case 3: FuzzSettings(data, size, true); break;
        default: FuzzText(data, size); break;
    }
    return 0;
}
