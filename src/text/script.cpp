#include "text/script.h"

#include <opencc/Config.hpp>
#include <opencc/Conversion.hpp>
#include <opencc/ConversionChain.hpp>
#include <opencc/Converter.hpp>
#include <opencc/DictEntry.hpp>
#include <opencc/DictGroup.hpp>
#include <opencc/Exception.hpp>
#include <opencc/Lexicon.hpp>
#include <opencc/MaxMatchSegmentation.hpp>
#include <opencc/TextDict.hpp>

#include <list>
#include <memory>
#include <stdexcept>

#include "text/utf8.h"

namespace tl {

namespace {

// The chart's terms whose everyday traditional form is wrong in a chart:
// 干 of 天干, 藏干, 干支 is the stem (not 幹 "trunk", not 乾 "dry"), 丑 is
// the second branch (not 醜 "ugly"), and the clash 冲 is written 沖 in
// every use (相沖, 六沖, and in the annual lines "寅冲年申"), where a
// character-wise conversion would give 衝 beside the phrase 相沖.
struct Term {
    const char* simplified;
    const char* traditional;
};
constexpr Term kChartTerms[] = {
    {"丑", "丑"},
    {"冲", "沖"},
    {"干", "干"},
};

// OpenCC's simplified-to-traditional configuration with Taiwan standard
// characters (s2tw: characters only, no Taiwan vocabulary, which would
// change the length of phrases), the chart's terms looked up before its
// phrases and characters.
opencc::ConverterPtr LoadConverter() {
    try {
        opencc::Config config;
        const opencc::ConverterPtr standard = config.NewFromFile("s2tw.json");

        auto lexicon = std::make_shared<opencc::Lexicon>();
        for (const Term& t : kChartTerms) lexicon->Add(opencc::DictEntryFactory::New(t.simplified, t.traditional));
        lexicon->Sort();
        const opencc::DictPtr terms = std::make_shared<opencc::TextDict>(lexicon);

        const auto segmentationDict =
            std::dynamic_pointer_cast<opencc::MaxMatchSegmentation>(standard->GetSegmentation());
        if (!segmentationDict) throw std::runtime_error("unexpected segmentation in s2tw.json");
        const opencc::DictPtr segmentation = std::make_shared<opencc::DictGroup>(
            std::list<opencc::DictPtr>{terms, segmentationDict->GetDict()});

        std::list<opencc::ConversionPtr> conversions = standard->GetConversionChain()->GetConversions();
        if (conversions.empty()) throw std::runtime_error("empty conversion chain in s2tw.json");
        const opencc::DictPtr first =
            std::make_shared<opencc::DictGroup>(std::list<opencc::DictPtr>{terms, conversions.front()->GetDict()});
        conversions.front() = std::make_shared<opencc::Conversion>(first);

        return std::make_shared<opencc::Converter>(
            "s2tw with the chart's terms", std::make_shared<opencc::MaxMatchSegmentation>(segmentation),
            std::make_shared<opencc::ConversionChain>(conversions));
    } catch (const opencc::Exception& e) {
        throw std::runtime_error(std::string("cannot load the OpenCC conversion s2tw: ") + e.what());
    }
}

const opencc::Converter& Converter() {
    static const opencc::ConverterPtr converter = LoadConverter();
    return *converter;
}

// True when both texts have the same characters, each of the same width
// (one column for ASCII, two for any other character).
bool SameColumns(std::string_view a, std::string_view b) {
    if (Utf8Length(a) != Utf8Length(b)) return false;
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const bool asciiA = static_cast<unsigned char>(a[i]) < 0x80;
        const bool asciiB = static_cast<unsigned char>(b[j]) < 0x80;
        if (asciiA != asciiB) return false;
        if (asciiA && a[i] != b[j]) return false;  // OpenCC leaves ASCII alone
        do ++i; while (i < a.size() && (static_cast<unsigned char>(a[i]) & 0xC0) == 0x80);
        do ++j; while (j < b.size() && (static_cast<unsigned char>(b[j]) & 0xC0) == 0x80);
    }
    return i == a.size() && j == b.size();
}

// A line whose conversion changed its columns, converted character by
// character.
void AppendByCharacter(std::string_view line, std::string& out) {
    const opencc::Converter& converter = Converter();
    std::size_t i = 0;
    while (i < line.size()) {
        std::size_t n = 1;
        while (i + n < line.size() && (static_cast<unsigned char>(line[i + n]) & 0xC0) == 0x80) ++n;
        const std::string_view ch = line.substr(i, n);
        if (n == 1) {
            out += ch;
        } else {
            const std::string one = converter.Convert(std::string(ch));
            out += SameColumns(ch, one) ? std::string_view(one) : ch;
        }
        i += n;
    }
}

}  // namespace

std::optional<Script> ScriptFromName(std::string_view name) {
    if (name == "hans") return Script::kHans;
    if (name == "hant") return Script::kHant;
    return std::nullopt;
}

std::string ToScript(std::string_view utf8, Script script) {
    // Text that is not UTF-8 is no text of the program's: left as it is.
    if (script == Script::kHans || !IsValidUtf8(utf8)) return std::string(utf8);
    // The whole text at once (no phrase spans a line end), then line by
    // line against the original: a line whose columns changed is done
    // again character by character. A line ends at LF; the CR before it
    // is ASCII and stays.
    const std::string whole = Converter().Convert(std::string(utf8));
    const std::string_view converted = whole;
    std::string out;
    out.reserve(whole.size());
    std::size_t start = 0;
    std::size_t convertedStart = 0;
    while (start <= utf8.size()) {
        std::size_t end = utf8.find('\n', start);
        if (end == std::string_view::npos) end = utf8.size();
        std::size_t convertedEnd = convertedStart <= converted.size() ? converted.find('\n', convertedStart)
                                                                      : std::string_view::npos;
        if (convertedEnd == std::string_view::npos) convertedEnd = converted.size();
        const std::string_view line = utf8.substr(start, end - start);
        const std::string_view convertedLine =
            convertedStart <= converted.size() ? converted.substr(convertedStart, convertedEnd - convertedStart)
                                               : std::string_view();
        if (SameColumns(line, convertedLine)) {
            out += convertedLine;
        } else {
            AppendByCharacter(line, out);
        }
        if (end == utf8.size()) break;
        out += '\n';
        start = end + 1;
        convertedStart = convertedEnd + 1;
    }
    return out;
}

}  // namespace tl
