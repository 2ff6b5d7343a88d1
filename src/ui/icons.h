// The program's icon and the tool bar's glyphs, drawn in code so they need no image files and stay sharp
// at any scale.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

namespace tazen {

enum class Glyph
{
    Program, // a closed padlock over a page
    Add,
    Remove,
    Encrypt, // a closed padlock
    Decrypt, // an open padlock
    Settings
};

QIcon GlyphIcon(Glyph glyph);
// One size of the glyph, for an image control.
QPixmap GlyphPixmap(Glyph glyph, int size);

} // namespace tazen
