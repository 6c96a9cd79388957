// tenglan: the desktop program.
#include <QApplication>
#include <QScreen>

#include <iostream>
#include <optional>
#include <string>

#include "folders/program_folder.h"
#include "gui/toolkit/dialogs.h"
#include "gui/toolkit/script_display.h"
#include "gui/shell/monthfrm.h"
#include "gui/shell/program.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    tl::PrepareApplication(app);
    tl::QtDialogs dialogs;
    // The folder of the executable when help.txt lies beside it, else the
    // user's data folder, made on the first start.
    std::string error;
    const std::optional<tl::ProgramFolder> folder = tl::ThisProgramFolder(error);
    if (!folder) {
        std::cerr << "tenglan: " << error << "\n";
        dialogs.Message(nullptr, QStringLiteral("无法建立程序文件夹:\n") + QString::fromStdString(error),
                        QStringLiteral("提示"), tl::MessageIcon::Information, tl::MessageButtons::Ok);
        return 1;
    }
    tl::SetDisplayScript(tl::StartScript(folder->files));
    tl::MonthFrm frame(*folder, dialogs, [] { QCoreApplication::exit(0); });
    if (const QScreen* screen = frame.screen()) frame.setGeometry(screen->availableGeometry());
    frame.showMaximized();
    return app.exec();
}
