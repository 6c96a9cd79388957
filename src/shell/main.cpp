// tenglan: the desktop program.
#include <QApplication>
#include <QScreen>

#include "shell/dialogs.h"
#include "shell/monthfrm.h"
#include "shell/program.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    tl::PrepareApplication(app);
    tl::QtDialogs dialogs;
    tl::MonthFrm frame(tl::ProgramFolder(), dialogs, [] { QCoreApplication::exit(0); });
    if (const QScreen* screen = frame.screen()) frame.setGeometry(screen->availableGeometry());
    frame.showMaximized();
    return app.exec();
}
