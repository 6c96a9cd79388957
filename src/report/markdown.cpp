#include "report/markdown.h"

#include <string_view>

#include "analysis/relations.h"
#include "calendar/jie.h"
#include "calendar/lunar.h"
#include "calendar/names.h"
#include "report/relation_words.h"
#include "report/sections.h"
#include "report/text_build.h"
#include "text/utf8.h"

namespace tl {

namespace {

// Free text as Markdown text: every ASCII punctuation character that could
// start markup (and the table's "|") behind a backslash, line ends and other
// control characters as spaces.
std::string Escaped(std::string_view s) {
    static constexpr std::string_view kMarkup = "\\`*_{}[]()<>#+-.!|~&";
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            out += ' ';
        } else {
            if (kMarkup.find(c) != std::string_view::npos) out += '\\';
            out += c;
        }
    }
    return out;
}

std::string DateText(int y, int m, int d) {
    std::string s;
    AppendInt(s, y);
    s += "年";
    AppendInt(s, m);
    s += "月";
    AppendInt(s, d);
    s += "日";
    return s;
}

std::string ClockText(int hour, int minute) {
    std::string s;
    AppendInt(s, hour);
    s += ':';
    AppendInt2(s, minute);
    return s;
}

std::string ClockText(TimeOfDay t) {
    std::string s = ClockText(t.hour(), t.minute());
    s += ':';
    AppendInt2(s, t.second());
    return s;
}

std::string LunarText(int y, int m, int d, bool leap) {
    std::string s = YearNumerals(y);
    s += leap ? "年闰" : "年";
    s += NumeralName(m);
    s += "月";
    s += LunarDayName(d);
    s += "日";
    return s;
}

// Names joined by "、", or "无".
template <typename Range, typename Name>
std::string Joined(const Range& items, Name name) {
    std::string s;
    for (const auto& item : items) {
        if (!s.empty()) s += "、";
        s += name(item);
    }
    return s.empty() ? std::string("无") : s;
}

std::string StarsText(StarSet stars) { return Joined(stars, StarName); }

// The relation tokens of a luck or annual pillar, joined by "、".
std::string PillarRelationsText(const Chart& chart, Pillar pillar, Pillar luckPillar, const PillarRelations& r) {
    std::string tokens;
    WritePillarRelations(tokens, chart, pillar, luckPillar, r);
    std::string s;
    for (std::size_t at = 0; at < tokens.size();) {
        while (at < tokens.size() && tokens[at] == ' ') ++at;
        const std::size_t end = std::min(tokens.find(' ', at), tokens.size());
        if (end > at) {
            if (!s.empty()) s += "、";
            s += tokens.substr(at, end - at);
        }
        at = end;
    }
    return s.empty() ? std::string("无") : s;
}

// The pairs of one kind of natal relation, "癸丁", as the report names them.
std::string NatalPairsText(RelationKind kind, const PairSlots& slots, const Chart& c) {
    const bool onStems = kRelationRules[kind].onStems;
    const int v[4] = {onStems ? c.yearStem : c.yearBranch, onStems ? c.monthStem : c.monthBranch,
                      onStems ? c.dayStem : c.dayBranch, onStems ? c.hourStem : c.hourBranch};
    const auto name = onStems ? StemName : BranchName;
    std::string s;
    for (PairCode code : {slots.a, slots.b}) {
        if (code == 0) continue;
        if (!s.empty()) s += "、";
        s += name(v[kNatalPairs[code - 1][0]]);
        s += name(v[kNatalPairs[code - 1][1]]);
    }
    return s.empty() ? std::string("无") : s;
}

// The label of a natal relation line without its spaces and colon.
std::string_view LabelOf(RelationKind kind) {
    std::string_view label = kRelationWords[kind].natalLabel;
    while (!label.empty() && label.front() == ' ') label.remove_prefix(1);
    return label.substr(0, label.find(':'));
}

void Row(std::string& out, std::initializer_list<std::string_view> cells) {
    out += '|';
    for (std::string_view c : cells) {
        out += ' ';
        out += c;
        out += " |";
    }
    out += '\n';
}

}  // namespace

std::string ChartMarkdown(const ChartRequest& request, const ReportHeader& header, const Chart& c,
                          const NatalTable& natal, const LuckTimeline& luck) {
    std::string out;
    out.reserve(16 * 1024);
    const std::string name = Trim(header.name);
    out += "# 八字排盘:";
    out += name.empty() ? std::string("(未填姓名)") : Escaped(header.name);
    out += "\n\n## 出生资料\n\n";

    out += "- 性别:";
    out += c.isMale ? "男(乾造)" : "女(坤造)";
    out += '\n';
    // The birth as entered.
    out += "- 输入:";
    if (request.isSolarInput) {
        out += "公历 " + DateText(request.year, request.month, request.day);
    } else {
        out += "农历 " + LunarText(request.year, request.month, request.day, request.isLeapMonth);
    }
    out += ' ';
    out += ClockText(request.hour, request.minute);
    out += "(" + HourLabel(request.hour) + ")\n";
    // The birth as the chart counts it.
    out += "- 排盘时刻:公历 " + DateText(c.birthYear, c.birthMonth, c.birthDay) + ' ' + ClockText(c.birthTime);
    out += ",农历 " + LunarText(c.lunarYear, c.lunarMonth, c.lunarDay, c.isLeapMonth) + '\n';
    out += "- 出生地点:" + Escaped(header.provinceItem) + "," + Escaped(header.placeItem) + '\n';

    // Every correction, made or not.
    out += "- 校正:\n";
    out += "  - 农历换算:";
    out += request.isSolarInput ? "无(公历输入)" : "农历输入,已换算为公历";
    out += '\n';
    out += "  - 真太阳时:";
    if (request.useTrueSolarTime) {
        out += "已校正(" + Escaped(header.provinceItem) + "," + Escaped(header.placeItem) + "),";
        out += ClockText(request.hour, request.minute) + " 改为 " + ClockText(c.birthTime);
    } else {
        out += "未校正";
    }
    out += '\n';
    out += "  - 夏令时:";
    if (!c.daylightSavingInEffect) {
        out += "出生时不在夏令时内";
    } else {
        std::string minutes;
        AppendInt(minutes, c.daylightSavingMinutes);
        out += c.daylightSavingApplied ? "出生时在夏令时内,已减去" + minutes + "分钟"
                                       : "出生时在夏令时内(快" + minutes + "分钟),按输入时刻排盘,未减去";
    }
    out += '\n';
    out += "  - 子时换日:";
    out += c.ziDayChange == ZiDayChange::kAt23 ? "23时换日(晚子时起日柱按次日)" : "0时换日(晚子时日柱仍按当日)";
    out += '\n';
    out += "  - 临近交节:";
    if (const std::string near = NearJieLine(c.BirthDate(), c.birthTime); !near.empty()) {
        std::string_view line = near;
        line = line.substr(0, line.find("\r\n"));
        line = line.substr(line.find(':') + 1);
        while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
        out += line;
    } else {
        out += "无";
    }
    out += '\n';
    out += "- 交节时刻:" + JieMomentsText(c.BirthDate()) + '\n';
    {
        std::string s = "- 起运:出生后";
        AppendInt(s, c.luckStartYears);
        s += "年";
        AppendInt(s, c.luckStartMonths);
        s += "个月";
        AppendInt(s, c.luckStartDays);
        s += "天";
        AppendInt(s, c.luckStartHours);
        s += "小时起运(";
        s += c.luckForward ? "顺排" : "逆排";
        s += "),公历" + DateText(luck.handover.date.year, luck.handover.date.month, luck.handover.date.day);
        AppendInt(s, luck.handover.hour);
        s += "时交运\n";
        out += s;
    }

    // The four pillars.
    out += "\n## 四柱\n\n";
    static constexpr std::string_view kPillarHeads[4] = {"年柱", "月柱", "日柱", "时柱"};
    std::string cells[4];
    auto row = [&](std::string_view label) {
        Row(out, {label, cells[0], cells[1], cells[2], cells[3]});
    };
    Row(out, {"", kPillarHeads[0], kPillarHeads[1], kPillarHeads[2], kPillarHeads[3]});
    out += "|---|---|---|---|---|\n";
    for (std::size_t i = 0; i < 4; ++i)
        cells[i] = i == 2 ? std::string("日") : std::string(TenGodName(natal.pillars[i].tenGod));
    row("十神");
    for (std::size_t i = 0; i < 4; ++i) cells[i] = PillarName(natal.pillars[i].pillar);
    row("干支");
    for (std::size_t i = 0; i < 4; ++i) {
        cells[i].clear();
        for (const HiddenStem& h : natal.pillars[i].hiddenStems) {
            if (h.stem == 0) continue;
            if (!cells[i].empty()) cells[i] += ' ';
            cells[i] += StemName(h.stem);
            cells[i] += TenGodName(h.tenGod);
        }
    }
    row("藏干");
    for (std::size_t i = 0; i < 4; ++i) cells[i] = StrengthName(natal.pillars[i].strength);
    row("干旺");
    for (std::size_t i = 0; i < 4; ++i) cells[i] = GrowthStageName(natal.pillars[i].growthStage);
    row("长生");
    for (std::size_t i = 0; i < 4; ++i) cells[i] = NayinName(natal.pillars[i].pillar);
    row("纳音");
    for (std::size_t i = 0; i < 4; ++i) cells[i] = StarsText(natal.pillars[i].shensha);
    row("神煞");
    out += "\n- 命宫:";
    out += PillarName(natal.lifePalace);
    out += "\n- 日空:";
    out += BranchName(natal.dayVoid);
    out += BranchName(natal.dayVoid % 12 + 1);
    out += '\n';

    // Relations and chart-wide stars.
    out += "\n## 刑冲合害\n\n";
    const NatalRelations& r = natal.relations;
    auto relationLine = [&](RelationKind kind) {
        out += "- ";
        out += LabelOf(kind);
        out += ':';
        out += NatalPairsText(kind, r.pairs[kind], c);
        out += '\n';
    };
    relationLine(kStemClash);
    relationLine(kBranchClash);
    relationLine(kStemCombine);
    relationLine(kBranchCombine);
    out += "- 地支三合:";
    if (r.trio >= 1 && r.trio <= 4) {
        const std::string_view text = kTrioTexts[static_cast<std::size_t>(r.trio - 1)];
        out += text.substr(0, text.size() - std::string_view("相合").size());
    } else {
        out += "无";
    }
    out += '\n';
    relationLine(kBranchHarm);
    // The stars of each pillar stand in the table above.
    out += "\n## 神煞\n\n- 命局:";
    out += Joined(natal.shensha, ChartStarName);
    out += '\n';

    // Luck pillars.
    out += "\n## 大运\n\n";
    Row(out, {"大运", "起运年份", "岁数", "十神", "长生", "刑冲合害", "神煞"});
    out += "|---|---|---|---|---|---|---|\n";
    for (const LuckStep& s : luck.luck) {
        std::string year, age;
        AppendInt(year, s.startYear);
        AppendInt(age, s.startAge);
        Row(out, {PillarName(s.pillar), year, age, TenGodName(s.tenGod), GrowthStageName(s.growthStage),
                  PillarRelationsText(c, s.pillar, 0, s.relations), StarsText(s.shensha)});
    }

    // Annual pillars.
    out += "\n## 流年\n\n";
    Row(out, {"岁数", "年份", "流年", "大运", "刑冲合害", "神煞", "岁运并临"});
    out += "|---|---|---|---|---|---|---|\n";
    for (const AnnualYear& y : luck.annual) {
        std::string year, age;
        AppendInt(year, y.year);
        AppendInt(age, y.age);
        const Pillar luckPillar = luck.luck[static_cast<std::size_t>(y.luckIndex)].pillar;
        Row(out, {age, year, PillarName(y.pillar), PillarName(luckPillar),
                  PillarRelationsText(c, y.pillar, luckPillar, y.relations), StarsText(y.shensha),
                  y.luckAndYearMeet ? "是" : ""});
    }
    return out;
}

}  // namespace tl
