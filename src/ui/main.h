// The main window: the file list, its modes and the commands that act on it.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cipher/blowfish.h"

#include <QMainWindow>

namespace tazen {

class TForm1 : public QMainWindow
{
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);

    // The one cipher component; every run keys it anew for each file and leaves it wiped.
    TBlowfish& Blowfish1() noexcept { return blowfish1_; }

private:
    TBlowfish blowfish1_;
};

} // namespace tazen
