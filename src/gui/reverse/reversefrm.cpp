#include "gui/reverse/reversefrm.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "calendar/names.h"
#include "calendar/years.h"
#include "gui/toolkit/fonts.h"

namespace tl {

namespace {

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QComboBox* NewList(QWidget* parent, const char* name) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setMaxVisibleItems(20);
    combo->setMinimumContentsLength(6);
    return combo;
}

// Selects the item holding `pillar`; false when there is none.
bool SelectPillar(QComboBox* combo, Pillar pillar) {
    const int at = combo->findData(pillar);
    if (at >= 0) combo->setCurrentIndex(at);
    return at >= 0;
}

QString MinuteText(const ClockMinute& m) {
    return QString::asprintf("%04d-%02d-%02d %02d:%02d", m.date.year, m.date.month, m.date.day, m.hour, m.minute);
}

}  // namespace

ReverseFrm::ReverseFrm(const QDateTime& now, bool dayChangesAt23, Fill fill, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      fill_(std::move(fill)) {
    setObjectName(QStringLiteral("reversefrm"));
    setWindowTitle(QStringLiteral("八字反推"));
    BuildControls();
    {
        const QSignalBlocker quiet(Combo5);
        Combo5->setCurrentIndex(dayChangesAt23 ? 0 : 1);
    }
    // The pillars of the moment the window opens: a start that finds
    // something.
    const QDate d = now.date();
    Pillars p{1, 3, 1, 1};
    if (d.isValid() && d.year() >= kCalendarFirstYear && d.year() <= kCalendarLastYear)
        p = ComputePillars({d.year(), d.month(), d.day()}, TimeOfDay::Hms(now.time().hour(), now.time().minute()),
                           dayChangesAt23);
    SelectPillars(p);
}

void ReverseFrm::BuildControls() {
    setFont(ReportFont(QStringLiteral("宋体"), 10.5));
    auto* grid = new QGridLayout;
    const char* const captions[] = {"年柱", "月柱", "日柱", "时柱", "子时换日"};
    Combo1 = NewList(this, "Combo1");
    Combo2 = NewList(this, "Combo2");
    Combo3 = NewList(this, "Combo3");
    Combo4 = NewList(this, "Combo4");
    Combo5 = NewList(this, "Combo5");
    QComboBox* const lists[] = {Combo1, Combo2, Combo3, Combo4, Combo5};
    for (int i = 0; i < 5; ++i) {
        grid->addWidget(new QLabel(QString::fromUtf8(captions[i]), this), 0, i);
        grid->addWidget(lists[i], 1, i);
    }
    for (Pillar p = 1; p <= 60; ++p) {
        Combo1->addItem(Q(PillarName(p)), p);
        Combo3->addItem(Q(PillarName(p)), p);
    }
    Combo5->addItems({QStringLiteral("23点"), QStringLiteral("0点")});

    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setMinimumSize(420, 260);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Command1 = new QPushButton(QStringLiteral("填入排盘(&F)"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("关闭(&C)"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Label1, 1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(new QLabel(QStringLiteral("出生时段(北京时间,不计夏令时与真太阳时):"), this));
    layout->addWidget(List1, 1);
    layout->addLayout(buttons);

    connect(Combo1, &QComboBox::currentIndexChanged, this, [this] {
        FillMonthList();
        Search();
    });
    connect(Combo3, &QComboBox::currentIndexChanged, this, [this] {
        FillHourList();
        Search();
    });
    connect(Combo5, &QComboBox::currentIndexChanged, this, [this] {
        FillHourList();
        Search();
    });
    for (QComboBox* list : {Combo2, Combo4}) connect(list, &QComboBox::currentIndexChanged, this, &ReverseFrm::Search);
    connect(List1, &QListWidget::itemDoubleClicked, this, &ReverseFrm::FillChosen);
    connect(List1, &QListWidget::currentRowChanged, this, [this](int row) { Command1->setEnabled(row >= 0); });
    connect(Command1, &QPushButton::clicked, this, &ReverseFrm::FillChosen);
    connect(Command2, &QPushButton::clicked, this, &QDialog::close);
}

bool ReverseFrm::DayChangesAt23() const { return Combo5->currentIndex() != 1; }

// The month list keeps the month's branch when the year changes.
void ReverseFrm::FillMonthList() {
    const QSignalBlocker quiet(Combo2);
    const int position = std::max(0, Combo2->currentIndex());
    Combo2->clear();
    for (Pillar m : MonthPillarsOfYear(Combo1->currentData().toInt())) Combo2->addItem(Q(PillarName(m)), m);
    Combo2->setCurrentIndex(position);
}

// The hour list keeps its position when the day or the rule changes.
void ReverseFrm::FillHourList() {
    const QSignalBlocker quiet(Combo4);
    const int position = std::max(0, Combo4->currentIndex());
    Combo4->clear();
    const std::vector<Pillar> hours = HourPillarsOfDay(Combo3->currentData().toInt(), DayChangesAt23());
    for (std::size_t i = 0; i < hours.size(); ++i) {
        // Under the midnight rule the 13th is the late 子 hour.
        const QString late = i == 12 ? QStringLiteral(" (23点起)") : QString();
        Combo4->addItem(Q(PillarName(hours[i])) + late, hours[i]);
    }
    Combo4->setCurrentIndex(std::min(position, Combo4->count() - 1));
}

bool ReverseFrm::SelectPillars(const Pillars& p) {
    bool ok = true;
    {
        const QSignalBlocker quiet1(Combo1), quiet3(Combo3);
        ok = SelectPillar(Combo1, p.year) && SelectPillar(Combo3, p.day);
        FillMonthList();
        FillHourList();
    }
    const QSignalBlocker quiet2(Combo2), quiet4(Combo4);
    ok = SelectPillar(Combo2, p.month) && ok;
    ok = SelectPillar(Combo4, p.hour) && ok;
    Search();
    return ok;
}

void ReverseFrm::Search() {
    const Pillars p{Combo1->currentData().toInt(), Combo2->currentData().toInt(), Combo3->currentData().toInt(),
                    Combo4->currentData().toInt()};
    const ReverseResult result = ReversePillars(p, DayChangesAt23());
    windows_ = result.windows;
    List1->clear();
    for (const BirthWindow& w : windows_) List1->addItem(MinuteText(w.first) + QStringLiteral("  至  ") + MinuteText(w.last));
    Label1->setText(windows_.empty()
                        ? QStringLiteral("%1年至%2年间没有这样的八字").arg(kCalendarFirstYear).arg(kCalendarLastYear)
                        : QStringLiteral("共%1个时段").arg(windows_.size()));
    List1->setCurrentRow(windows_.empty() ? -1 : 0);
    Command1->setEnabled(!windows_.empty());
}

void ReverseFrm::FillChosen() {
    const int row = List1->currentRow();
    if (row < 0 || row >= static_cast<int>(windows_.size())) return;
    if (fill_) fill_(windows_[static_cast<std::size_t>(row)].first, DayChangesAt23());
    close();
}

}  // namespace tl
