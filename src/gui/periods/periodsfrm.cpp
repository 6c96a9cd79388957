#include "gui/periods/periodsfrm.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QVBoxLayout>

#include "analysis/periods.h"
#include "calendar/years.h"
#include "report/periods_text.h"
#include "gui/toolkit/dialogs.h"
#include "gui/toolkit/richtextbox.h"

namespace tl {

namespace {

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// Pure red, 0x00BBGGRR, as the report's red passages.
constexpr quint32 kRed = 0x0000FF;

ClockNow NowOf(const QDateTime& t) {
    return {{t.date().year(), t.date().month(), t.date().day()}, TimeOfDay::Hms(t.time().hour(), t.time().minute())};
}

}  // namespace

PeriodsFrm::PeriodsFrm(const Chart& chart, const Settings& style, Dialogs& dialogs, Clock clock, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      chart_(chart),
      dialogs_(dialogs),
      clock_(clock ? std::move(clock) : Clock([] { return QDateTime::currentDateTime(); })) {
    setObjectName(QStringLiteral("periodsfrm"));
    setWindowTitle(QStringLiteral("流年流月"));

    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setMaxVisibleItems(20);
    for (int y = kCalendarFirstYear; y <= kCalendarLastYear; ++y) Combo1->addItem(QString::number(y));
    Label1 = new QLabel(QStringLiteral("年"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Combo2 = new QComboBox(this);
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Combo2->setMaxVisibleItems(12);
    Combo2->setMinimumContentsLength(8);
    RichTextBox1 = new RichTextBox(this);
    RichTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    RichTextBox1->setReadOnly(true);
    ApplyStyle(*RichTextBox1, style);
    Command1 = new QPushButton(QStringLiteral("打印(&P)"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("关闭(&C)"), this);
    Command2->setObjectName(QStringLiteral("Command2"));

    auto* top = new QHBoxLayout;
    top->addWidget(Combo1);
    top->addWidget(Label1);
    top->addSpacing(12);
    top->addWidget(Combo2);
    top->addStretch(1);
    top->addWidget(Command1);
    top->addWidget(Command2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(RichTextBox1, 1);
    resize(760, 720);

    // The solar year that holds now: before its 立春 a calendar year is
    // still the last one's.
    const ClockNow now = NowOf(clock_());
    int year = std::clamp(now.date.year, kCalendarFirstYear, kCalendarLastYear);
    int month = MonthHolding(PeriodsOfYear(year, nullptr), now.date, now.time);
    if (month == 0 && year > kCalendarFirstYear) {
        const int before = MonthHolding(PeriodsOfYear(year - 1, nullptr), now.date, now.time);
        if (before) year -= 1, month = before;
    }
    {
        const QSignalBlocker quiet(Combo1);
        Combo1->setCurrentIndex(year - kCalendarFirstYear);
    }
    FillMonthList();
    Combo2->setCurrentIndex(std::max(month, 1) - 1);

    connect(Combo1, &QComboBox::currentIndexChanged, this, [this] {
        FillMonthList();
        ShowPeriods();
    });
    connect(Combo2, &QComboBox::currentIndexChanged, this, &PeriodsFrm::ShowPeriods);
    connect(Command1, &QPushButton::clicked, this, &PeriodsFrm::PrintPeriods);
    connect(Command2, &QPushButton::clicked, this, &QDialog::close);
    ShowPeriods();
}

PeriodsFrm::~PeriodsFrm() = default;

int PeriodsFrm::SelectedYear() const { return Combo1->currentIndex() + kCalendarFirstYear; }

int PeriodsFrm::SelectedMonth() const { return std::max(Combo2->currentIndex(), 0) + 1; }

// The twelve months of the selected year, the position kept.
void PeriodsFrm::FillMonthList() {
    const QSignalBlocker quiet(Combo2);
    const int position = std::max(Combo2->currentIndex(), 0);
    Combo2->clear();
    for (const PeriodMonth& m : PeriodsOfYear(SelectedYear(), nullptr).months) {
        const Pillar p = m.pillar.pillar;
        Combo2->addItem(Q(BranchName(BranchOf(p))) + QStringLiteral("月 ") + Q(PillarName(p)));
    }
    Combo2->setCurrentIndex(position);
}

void PeriodsFrm::ShowPeriods() {
    const YearPeriods year = PeriodsOfYear(SelectedYear(), &chart_);
    const std::vector<PeriodDay> days = PeriodDaysOf(SelectedYear(), SelectedMonth(), &chart_);
    const PeriodsText text = BuildPeriodsText(year, &days, SelectedMonth(), &chart_, NowOf(clock_()));
    RichTextBox1->SetText(Q(text.text));
    for (const TextRange& r : text.marked) {
        RichTextBox1->SelectRange(r.start, r.length);
        RichTextBox1->SetSelColor(kRed);
    }
    // The marks are read in red, not as a selection.
    QTextCursor cursor = RichTextBox1->textCursor();
    cursor.clearSelection();
    RichTextBox1->setTextCursor(cursor);
    RichTextBox1->ShowTop();
}

void PeriodsFrm::PrintPeriods() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!dialogs_.SetUpPrinter(this, *printer_)) return;
    RichTextBox1->PrintTo(*printer_);
}

}  // namespace tl
