// tenglan_draw_icon: the program's icon as its windows draw it, written for
// the hicolor icon theme at the given sizes, one PNG file per size:
//
//   tenglan_draw_icon OUT_DIR SIZE...     writes OUT_DIR/<n>x<n>/apps/tenglan.png
//
// Run at build time; it needs no display.
#include <QDir>
#include <QGuiApplication>
#include <QPixmap>

#include <cstdio>

#include "gui/toolkit/pictures.h"

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: tenglan_draw_icon OUT_DIR SIZE...\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        bool ok = false;
        const int size = QByteArray(argv[i]).toInt(&ok);
        if (!ok || size < 16 || size > 1024) {
            std::fprintf(stderr, "tenglan_draw_icon: bad size '%s'\n", argv[i]);
            return 2;
        }
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(out).arg(size);
        const QString file = folder + QStringLiteral("/tenglan.png");
        if (!QDir().mkpath(folder) || !tl::IconPicture(size).save(file, "PNG")) {
            std::fprintf(stderr, "tenglan_draw_icon: cannot write '%s'\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
