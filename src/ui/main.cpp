// The main window: the file list, its modes and the commands that act on it.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main.h"

namespace tazen {

TForm1::TForm1(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("TaZEN"));
    resize(400, 250);
}

} // namespace tazen
