// tenglan-cli calendar YEAR MONTH [DAY]: a month of the perpetual calendar
// as a grid like cal(1), or the sexagenary details of one day.
#include <string>
#include <string_view>

#include "text/script.h"
#include "text/utf8.h"
#include "cli/commands.h"
#include "cli/output.h"
#include "perpetual/month_view.h"

namespace tl::cli {

namespace {

constexpr int kColumnWidth = 10;  // display columns; "[闰十二月]" takes 10
constexpr std::string_view kWeekdays[7] = {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};

// `text` centred in `width` display columns (an odd space goes right).
std::string Centre(std::string_view text, int width) {
    const int w = static_cast<int>(DisplayWidth(text));
    const int left = w >= width ? 0 : (width - w) / 2;
    const int right = w >= width ? 0 : width - w - left;
    return std::string(static_cast<std::size_t>(left), ' ') + std::string(text) +
           std::string(static_cast<std::size_t>(right), ' ');
}

std::string TrimRight(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

// A highlighted cell (the first day of a lunar month, a jie or a qi day)
// is marked with brackets, its day number and its text alike.
std::string Mark(const std::string& text, bool highlighted) {
    if (text.empty() || !highlighted) return text;
    return "[" + text + "]";
}

std::string RenderMonth(const MonthView& v) {
    std::string out;
    const std::string title = std::to_string(v.year) + "年" + std::to_string(v.month) + "月";
    out += TrimRight(Centre(title, 7 * kColumnWidth)) + "\n";
    std::string header;
    for (std::string_view w : kWeekdays) header += Centre(w, kColumnWidth);
    out += TrimRight(header) + "\n";
    const int lastCell = v.firstColumn + v.monthLength - 1;
    for (int row = 0; row * 7 <= lastCell; ++row) {
        std::string days, lunar;
        for (int c = 0; c < 7; ++c) {
            const int i = row * 7 + c;
            if (i >= kMonthCells) break;
            const DayCell& cell = v.cells[static_cast<std::size_t>(i)];
            days += Centre(Mark(cell.dayText, cell.highlighted), kColumnWidth);
            lunar += Centre(Mark(cell.lunarText, cell.highlighted), kColumnWidth);
        }
        out += TrimRight(days) + "\n" + TrimRight(lunar) + "\n";
    }
    out += "\n" + v.titleYearName + " " + v.zodiac + "\n" + v.jieLine + "\n";
    return out;
}

}  // namespace

int CmdCalendar(int year, int month, std::optional<int> day, Script script) {
    if (!day)
        return WriteOutput(ToScript(RenderMonth(BuildMonthView(year, month)), script)) ? 0 : OutputFailed("calendar");
    std::string text = DayDetails(year, month, *day);
    // The details are two lines joined by CR LF; the terminal gets a newline.
    if (const auto crlf = text.find("\r\n"); crlf != std::string::npos) text.erase(crlf, 1);
    text += '\n';
    return WriteOutput(ToScript(text, script)) ? 0 : OutputFailed("calendar");
}

}  // namespace tl::cli
