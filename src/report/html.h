// The report as one self-contained HTML page: its lines in a fixed-width
// block, the red passages red, for a browser to show, print or save as PDF.
#pragma once

#include <string>
#include <string_view>

#include "report/report.h"
#include "text/script.h"

namespace tl {

// The page of a report (its text already in the script the reader wants):
// no scripts, nothing fetched, the style inside the page. The block's text
// is the report's lines, each on its own line (the CR of CR LF left out),
// with &, < and > written as entities and a control character other than
// the line end as U+FFFD; the characters of the red passages stand in
// <span class="red"> elements, one per run of red characters. Its font
// list names the fixed-width CJK fonts the program draws the report with,
// in which a Chinese character takes two columns. `title` is the page's
// title (escaped here); `script` sets the page's language, zh-Hans or
// zh-Hant.
std::string ReportHtml(const Report& report, std::string_view title, Script script);

}  // namespace tl
