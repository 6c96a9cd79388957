// tenglan: the desktop program.
#include <QApplication>
#include <QScreen>

#include "gui/toolkit/dialogs.h"
#include "gui/shell/monthfrm.h"
#include "gui/shell/program.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    tl::PrepareApplication(app);
    tl::QtDialogs dialogs;
    tl::MonthFrm frame(tl::ProgramFolder(), dialogs, [] { QCoreApplication::exit(0); });
    if (const QScreen* screen = frame.screen()) frame.setGeometry(screen->availableGeometry());
    frame.showMaximized();
    return app.exec();
}
