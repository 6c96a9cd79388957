#include "gui/perpetual/wlifrm.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>

#include "gui/toolkit/window_text.h"
#include "gui/toolkit/fonts.h"
#include "gui/toolkit/script_display.h"

namespace tl {

// The context of this window's texts in the translation.
constexpr const char* kTr = "tl::WliFrm";

namespace {

// The month's texts come from the core, in the script the windows show.
QString Q(std::string_view s) { return Shown(s); }

// The two lines of a day's details; a label breaks lines at LF alone.
QString DetailsText(int year, int month, int day) {
    return Q(DayDetails(year, month, day)).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// The window was laid out in twips, 15 to a pixel.
constexpr int Px(int twips) { return twips / 15; }

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kBlack(0, 0, 0);
const QColor kTodayFrame(220, 0, 0);

QFont BoldFont(const char* name, double points) {
    QFont f = ReportFont(QString::fromUtf8(name), points);
    f.setBold(true);
    return f;
}

void SetColour(QLabel* label, const QColor& colour) {
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, const QFont& font, const QColor& colour,
                  QRect twips, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(font);
    SetColour(label, colour);
    label->setAlignment(alignment);
    label->setGeometry(Px(twips.x()), Px(twips.y()), Px(twips.width()), Px(twips.height()));
    return label;
}

// Day cell i sits in row i / 7 and column i % 7, Sunday first.
int CellLeft(int i) { return 1080 + 1440 * (i % 7); }
int CellTop(int i) { return 2400 + 960 * (i / 7); }

}  // namespace

WliFrm::WliFrm(Today today, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint) {
    setObjectName(QStringLiteral("wlifrm"));
    WithTitle(this, kTr, QT_TR_NOOP("腾岚万年历"));
    BuildControls();

    // Form load: both lists, then today's year and month; each selection
    // redraws, so the window opens on the current month with today framed.
    // A year the list cannot hold opens the same month of its last year.
    const QDate now = today ? today() : QDate::currentDate();
    if (now.isValid()) today_ = Date{now.year(), now.month(), now.day()};
    for (int y = kCalendarFirstYear; y <= kCalendarLastYear; ++y) Combo1->addItem(QString::number(y));
    for (int m = 1; m <= 12; ++m) Combo2->addItem(QString::number(m));
    int year = now.year();
    if (year < kCalendarFirstYear || year > kCalendarLastYear) year = kCalendarLastYear;
    Combo1->setCurrentIndex(year - kCalendarFirstYear);
    Combo2->setCurrentIndex(now.isValid() ? now.month() - 1 : 0);
}

void WliFrm::BuildControls() {
    const QFont kai = BoldFont("楷体_GB2312", 14.25);
    const QFont song = BoldFont("宋体", 14.25);
    const QFont songLarge = BoldFont("宋体", 26.25);

    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setFont(kai);
    Combo1->setGeometry(Px(8400), Px(480), Px(1100), Px(420));
    Combo1->setMaxVisibleItems(20);
    Label3 = WithText(MakeLabel(this, QStringLiteral("Label3"), QString(), kai, kBlack, {9520, 480, 400, 420}), kTr,
                      QT_TR_NOOP("年"));
    Combo2 = new QComboBox(this);
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Combo2->setFont(kai);
    Combo2->setGeometry(Px(9960), Px(480), Px(800), Px(420));
    Combo2->setMaxVisibleItems(12);
    Label4 = WithText(MakeLabel(this, QStringLiteral("Label4"), QString(), kai, kBlack, {10780, 480, 400, 420}), kTr,
                      QT_TR_NOOP("月"));

    Label6 = MakeLabel(this, QStringLiteral("Label6"), QStringLiteral("2008"), BoldFont("Times New Roman", 26.25),
                       kRed, {5640, 120, 1300, 840}, Qt::AlignRight | Qt::AlignBottom);
    Label7 = MakeLabel(this, QStringLiteral("Label7"), QStringLiteral("12"), BoldFont("Times New Roman", 42),
                       QColor(0, 128, 0), {6960, 0, 1300, 1100}, Qt::AlignLeft | Qt::AlignBottom);
    Label9 = MakeLabel(this, QStringLiteral("Label9"), tr("牛"), BoldFont("隶书", 26.25), QColor(0, 64, 0),
                       {1320, 0, 900, 720});
    Label8 = MakeLabel(this, QStringLiteral("Label8"), tr("丁丑年"), BoldFont("隶书", 21.75), kRed,
                       {960, 8280, 3000, 600});
    Label2 = MakeLabel(this, QStringLiteral("Label2"), QStringLiteral("Label2"), song, QColor(255, 128, 0),
                       {1080, 720, 6000, 840}, Qt::AlignLeft | Qt::AlignTop);
    Label5 = MakeLabel(this, QStringLiteral("Label5"), tr("立春: 15时23分"), song, QColor(192, 64, 0),
                       {7320, 7320, 3700, 420});

    static const char* const kWeekdays[] = {QT_TR_NOOP("星期日"), QT_TR_NOOP("星期一"), QT_TR_NOOP("星期二"),
                                            QT_TR_NOOP("星期三"), QT_TR_NOOP("星期四"), QT_TR_NOOP("星期五"),
                                            QT_TR_NOOP("星期六")};
    for (int c = 0; c < 7; ++c) {
        Label1[kHeaderBase + c] =
            WithText(MakeLabel(this, QStringLiteral("Label1_%1").arg(kHeaderBase + c), QString(), song,
                               c == 0 || c == 6 ? kRed : kBlue, {1200 + 1440 * c, 1680, 1300, 420}),
                     kTr, kWeekdays[c]);
    }
    for (int i = 0; i < kMonthCells; ++i) {
        QLabel* day = MakeLabel(this, QStringLiteral("Label1_%1").arg(i), QString(), songLarge, kBlue,
                                {CellLeft(i), CellTop(i), 1290, 765}, Qt::AlignLeft | Qt::AlignTop);
        // The figures' leading would push them onto the lunar text below:
        // the label starts that much higher.
        day->move(day->x(), day->y() - 10);
        day->setIndent(Px(60));
        day->setCursor(Qt::PointingHandCursor);
        day->setMouseTracking(true);
        day->installEventFilter(this);
        Label1[i] = day;
        QLabel* lunar = MakeLabel(this, QStringLiteral("Label1_%1").arg(kLunarBase + i), QString(), song, kBlack,
                                  {1440 + 1440 * (i % 7), 2880 + 960 * (i / 7), 900, 285});
        lunar->setMouseTracking(true);
        lunar->installEventFilter(this);
        Label1[kLunarBase + i] = lunar;
    }
    for (int c = 0; c < 7; ++c) {
        Label1[kHeaderBase + c]->setMouseTracking(true);
        Label1[kHeaderBase + c]->installEventFilter(this);
    }

    connect(Combo1, &QComboBox::currentIndexChanged, this, [this] {
        Label6->setText(Combo1->currentText());
        ShowMonth();
    });
    connect(Combo2, &QComboBox::currentIndexChanged, this, [this] {
        Label7->setText(Combo2->currentText());
        ShowMonth();
    });
    setFixedSize(Px(11760), Px(9000));
}

int WliFrm::SelectedYear() const { return std::max(Combo1->currentIndex(), 0) + kCalendarFirstYear; }
int WliFrm::SelectedMonth() const { return Combo2->currentIndex() < 0 ? 1 : Combo2->currentIndex() + 1; }

void WliFrm::ShowMonth() {
    const int year = SelectedYear();
    const int month = SelectedMonth();
    view_ = BuildMonthView(year, month);
    for (int i = 0; i < kMonthCells; ++i) {
        const DayCell& cell = view_.cells[static_cast<std::size_t>(i)];
        // Every redraw starts from blue days and black lunar texts, so no
        // red of the month shown before remains.
        Label1[i]->setText(Q(cell.dayText));
        Label1[kLunarBase + i]->setText(Q(cell.lunarText));
        SetColour(Label1[i], cell.highlighted ? kRed : kBlue);
        SetColour(Label1[kLunarBase + i], cell.highlighted ? kRed : kBlack);
    }
    // Today's frame follows the month shown.
    todayCell_ = view_.CellOf(today_);
    update();
    currentDay_ = 1;
    Label2->setText(DetailsText(year, month, 1));
    Label8->setText(Q(view_.titleYearName));
    Label9->setText(Q(view_.zodiac));
    Label5->setText(Q(view_.jieLine));
}

void WliFrm::Label1MouseMove(int index) {
    // The last two day cells, the header and the lunar cells do not react.
    if (index < 0 || index > kLastHoverCell) return;
    bool ok = false;
    const int day = Label1[index]->text().toInt(&ok);
    if (!ok || day == 0 || day == currentDay_) return;
    currentDay_ = day;
    Label2->setText(DetailsText(SelectedYear(), SelectedMonth(), day));
}

bool WliFrm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        for (int i = 0; i < kLabelCount; ++i)
            if (Label1[i] == watched) Label1MouseMove(i);
    }
    return QDialog::eventFilter(watched, event);
}

void WliFrm::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    // The background: a pale paper tone, darker towards the foot.
    QLinearGradient paper(0, 0, 0, height());
    paper.setColorAt(0, QColor(255, 252, 240));
    paper.setColorAt(1, QColor(240, 228, 200));
    painter.fillRect(rect(), paper);
    // Shape1: a frame around every day cell with its lunar text; Shape2:
    // the rule under the weekday header; Shape3: the frame of the grid.
    painter.setPen(QPen(QColor(200, 170, 120), 1));
    for (int i = 0; i < kMonthCells; ++i)
        painter.drawRoundedRect(Px(CellLeft(i) - 40), Px(CellTop(i) - 40), Px(1400), Px(900), 4, 4);
    painter.setPen(QPen(QColor(160, 80, 40), 2));
    painter.drawLine(Px(1000), Px(2200), Px(11160), Px(2200));
    painter.drawRect(Px(960), Px(1560), Px(10260), Px(6700));
    // Today's cell: a red frame, drawn over the cell's own.
    if (todayCell_ >= 0) {
        painter.setPen(QPen(kTodayFrame, 3));
        painter.drawRoundedRect(Px(CellLeft(todayCell_) - 40), Px(CellTop(todayCell_) - 40), Px(1400), Px(900), 4,
                                4);
    }
    QDialog::paintEvent(event);
}

}  // namespace tl
