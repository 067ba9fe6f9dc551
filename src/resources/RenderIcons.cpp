// Build step: writes the program icon as the PNG files of the hicolor icon
// theme, DIR/NxN/apps/nuvo.png for each size the window icon has.
#include "resources/Glyphs.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    for (int size : nuvo::kProgramIconSizes) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        if (!QDir().mkpath(folder) || !nuvo::programIconImage(size).save(folder + QStringLiteral("/nuvo.png"))) {
            std::fprintf(stderr, "cannot write %s/nuvo.png\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
