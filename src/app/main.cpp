// Starts TaZEN: the application, the main window, the message loop.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

bool isSet(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Qt would abort with a page about platform plugins; one line says more.
bool hasDisplay()
{
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char** argv)
{
    if (!hasDisplay()) {
        std::fputs("tazen: no display to open a window on (neither DISPLAY nor WAYLAND_DISPLAY is set); "
                   "start TaZEN from a desktop session.\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TaZEN"));
    tazen::TForm1 form1;
    form1.show();
    return QApplication::exec();
}
