// Renders the program's icon as PNG files in the layout of an icon theme, for the desktop entry:
// FOLDER/<N>x<N>/apps/tazen.png for each size given.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/icons.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: tazen_icon FOLDER SIZE...\n");
        return 2;
    }
    // Runs during the build, which may have no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        char* end = nullptr;
        const long size = std::strtol(argv[i], &end, 10);
        if (*argv[i] == '\0' || *end != '\0' || size < 1 || size > 1024) {
            std::fprintf(stderr, "tazen_icon: not a size: %s\n", argv[i]);
            return 2;
        }
        const QString subfolder = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        const QString path = subfolder + QStringLiteral("/tazen.png");
        if (!QDir().mkpath(subfolder) ||
            !tazen::GlyphPixmap(tazen::Glyph::Program, static_cast<int>(size)).save(path, "PNG")) {
            std::fprintf(stderr, "tazen_icon: could not write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
