#include "archive/fields.h"
#include "gui/input/mainfrm.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QComboBox>
#include <QCompleter>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <algorithm>
#include <cerrno>

#include "archive/store.h"
#include "chart/date_check.h"
#include "chart/output.h"
#include "chart/run.h"
#include "place/daylight_saving.h"
#include "place/gazetteer.h"
#include "settings/program_settings.h"
#include "settings/settings.h"
#include "settings/zi_day_change.h"
#include "text/text_file.h"
#include "gui/toolkit/window_text.h"
#include "gui/toolkit/clicklabel.h"
#include "gui/toolkit/pictures.h"
#include "gui/toolkit/richtextbox.h"
#include "gui/toolkit/script_display.h"

namespace tl {

// The context of this window's texts in the translation.
constexpr const char* kTr = "tl::MainFrm";

namespace {

// Pure red, 0x00BBGGRR.
constexpr quint32 kRed = 0x0000FF;

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

void FillList(QComboBox* combo, InputList list) {
    QStringList items;
    for (const std::string& item : InputListItems(list)) items << Q(item);
    combo->addItems(items);
}

QComboBox* NewList(QWidget* parent, const char* name, int minimumChars) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setEditable(false);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    combo->setMinimumContentsLength(minimumChars);
    combo->setMaxVisibleItems(20);
    return combo;
}

template <typename W>
W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace

MainFrm::MainFrm(std::filesystem::path programFolder, Dialogs& dialogs, Clock clock, QWidget* parent)
    : QWidget(parent),
      programFolder_(std::move(programFolder)),
      dialogs_(dialogs),
      clock_(clock ? std::move(clock) : Clock([] { return QDateTime::currentDateTime(); })),
      frameClosing_([] { return false; }) {
    setObjectName(QStringLiteral("mainfrm"));
    WithTitle(this, kTr, QT_TR_NOOP("腾岚八字排盘系统专业版"));
    BuildControls();
    Initialise();
}

MainFrm::~MainFrm() = default;

void MainFrm::SetFrameClosingQuery(std::function<bool()> frameClosing) { frameClosing_ = std::move(frameClosing); }

void MainFrm::BuildControls() {
    // First row: labels and small boxes; second row: the fields. One grid,
    // so that each label stands over its field.
    auto* top = new QGridLayout;
    top->setHorizontalSpacing(4);
    top->setVerticalSpacing(6);
    enum Column { kLabel, kName, kGap1, kCountry, kProvince, kPlace, kGap2, kYear };
    top->setColumnMinimumWidth(kGap1, 18);
    top->setColumnMinimumWidth(kGap2, 18);

    // Name and sex.
    top->addWidget(WithText(new QLabel(this), kTr, QT_TR_NOOP("姓名:")), 0, kLabel);
    Text1 = Named(new QLineEdit(this), "Text1");
    Text1->setFixedWidth(fontMetrics().horizontalAdvance(tr("腾")) * 9);
    top->addWidget(Text1, 0, kName, Qt::AlignLeft);
    top->addWidget(WithText(new QLabel(this), kTr, QT_TR_NOOP("性别:")), 1, kLabel);
    auto* sexFrame = Named(new QFrame(this), "Frame1");
    sexFrame->setFrameShape(QFrame::StyledPanel);
    auto* sexRow = new QHBoxLayout(sexFrame);
    sexRow->setContentsMargins(6, 1, 6, 1);
    Option1 = Named(WithText(new QRadioButton(sexFrame), kTr, QT_TR_NOOP("男")), "Option1");
    Option2 = Named(WithText(new QRadioButton(sexFrame), kTr, QT_TR_NOOP("女")), "Option2");
    sexRow->addWidget(Option1);
    sexRow->addSpacing(10);
    sexRow->addWidget(Option2);
    sexRow->addStretch();
    top->addWidget(sexFrame, 1, kName);

    // Birth province and place, and the true-solar-time box.
    top->addWidget(WithText(new QLabel(this), kTr, QT_TR_NOOP("出生地区:")), 0, kProvince);
    auto* solarRow = new QHBoxLayout;
    solarRow->setSpacing(2);
    Check2 = Named(new QCheckBox(this), "Check2");
    Label13 = Named(WithText(new ClickLabel(this), kTr, QT_TR_NOOP("真太阳时")), "Label13");
    solarRow->addWidget(Check2);
    solarRow->addWidget(Label13);
    BuildDaylightSavingControls(solarRow);
    solarRow->addStretch();
    top->addLayout(solarRow, 0, kPlace);
    Combo5 = NewList(this, "Combo5", 8);
    Combo6 = NewList(this, "Combo6", 8);
    top->addWidget(Combo5, 1, kProvince);
    top->addWidget(Combo6, 1, kPlace);
    BuildCountryControls(top, kCountry);
    top->addWidget(Text4, 1, kProvince);
    top->addWidget(Combo12, 1, kPlace);

    // Birth date and time: each list followed by its unit, the red hour label
    // above "时".
    top->addWidget(WithText(new QLabel(this), kTr, QT_TR_NOOP("出生年辰:")), 0, kYear, 1, 2);
    auto* calendarRow = new QHBoxLayout;
    calendarRow->setSpacing(2);
    auto* calendarGroup = new QButtonGroup(this);
    Option3 = Named(new QRadioButton(this), "Option3");
    Option4 = Named(new QRadioButton(this), "Option4");
    calendarGroup->addButton(Option3);
    calendarGroup->addButton(Option4);
    Label11 = Named(WithText(new ClickLabel(this), kTr, QT_TR_NOOP("公历")), "Label11");
    Label12 = Named(WithText(new ClickLabel(this), kTr, QT_TR_NOOP("农历")), "Label12");
    Check1 = Named(new QCheckBox(this), "Check1");
    Label10 = Named(WithText(new ClickLabel(this), kTr, QT_TR_NOOP("是闰月")), "Label10");
    calendarRow->addWidget(Option3);
    calendarRow->addWidget(Label11);
    calendarRow->addSpacing(8);
    calendarRow->addWidget(Option4);
    calendarRow->addWidget(Label12);
    calendarRow->addSpacing(8);
    calendarRow->addWidget(Check1);
    calendarRow->addWidget(Label10);
    calendarRow->addStretch();
    top->addLayout(calendarRow, 0, kYear + 2, 1, 5);
    Label2 = Named(new QLabel(this), "Label2");
    QPalette red = Label2->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    Label2->setPalette(red);
    top->addWidget(Label2, 0, kYear + 7, Qt::AlignCenter);
    Combo1 = NewList(this, "Combo1", 4);
    Combo2 = NewList(this, "Combo2", 2);
    Combo3 = NewList(this, "Combo3", 2);
    Combo4 = NewList(this, "Combo4", 2);
    Combo9 = NewList(this, "Combo9", 2);
    const std::pair<QComboBox*, const char*> fields[] = {
        {Combo1, QT_TR_NOOP("年")}, {Combo2, QT_TR_NOOP("月")}, {Combo3, QT_TR_NOOP("日")},
        {Combo4, QT_TR_NOOP("时")}, {Combo9, QT_TR_NOOP("分")}};
    int column = kYear;
    for (const auto& [combo, unit] : fields) {
        top->addWidget(combo, 1, column++);
        top->addWidget(WithText(new QLabel(this), kTr, unit), 1, column++);
    }
    BuildDayChangeControls(top, column++);
    top->setColumnStretch(column, 1);

    // The report box.
    RichTextBox1 = Named(new RichTextBox(this), "RichTextBox1");
    RichTextBox1->installEventFilter(this);

    auto* left = new QVBoxLayout;
    left->addLayout(top);
    left->addWidget(RichTextBox1, 1);

    // The command buttons, in a column at the right edge.
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(6);
    const std::pair<QPushButton**, std::pair<const char*, const char*>> commands[] = {
        {&Command1, {"Command1", QT_TR_NOOP("开始排盘(&D)")}}, {&Command2, {"Command2", QT_TR_NOOP("保存结果(&S)")}},
        {&Command7, {"Command7", QT_TR_NOOP("另存为...(&Y)")}}, {&Command3, {"Command3", QT_TR_NOOP("打印结果(&P)")}},
        {&Command12, {"Command12", QT_TR_NOOP("导出图片")}},     {&Command13, {"Command13", QT_TR_NOOP("导出PDF")}},
        {&Command4, {"Command4", QT_TR_NOOP("读取存档(&R)")}}, {&Command5, {"Command5", QT_TR_NOOP("信息窗口(&M)")}},
        {&Command8, {"Command8", QT_TR_NOOP("万年日历(&W)")}}, {&Command11, {"Command11", QT_TR_NOOP("流年流月(&L)")}},
        {&Command6, {"Command6", QT_TR_NOOP("系统设置(&N)")}}, {&Command9, {"Command9", QT_TR_NOOP("系统帮助(&H)")}},
        {&Command10, {"Command10", QT_TR_NOOP("退出系统(&X)")}},
    };
    for (const auto& [slot, texts] : commands) {
        *slot = Named(WithText(new QPushButton(this), kTr, texts.second), texts.first);
        (*slot)->setAutoDefault(false);
        (*slot)->setMinimumHeight(30);
        buttons->addWidget(*slot);
    }
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    // The extra-information panel, over the lower right part of the report
    // box.
    Picture2 = Named(new QFrame(this), "Picture2");
    Picture2->setFrameShape(QFrame::Panel);
    Picture2->setFrameShadow(QFrame::Raised);
    Picture2->setAutoFillBackground(true);
    auto* panel = new QGridLayout(Picture2);
    panel->setContentsMargins(6, 4, 6, 6);
    Label7 = Named(WithText(new QLabel(Picture2), kTr, QT_TR_NOOP("添加在结尾的信息:")), "Label7");
    Image1 = Named(new ClickLabel(Picture2), "Image1");
    Image1->setPixmap(PanelPicture());
    WithTip(Image1, kTr, QT_TR_NOOP("隐藏"));
    Image1->setCursor(Qt::PointingHandCursor);
    Text3 = Named(new QPlainTextEdit(Picture2), "Text3");
    Text3->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    panel->addWidget(Label7, 0, 0);
    panel->addWidget(Image1, 0, 1, Qt::AlignRight);
    panel->addWidget(Text3, 1, 0, 1, 2);
    Picture2->resize(300, 170);
    Picture2->raise();
    // The panel starts hidden, so that it covers none of the report; the
    // button "信息窗口" and the window menu show it.
    Picture2->hide();

    // The keyboard walks the fields in reading order: name, sex, calendar,
    // date and time, birthplace, then the buttons.
    QWidget* const tabOrder[] = {Text1,  Option1, Option2, Option3,  Option4,  Check1,   Combo1,   Combo2,
                                 Combo3, Combo4,  Combo9,  Check2,   Combo11,  Combo5,   Combo6,   Text4,
                                 Combo12, Command1, Command2,
                                 Command7, Command3, Command12, Command13, Command4, Command5, Command8, Command6, Command9, Command10,
                                 RichTextBox1};
    for (std::size_t i = 0; i + 1 < std::size(tabOrder); ++i) setTabOrder(tabOrder[i], tabOrder[i + 1]);

    // Events.
    connect(Option1, &QRadioButton::clicked, this, [this] { isMale_ = true; });
    connect(Option2, &QRadioButton::clicked, this, [this] { isMale_ = false; });
    connect(Option3, &QRadioButton::clicked, this, [this] { isSolarInput_ = true; });
    connect(Option4, &QRadioButton::clicked, this, [this] { isSolarInput_ = false; });
    connect(Label11, &ClickLabel::clicked, this, [this] { Option3->click(); });
    connect(Label12, &ClickLabel::clicked, this, [this] { Option4->click(); });
    // A ticked box is cleared, any other state becomes ticked.
    connect(Label10, &ClickLabel::clicked, this,
            [this] { Check1->setCheckState(Check1->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked); });
    connect(Label13, &ClickLabel::clicked, this,
            [this] { Check2->setCheckState(Check2->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked); });
    connect(Combo4, &QComboBox::currentIndexChanged, this, [this](int hour) { Label2->setText(Shown(HourLabel(hour))); });
    connect(Combo5, &QComboBox::currentIndexChanged, this, [this] { FillPlaceList(); });
    connect(Image1, &ClickLabel::clicked, Picture2, &QWidget::hide);

    connect(Command1, &QPushButton::clicked, this, &MainFrm::StartChart);
    connect(Command2, &QPushButton::clicked, this, &MainFrm::SaveResult);
    connect(Command7, &QPushButton::clicked, this, &MainFrm::SaveResultAs);
    connect(Command3, &QPushButton::clicked, this, &MainFrm::PrintResult);
    connect(Command12, &QPushButton::clicked, this, &MainFrm::ExportPicture);
    connect(Command13, &QPushButton::clicked, this, &MainFrm::ExportPdf);
    connect(Command4, &QPushButton::clicked, this, &MainFrm::archiveRequested);
    connect(Command5, &QPushButton::clicked, this, &MainFrm::ToggleInfoPanel);
    connect(Command8, &QPushButton::clicked, this, &MainFrm::calendarRequested);
    connect(Command6, &QPushButton::clicked, this, &MainFrm::settingsRequested);
    connect(Command9, &QPushButton::clicked, this, &MainFrm::helpRequested);
    connect(Command10, &QPushButton::clicked, this, &MainFrm::exitRequested);
    connect(Command11, &QPushButton::clicked, this, &MainFrm::periodsRequested);
    Command11->setEnabled(false);
    setTabOrder(Command8, Command11);
    ConnectClockControls();
}

void MainFrm::Initialise() {
    // 1. Male and Gregorian input, no leap month.
    Option1->setChecked(true);
    Option3->setChecked(true);
    isMale_ = true;
    isSolarInput_ = true;
    Check1->setChecked(false);
    // 2. The greeting.
    RichTextBox1->SetText(tr("腾岚八字排盘系统:"));
    // 3. The display settings.
    ApplyDisplaySettings();
    // 4.-7. The date and time lists with today's date and time selected.
    const QDateTime now = clock_();
    const QDate today = now.date();
    const QTime time = now.time();
    const DateTimePositions p =
        TodayPositions({today.year(), today.month(), today.day()}, TimeOfDay::Hms(time.hour(), time.minute()));
    FillList(Combo1, InputList::Year);
    FillList(Combo2, InputList::Month);
    FillList(Combo3, InputList::Day);
    Combo1->setCurrentIndex(p.year);
    Combo2->setCurrentIndex(p.month);
    Combo3->setCurrentIndex(p.day);
    FillList(Combo4, InputList::Hour);
    Combo4->setCurrentIndex(p.hour);
    Label2->setText(Shown(HourLabel(Combo4->currentIndex())));
    FillList(Combo9, InputList::Minute);
    Combo9->setCurrentIndex(p.minute);
    // 8. The countries, 中国 selected; the provinces, "不考虑" selected,
    // which fills the place list.
    FillCountryList();
    FillProvinceList();
    InitialiseDayChange();
    UpdateDaylightSaving();
    // The extra-information panel.
    Text3->setPlainText(tr("  预测:\n"));
    // The name is what the user types first.
    Text1->setFocus();
}

void MainFrm::ApplyDisplaySettings() {
    // The style kept in shezhi.ini, or the defaults (宋体 10.5 pt, black on
    // the system window colour): background, font, then the colour of the
    // text the box holds now.
    ApplyStyle(*RichTextBox1, WithFullFontName(LoadSettings(programFolder_), programFolder_));
}

void MainFrm::FillProvinceList() {
    QStringList items;
    for (int i = 0; i < kProvinceCount; ++i) items << Shown(ProvinceItem(i));
    Combo5->clear();
    Combo5->addItems(items);
    Combo5->setCurrentIndex(0);
    FillPlaceList();
}

void MainFrm::FillPlaceList() {
    if (Combo11->currentIndex() > 0) {
        FillCityList();
        return;
    }
    QStringList items;
    for (std::string_view place : tl::FillPlaceList(Combo5->currentIndex())) items << Shown(place);
    Combo6->clear();
    Combo6->addItems(items);
    Combo6->setCurrentIndex(items.isEmpty() ? -1 : 0);
}

bool MainFrm::InfoPanelShown() const { return !Picture2->isHidden(); }

void MainFrm::ToggleInfoPanel() {
    Picture2->setHidden(!Picture2->isHidden());
    if (!Picture2->isHidden()) {
        PlaceInfoPanel();
        Picture2->raise();
    }
}

void MainFrm::PlaceInfoPanel() {
    // The lower right corner of the report box, clear of its scroll bars.
    const QRect box = RichTextBox1->geometry();
    const int right = box.right() - RichTextBox1->verticalScrollBar()->sizeHint().width() - 4;
    const int bottom = box.bottom() - RichTextBox1->horizontalScrollBar()->sizeHint().height() - 4;
    Picture2->move(std::max(box.left(), right - Picture2->width()), std::max(box.top(), bottom - Picture2->height()));
}

bool MainFrm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == RichTextBox1 && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        PlaceInfoPanel();
    return QWidget::eventFilter(watched, event);
}

void MainFrm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange && Combo10) {
        Label2->setText(Shown(HourLabel(Combo4->currentIndex())));
        for (int i = 0; i < Combo5->count(); ++i) Combo5->setItemText(i, Shown(ProvinceItem(i)));
        const std::vector<std::string_view> places = tl::FillPlaceList(Combo5->currentIndex());
        for (int i = 0; i < Combo6->count() && i < static_cast<int>(places.size()); ++i)
            Combo6->setItemText(i, Shown(places[static_cast<std::size_t>(i)]));
        Combo10->setItemText(0, tr("23点"));
        Combo10->setItemText(1, tr("0点"));
    }
    QWidget::changeEvent(event);
}

void MainFrm::closeEvent(QCloseEvent* event) {
    // The window closes only with the frame.
    if (frameClosing_()) event->accept();
    else event->ignore();
}

InputSelections MainFrm::Selections() const {
    InputSelections in;
    in.nameText = Text1->text().toStdString();
    in.isMale = isMale_;
    in.isSolarInput = isSolarInput_;
    in.positions = {Combo1->currentIndex(), Combo2->currentIndex(), Combo3->currentIndex(), Combo4->currentIndex(),
                    Combo9->currentIndex()};
    in.leapTicked = Check1->isChecked();
    in.trueSolarTicked = Check2->isChecked();
    in.provincePosition = Combo5->currentIndex();
    in.placePosition = Combo6->currentIndex();
    in.ziDayChange = Combo10->currentIndex() == 1 ? ZiDayChange::kAtMidnight : ZiDayChange::kAt23;
    in.daylightSavingTicked = Check3->isChecked();
    in.world = SelectedWorldPlace();
    return in;
}

MessageResult MainFrm::Tip(const QString& text, MessageIcon icon, MessageButtons buttons) {
    return dialogs_.Message(this, text, tr("提示"), icon, buttons);
}

void MainFrm::StartChart() {
    if (!PlaceComplete()) {
        // A birthplace abroad without a city, or without a valid longitude
        // and zone: that is what the user has to give.
        (Combo11->currentIndex() == Combo11->count() - 1 ? static_cast<QWidget*>(Text4) : Combo6)->setFocus();
        return;
    }
    const std::optional<ChartRequest> request = ReadRequest(Selections());
    if (!request) {
        // No year selected (today lies after the last year of the list):
        // nothing to run; the year is what the user has to pick.
        Combo1->setFocus();
        return;
    }
    // A date that does not exist (30 February, a leap month the lunar year
    // lacks, day 30 of a 29-day lunar month) is not charted as another day.
    if (const std::optional<DateProblem> problem = ImpossibleDate(*request)) {
        Tip(Q(DateProblemText(*request, *problem)), MessageIcon::Information);
        Combo3->setFocus();
        return;
    }
    if (request->personName.empty() &&
        Tip(tr("没有输入姓名,继续吗?"), MessageIcon::Question, MessageButtons::OkCancel) ==
            MessageResult::Cancel) {
        Text1->setFocus();
        return;
    }
    const Chart chart = RunCalendar(*request);
    if (!chart.daylightSavingKnown && !daylightSavingUnknownTold_) {
        daylightSavingUnknownTold_ = true;
        Tip(QStringLiteral("无法读取系统的时区数据库, 夏令时无从得知, 出生时间按标准时间计算:\n") +
                Q(chart.daylightSavingProblem),
            MessageIcon::Information);
    }
    const ReportHeader header = ReportHeaderOf(*request, Text1->text().toStdString());
    const Report report = BuildReport(chart, header);
    // In the script the windows show: every line keeps its characters, so
    // the red passages stay where they were.
    ShowReport(Shown(report.text), report.red);
    current_ = ArchiveFields(chart, request->personName, header.provinceItem, header.placeItem);
    chart_ = chart;
    Command11->setEnabled(true);
    recordOfReport_ = current_;
    exportStem_ = Q(request->personName).trimmed();
    if (exportStem_.isEmpty()) exportStem_ = tr("八字");
    exportStem_ += QStringLiteral("_") + QDate(chart.birthYear, chart.birthMonth, 1).addDays(chart.birthDay - 1)
                                            .toString(QStringLiteral("yyyy-MM-dd"));
}

void MainFrm::ShowReport(const QString& text, const std::vector<TextRange>& red) {
    RichTextBox1->SetText(text);
    RichTextBox1->setFocus();
    // The title passage is coloured last and stays selected.
    for (const TextRange& r : red) {
        RichTextBox1->SelectRange(r.start, r.length);
        RichTextBox1->SetSelColor(kRed);
    }
    // No passage stays selected, so that the next key does not replace the
    // title; the caret waits at the top. Selecting the passages scrolled
    // down to them; the report is read from its title.
    RichTextBox1->SelectRange(0, 0);
    RichTextBox1->ShowTop();
}

QString MainFrm::ExtraTextAppendix() const {
    return Q(tl::ExtraTextAppendix(ToCrLf(Text3->toPlainText().toStdString())));
}

void MainFrm::SaveResult() {
    if (IsEmptyReport(RichTextBox1->Text().toStdString())) {
        Tip(tr("没有文本数据,请先计算."), MessageIcon::Information);
        return;
    }
    // Only a report with a record of its own goes into the archive: an
    // imported text, or the greeting before any run, would be filed under
    // nobody's (or somebody else's) name and birth.
    if (!recordOfReport_) {
        Tip(tr("这份报告没有排盘记录,不能存入存档;请先排盘,或用另存为保存."), MessageIcon::Information);
        return;
    }
    // The report's record goes into reco.dat and the box text, with the
    // extra text after it, into save/<position>.txt. The box keeps the
    // report as it is. While another program keeps the archive locked the
    // user may try again.
    const QString text = RichTextBox1->Text() + ExtraTextAppendix();
    SaveOutcome outcome = SaveChart(programFolder_, *recordOfReport_, text.toStdString(), OleNow());
    while (outcome.busy &&
           Tip(Shown(outcome.message), MessageIcon::Question, MessageButtons::RetryCancel) == MessageResult::Ok)
        outcome = SaveChart(programFolder_, *recordOfReport_, text.toStdString(), OleNow());
    if (!outcome.busy) Tip(Shown(outcome.message), MessageIcon::Information);
}

void MainFrm::SaveResultAs() {
    if (IsEmptyReport(RichTextBox1->Text().toStdString())) {
        Tip(tr("没有文本数据,请先计算."), MessageIcon::Information);
        return;
    }
    const std::optional<SaveTarget> target =
        dialogs_.SaveTextFileName(this, tr("计算结果另存为...[腾岚四柱排盘]"),
                                  QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt"), 2);
    if (!target) return;
    const QString& path = target->path;
    if (QFile::exists(path) &&
        Tip(tr("文件已存在,是否覆盖原文件?"), MessageIcon::Question, MessageButtons::OkCancel) ==
            MessageResult::Cancel)
        return;
    if (!RichTextBox1->SaveFile(path, ExtraTextAppendix(), target->encoding)) {
        const int error = errno;
        Tip(Q(WriteFailureMessage(QFile::encodeName(path).toStdString(), error)), MessageIcon::Information);
        return;
    }
    Tip(tr("文件保存成功!"), MessageIcon::Information);
}

void MainFrm::PrintResult() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!dialogs_.SetUpPrinter(this, *printer_)) return;
    RichTextBox1->PrintTo(*printer_, ExtraTextAppendix());
}

// A text from the archive or a file is no longer the last run's report:
// its chart is forgotten.
bool MainFrm::LoadReportFile(const std::filesystem::path& file, const ChartRecord& record) {
    if (!RichTextBox1->LoadFile(file)) return false;
    chart_.reset();
    Command11->setEnabled(false);
    recordOfReport_ = record;
    exportStem_.clear();  // a saved report: its record is not known here
    return true;
}

bool MainFrm::ImportReportFile(const std::filesystem::path& file) {
    if (!RichTextBox1->ImportFile(file)) return false;
    chart_.reset();
    Command11->setEnabled(false);
    recordOfReport_.reset();
    exportStem_ = QFileInfo(QFile::decodeName(QByteArray::fromStdString(file.string()))).completeBaseName();
    return true;
}

void MainFrm::FillBirth(const Date& date, int hour, int minute, bool dayChangesAt23) {
    Option3->click();
    Check1->setChecked(false);
    Check2->setChecked(false);
    const DateTimePositions p = TodayPositions(date, TimeOfDay::Hms(hour, minute));
    Combo1->setCurrentIndex(p.year);
    Combo2->setCurrentIndex(p.month);
    Combo3->setCurrentIndex(p.day);
    Combo4->setCurrentIndex(p.hour);
    Combo9->setCurrentIndex(p.minute);
    Combo10->setCurrentIndex(dayChangesAt23 ? 0 : 1);
    // Each change above ticks the daylight-saving box again where the time
    // lies in it; the birth is a standard-time clock minute.
    Check3->setChecked(false);
}

void MainFrm::Rechart(const ChartRecord& record) {
    const std::optional<InputSelections> in = SelectionsOfRecord(record);
    if (!in) {
        Tip(tr("这条记录没有出生日期,不能重新排盘."), MessageIcon::Information);
        return;
    }
    Text1->setText(Q(in->nameText));
    (in->isMale ? Option1 : Option2)->click();
    Option3->click();
    Check1->setChecked(false);
    const DateTimePositions& p = in->positions;
    Combo1->setCurrentIndex(p.year);
    Combo2->setCurrentIndex(p.month);
    Combo3->setCurrentIndex(p.day);
    Combo4->setCurrentIndex(p.hour);
    Combo9->setCurrentIndex(p.minute);
    Combo5->setCurrentIndex(in->provincePosition);
    Combo6->setCurrentIndex(in->placePosition);
    // The saved time is already standard time, and true solar time where
    // it was asked for: neither correction is made again.
    Check2->setChecked(false);
    Check3->setChecked(false);
    StartChart();
}

// Exports. A picture or a PDF goes to a client or into a chat: the report
// as printing lays it out, with the extra text the printout would end with,
// while the box keeps its text, so that exporting twice gives the same
// file.
QString MainFrm::SuggestedExportPath(int location, const QString& suffix) const {
    // Characters no file system of the user's takes are replaced.
    QString stem = exportStem_;
    for (QChar& c : stem)
        if (c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c)) c = QLatin1Char('_');
    while (stem.startsWith(QLatin1Char('.'))) stem.remove(0, 1);
    if (stem.trimmed().isEmpty()) stem = tr("腾岚八字排盘");
    QString folder = QStandardPaths::writableLocation(static_cast<QStandardPaths::StandardLocation>(location));
    if (folder.isEmpty()) folder = QDir::homePath();
    return QDir(folder).filePath(stem + suffix);
}

bool MainFrm::MayReplace(const QStringList& paths) {
    const bool exists = std::any_of(paths.begin(), paths.end(), [](const QString& p) { return QFileInfo::exists(p); });
    return !exists || Tip(tr("文件已存在,是否覆盖原文件?"), MessageIcon::Question,
                          MessageButtons::OkCancel) == MessageResult::Ok;
}

std::optional<QString> MainFrm::AskExportPath(const QString& title, const QString& filter, const QString& suggested,
                                              const QString& suffix) {
    if (IsEmptyReport(RichTextBox1->Text().toStdString())) {
        Tip(tr("没有文本数据,请先计算."), MessageIcon::Information);
        return std::nullopt;
    }
    std::optional<QString> path = dialogs_.ExportFileName(this, title, filter, suggested);
    if (!path || path->isEmpty()) return std::nullopt;
    if (!path->endsWith(suffix, Qt::CaseInsensitive)) *path += suffix;
    return path;
}

void MainFrm::ExportPicture() {
    const QString suffix = QStringLiteral(".png");
    const std::optional<QString> path =
        AskExportPath(tr("导出图片...[腾岚四柱排盘]"), tr("PNG 图片 (*.png)|*.png"),
                      SuggestedExportPath(QStandardPaths::PicturesLocation, suffix), suffix);
    if (!path) return;
    const QString appendix = ExtraTextAppendix();
    const int count = RichTextBox1->PictureCount(appendix);
    // One picture keeps the chosen name; several are numbered after it,
    // name-1.png, name-2.png ..., so that they sort in reading order.
    QStringList paths;
    if (count == 1) {
        paths << *path;
    } else {
        const QString stem = path->left(path->size() - suffix.size());
        const int digits = static_cast<int>(QString::number(count).size());
        for (int i = 0; i < count; ++i)
            paths << stem + QStringLiteral("-%1").arg(i + 1, digits, 10, QLatin1Char('0')) + suffix;
    }
    if (!MayReplace(paths)) return;
    const bool written = RichTextBox1->DrawPictures(appendix, [&](int index, const QImage& picture) {
        QSaveFile file(paths.value(index));
        return index < paths.size() && file.open(QIODevice::WriteOnly) && picture.save(&file, "PNG") && file.commit();
    });
    if (!written) {
        Tip(tr("文件保存失败!"), MessageIcon::Information);
        return;
    }
    Tip(tr("文件保存成功!"), MessageIcon::Information);
}

void MainFrm::ExportPdf() {
    const QString suffix = QStringLiteral(".pdf");
    const std::optional<QString> path =
        AskExportPath(tr("导出PDF...[腾岚四柱排盘]"), tr("PDF 文件 (*.pdf)|*.pdf"),
                      SuggestedExportPath(QStandardPaths::DocumentsLocation, suffix), suffix);
    if (!path || !MayReplace({*path})) return;
    QSaveFile file(*path);
    const QString title = exportStem_.isEmpty() ? tr("腾岚八字排盘") : exportStem_;
    if (!file.open(QIODevice::WriteOnly) ||
        !RichTextBox1->WritePdf(file, title, ExtraTextAppendix()) || !file.commit()) {
        Tip(tr("文件保存失败!"), MessageIcon::Information);
        return;
    }
    Tip(tr("文件保存成功!"), MessageIcon::Information);
}

void MainFrm::ClearExtraText() { Text3->clear(); }

// The 子 hour rule: a small list after the time fields, "23点" (the day
// pillar changes at 23:00) or "0点" (at midnight). The choice is kept in the
// program folder at every change and read back at start.
void MainFrm::BuildDayChangeControls(QGridLayout* top, int column) {
    Label14 = Named(WithText(new QLabel(this), kTr, QT_TR_NOOP("子时换日")), "Label14");
    Combo10 = NewList(this, "Combo10", 3);
    Combo10->addItems({tr("23点"), tr("0点")});
    top->addWidget(Label14, 0, column, Qt::AlignLeft);
    top->addWidget(Combo10, 1, column);
    connect(Combo10, &QComboBox::currentIndexChanged, this,
            [this](int position) { StoreZiDayChange(programFolder_, position == 1 ? ZiDayChange::kAtMidnight : ZiDayChange::kAt23); });
}

void MainFrm::InitialiseDayChange() {
    const QSignalBlocker quiet(Combo10);
    Combo10->setCurrentIndex(LoadZiDayChange(programFolder_) == ZiDayChange::kAtMidnight ? 1 : 0);
}

// The daylight-saving box beside the true-solar-time box: ticked whenever
// the selected date and time lie in daylight saving time, unticked
// otherwise; the user may untick it.
void MainFrm::BuildDaylightSavingControls(QHBoxLayout* row) {
    Check3 = Named(new QCheckBox(this), "Check3");
    Label15 = Named(WithText(new ClickLabel(this), kTr, QT_TR_NOOP("夏令时")), "Label15");
    row->addSpacing(6);
    row->addWidget(Check3);
    row->addWidget(Label15);
}

// Once every control exists: the two clock controls join the keyboard order,
// and every change of the date, the time, the calendar or the 子 hour rule
// sets the daylight-saving box again.
void MainFrm::ConnectClockControls() {
    setTabOrder(Combo9, Combo10);
    setTabOrder(Check2, Check3);
    connect(Label15, &ClickLabel::clicked, this,
            [this] { Check3->setCheckState(Check3->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked); });
    for (QComboBox* list : {Combo1, Combo2, Combo3, Combo4, Combo9, Combo10})
        connect(list, &QComboBox::currentIndexChanged, this, &MainFrm::UpdateDaylightSaving);
    for (QAbstractButton* box : {static_cast<QAbstractButton*>(Option3), static_cast<QAbstractButton*>(Option4),
                                 static_cast<QAbstractButton*>(Check1)})
        connect(box, &QAbstractButton::toggled, this, &MainFrm::UpdateDaylightSaving);
}

void MainFrm::UpdateDaylightSaving() {
    InputSelections in = Selections();
    // Called from the calendar options' own toggles, before their clicks
    // are recorded.
    in.isSolarInput = !Option4->isChecked();
    const std::optional<ChartRequest> request = ReadRequest(in);
    // A place abroad not yet complete has no clock to read.
    Check3->setChecked(request && PlaceComplete() && DaylightSavingOf(*request).inEffect);
}

// The country list in the first column of the birthplace: 中国 (the
// provinces as always), the countries of the world list by their Chinese
// names, and "自定义经纬度" (a longitude and a zone). The longitude field and
// the zone list take the place of the province and place lists while
// "自定义经纬度" is chosen.
void MainFrm::BuildCountryControls(QGridLayout* top, int column) {
    Label16 = Named(WithText(new QLabel(this), kTr, QT_TR_NOOP("国家/地区:")), "Label16");
    Combo11 = NewList(this, "Combo11", 13);
    // As wide as "自定义经纬度", not as the longest country name.
    Combo11->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    top->addWidget(Label16, 0, column);
    top->addWidget(Combo11, 1, column);
    Text4 = Named(new QLineEdit(this), "Text4");
    Text4->setPlaceholderText(QStringLiteral("经度,东经为正"));
    Text4->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("腾")) * 8);
    Combo12 = NewList(this, "Combo12", 16);
    Combo12->setEditable(true);
    Combo12->setInsertPolicy(QComboBox::NoInsert);
    QStringList zones;
    for (std::string_view zone : ZoneNames()) zones << Q(zone);
    Combo12->addItems(zones);
    Combo12->completer()->setCompletionMode(QCompleter::PopupCompletion);
    Combo12->completer()->setFilterMode(Qt::MatchContains);
    Combo12->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    Combo12->setCurrentIndex(-1);
    Combo12->setEditText(QString());
    Text4->hide();
    Combo12->hide();
    connect(Combo11, &QComboBox::currentIndexChanged, this, [this] { CountryChanged(); });
    connect(Combo6, &QComboBox::currentIndexChanged, this, [this] { UpdatePlaceState(); });
    connect(Combo6, &QComboBox::editTextChanged, this, [this] { UpdatePlaceState(); });
    connect(Text4, &QLineEdit::textChanged, this, [this] { UpdatePlaceState(); });
    connect(Combo12, &QComboBox::editTextChanged, this, [this] { UpdatePlaceState(); });
    connect(Combo12, &QComboBox::currentIndexChanged, this, [this] { UpdatePlaceState(); });
}

void MainFrm::FillCountryList() {
    const QSignalBlocker quiet(Combo11);
    QStringList items{QStringLiteral("中国")};
    countryCodes_.clear();
    for (const WorldCountry& c : WorldCountries()) {
        countryCodes_.push_back(c.code);
        items << Q(c.name);
    }
    items << QStringLiteral("自定义经纬度");
    Combo11->clear();
    Combo11->addItems(items);
    Combo11->setCurrentIndex(0);
}

void MainFrm::CountryChanged() {
    const int position = Combo11->currentIndex();
    const bool custom = position == Combo11->count() - 1;
    const bool world = position > 0 && !custom;
    Combo5->setVisible(!custom);
    Combo6->setVisible(!custom);
    Text4->setVisible(custom);
    Combo12->setVisible(custom);
    shownCities_.clear();
    if (world) {
        // The regions, "全部" first; the place list takes typed names.
        const QSignalBlocker quiet(Combo5);
        QStringList regions{QStringLiteral("全部")};
        for (std::string_view region : RegionsOf(countryCodes_[static_cast<std::size_t>(position - 1)]))
            regions << Q(region);
        Combo5->clear();
        Combo5->addItems(regions);
        Combo5->setCurrentIndex(0);
        Combo6->setEditable(true);
        Combo6->setInsertPolicy(QComboBox::NoInsert);
        FillCityList();
    } else if (!custom) {
        Combo6->setEditable(false);
        FillProvinceList();
    }
    UpdatePlaceState();
}

void MainFrm::FillCityList() {
    const int position = Combo11->currentIndex();
    if (position < 1 || position > static_cast<int>(countryCodes_.size())) return;
    std::optional<std::string_view> region;
    const std::string chosen = Combo5->currentText().toStdString();
    if (Combo5->currentIndex() > 0) region = chosen;
    shownCities_ = CitiesOf(countryCodes_[static_cast<std::size_t>(position - 1)], region);
    QStringList items;
    for (const WorldCity& c : shownCities_)
        items << (c.name == c.latin ? Q(c.name) : Q(c.name) + QLatin1Char(' ') + Q(c.latin));
    Combo6->clear();
    Combo6->addItems(items);
    Combo6->setCurrentIndex(items.isEmpty() ? -1 : 0);
    // A typed name, Chinese or Latin, offers the cities it fits; what is
    // typed stays as typed (see SelectedWorldPlace).
    Combo6->completer()->setCompletionMode(QCompleter::PopupCompletion);
    Combo6->completer()->setFilterMode(Qt::MatchContains);
    Combo6->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    UpdatePlaceState();
}

std::optional<WorldPlace> MainFrm::SelectedWorldPlace() const {
    const int position = Combo11->currentIndex();
    if (position <= 0) return std::nullopt;
    if (position == Combo11->count() - 1)
        return PlaceByLongitude(Text4->text().trimmed().toStdString(), Combo12->currentText().trimmed().toStdString());
    // The city whose item the place list shows; for a typed text, the
    // largest city whose Chinese or Latin name begins with it.
    const QString text = Combo6->currentText().trimmed();
    const int city = Combo6->findText(text, Qt::MatchFixedString);
    if (city >= 0 && city < static_cast<int>(shownCities_.size()))
        return WorldPlaceOf(shownCities_[static_cast<std::size_t>(city)]);
    if (text.isEmpty()) return std::nullopt;
    const std::string typed = text.toStdString();
    for (const WorldCity& c : shownCities_) {
        if (c.name.starts_with(typed) || QString::fromUtf8(c.latin.data(), static_cast<qsizetype>(c.latin.size()))
                                             .startsWith(text, Qt::CaseInsensitive))
            return WorldPlaceOf(c);
    }
    return std::nullopt;
}

bool MainFrm::PlaceComplete() const { return Combo11->currentIndex() <= 0 || SelectedWorldPlace().has_value(); }

void MainFrm::UpdatePlaceState() {
    Command1->setEnabled(PlaceComplete());
    UpdateDaylightSaving();
}

}  // namespace tl
