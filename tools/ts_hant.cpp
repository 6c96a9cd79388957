// Makes the traditional-character translation of the window texts: reads
// the .ts file lupdate gathered from the sources (simplified texts, no
// translations) and writes it with every translation the source text in
// traditional characters, converted by the same OpenCC conversion as the
// reports (ToScript), so that the windows and the reports name the chart's
// terms alike.
//
//   ts_hant IN.ts OUT.ts
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "text/script.h"

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::cerr << "usage: ts_hant IN.ts OUT.ts\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "ts_hant: cannot read " << argv[1] << "\n";
        return 1;
    }
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string ts = buffer.str();

    // Each <message> holds one <source> (XML-escaped; the escapes are ASCII
    // and convert to themselves) followed by its <translation>.
    const std::string kSource = "<source>", kSourceEnd = "</source>";
    const std::string kTranslation = "<translation", kTranslationEnd = "</translation>";
    std::string out;
    std::size_t at = 0;
    int messages = 0;
    try {
        for (;;) {
            const std::size_t source = ts.find(kSource, at);
            if (source == std::string::npos) break;
            const std::size_t sourceEnd = ts.find(kSourceEnd, source);
            const std::size_t translation = ts.find(kTranslation, sourceEnd);
            const std::size_t translationEnd = ts.find(kTranslationEnd, translation);
            if (sourceEnd == std::string::npos || translation == std::string::npos ||
                translationEnd == std::string::npos) {
                std::cerr << "ts_hant: a message without its translation in " << argv[1] << "\n";
                return 1;
            }
            const std::string text = ts.substr(source + kSource.size(), sourceEnd - source - kSource.size());
            out.append(ts, at, translation - at);
            out += "<translation>" + tl::ToScript(text, tl::Script::kHant) + kTranslationEnd;
            at = translationEnd + kTranslationEnd.size();
            ++messages;
        }
    } catch (const std::exception& e) {
        std::cerr << "ts_hant: " << e.what() << "\n";
        return 1;
    }
    out.append(ts, at, std::string::npos);
    if (messages == 0) {
        std::cerr << "ts_hant: no texts in " << argv[1] << "\n";
        return 1;
    }
    std::ofstream write(argv[2], std::ios::binary | std::ios::trunc);
    write << out;
    write.close();
    if (!write) {
        std::cerr << "ts_hant: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
