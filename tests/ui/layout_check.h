// Checks that a fixed-layout dialog shows every text whole with this system's font.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>

#include <gtest/gtest.h>

namespace tazen::test {

// A plain frame drawn around other controls, which it may enclose.
inline bool isEnclosingFrame(const QWidget& frame, const QWidget& other)
{
    return frame.metaObject() == &QFrame::staticMetaObject && frame.geometry().contains(other.geometry());
}

// Every label and button shown shows its whole text, inside its parent, overlapping nothing; the buttons inside a
// group box are held to the same.
inline void expectNothingCutOff(const QWidget& dialog)
{
    // Controls the dialog keeps hidden until they help are not laid out until then.
    QList<QWidget*> controls = dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    controls.removeIf([](const QWidget* control) { return control->isHidden(); });
    for (const QWidget* control : controls) {
        const QString name = control->objectName();
        EXPECT_TRUE(dialog.rect().contains(control->geometry())) << name.toStdString();
        if (qobject_cast<const QLabel*>(control) || qobject_cast<const QAbstractButton*>(control)) {
            EXPECT_GE(control->width(), control->sizeHint().width()) << name.toStdString();
            EXPECT_GE(control->height(), control->sizeHint().height()) << name.toStdString();
        }
        for (const QWidget* other : controls) {
            if (other != control && !isEnclosingFrame(*control, *other) && !isEnclosingFrame(*other, *control)) {
                EXPECT_FALSE(control->geometry().intersects(other->geometry()))
                    << name.toStdString() << " overlaps " << other->objectName().toStdString();
            }
        }
        if (qobject_cast<const QGroupBox*>(control)) {
            EXPECT_GE(control->width(), control->minimumSizeHint().width()) << name.toStdString() << "'s title";
            expectNothingCutOff(*control);
        }
    }
}

} // namespace tazen::test
