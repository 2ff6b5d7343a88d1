// The main window's outer bounds as the settings file keeps them, in its [Visuals] section.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

class QWidget;

namespace tazen {

// The bounds the settings file holds (400, 250, 500 x 500 without it), kept to a size that can be seen and
// used; a window saved on a screen that is no longer there comes back on the one that is.
QRect LoadFrame();
// Writes the bounds, but only into a settings file that exists. A failed write is let go: the program ends
// all the same, and the next start uses what the file still holds.
void SaveFrame(const QRect& frame);
// The outer bounds to come back to: for a minimized, maximized or full-screen window not those of the whole
// screen or of a task-bar button, but of its normal geometry.
QRect OuterBounds(const QWidget& window);

} // namespace tazen
