// A Qt generic plugin that works the installed desktop program as a user
// would, through its windows alone: it types a name, picks the birth year
// 1985 (today may lie after the year list), starts the chart,
// opens the help window, saves the result, answers the message box and
// ends the program with its exit button. Nothing of the program is linked
// in; the program finds the plugin through Qt:
//
//   QT_PLUGIN_PATH=DIR QT_QPA_GENERIC_PLUGINS=tenglandriver tenglan
//
// with the plugin in DIR/generic; "tenglandriver:keep-open" leaves the
// program open with the saved report instead of ending it, for a picture.
// It prints what it saw, one line each:
// "report: ok", "help: <first line of the help window>", "message: <text
// of the message box after saving>". A step that does not come within 30 s
// ends the program with status 3.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGenericPlugin>
#include <QLineEdit>
#include <QMessageBox>
#include <QTextEdit>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

QWidget* FindWindow(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String(name) && w->isVisible()) return w;
        if (QWidget* child = w->findChild<QWidget*>(QLatin1String(name)); child && child->isVisible()) return child;
    }
    return nullptr;
}

void Say(const QString& line) {
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

// Clicks outside the current call: a click that opens a modal box returns
// only when the box is closed.
void ClickLater(QAbstractButton* button) {
    QTimer::singleShot(0, button, &QAbstractButton::click);
}

class Driver : public QObject {
public:
    explicit Driver(bool keepOpen) : keepOpen_(keepOpen) {
        clock_.start();
        connect(&timer_, &QTimer::timeout, this, [this] { Step(); });
        // Created while the application starts: the timer runs from the
        // first turn of the event loop.
        QMetaObject::invokeMethod(this, [this] { timer_.start(50); }, Qt::QueuedConnection);
    }

private:
    void Step() {
        QWidget* input = FindWindow("mainfrm");
        auto* report = input ? input->findChild<QTextEdit*>(QStringLiteral("RichTextBox1")) : nullptr;
        if (clock_.elapsed() > 30000) {
            std::fprintf(stderr, "frame driver: step %d did not come; the report box begins '%s'\n", step_,
                         report ? report->toPlainText().left(200).toUtf8().constData() : "");
            std::_Exit(3);
        }
        if (input == nullptr) return;
        auto button = [input](const char* name) { return input->findChild<QAbstractButton*>(QLatin1String(name)); };
        switch (step_) {
        case 0:  // a name and a birth year, then the start button
            input->findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("张三"));
            if (auto* year = input->findChild<QComboBox*>(QStringLiteral("Combo1")))
                year->setCurrentIndex(year->findText(QStringLiteral("1985")));
            button("Command1")->click();
            ++step_;
            break;
        case 1:  // the report, then the help button
            if (!report->toPlainText().contains(QStringLiteral("张三"))) return;
            Say(QStringLiteral("report: ok"));
            button("Command9")->click();
            ++step_;
            break;
        case 2:  // the help window's first line, then the save button
            if (QWidget* help = FindWindow("helpfrm")) {
                const auto* box = help->findChild<QTextEdit*>(QStringLiteral("RichTextBox1"));
                Say(QStringLiteral("help: ") + box->toPlainText().section(QLatin1Char('\n'), 0, 0));
                help->close();
                ClickLater(button("Command2"));
                ++step_;
            }
            break;
        case 3:  // the message box that answers the save
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                Say(QStringLiteral("message: ") + box->text());
                ClickLater(box->button(QMessageBox::Ok));
                ++step_;
            }
            break;
        case 4:  // the exit button, once the box is gone
            if (QApplication::activeModalWidget() != nullptr) return;
            if (keepOpen_) {
                timer_.stop();
                return;
            }
            ClickLater(button("Command10"));
            ++step_;
            break;
        default:
            break;
        }
    }

    QTimer timer_;
    QElapsedTimer clock_;
    bool keepOpen_ = false;
    int step_ = 0;
};

}  // namespace

class FrameDriverPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "frame_driver.json")
public:
    QObject* create(const QString& key, const QString& parameters) override {
        if (key != QLatin1String("tenglandriver")) return nullptr;
        return new Driver(parameters == QLatin1String("keep-open"));
    }
};

#include "frame_driver.moc"
