// Writes the desktop's icons of 수리볼, drawn by the program's own artwork: the hicolor theme's sizes,
// one PNG each, into the folder given.
#include "Artwork.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: suriball_icons FOLDER\n", stderr);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (const int size : {48, 128, 256}) {
        const QString folder = out.filePath(QString::number(size) + QStringLiteral("x") + QString::number(size));
        if (!QDir().mkpath(folder)
            || !Artwork::programIcon(size).save(QDir(folder).filePath(QStringLiteral("kr.suriball.Suriball.png")))) {
            std::fprintf(stderr, "cannot write the %d px icon\n", size);
            return 1;
        }
    }
    return 0;
}
