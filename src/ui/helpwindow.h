// TaZEN's own help window, for a desktop where no browser opens the help file.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/interaction.h"

#include <QWidget>

class QTextBrowser;
class QToolButton;
class QUrl;

namespace tazen {

// The help file shown read-only, with Back and Forward; its own links are followed inside it, any other
// address goes to the desktop's opener. It stays open beside the main window, which it belongs to.
class THelpWindow : public QWidget
{
    Q_OBJECT

public:
    THelpWindow(Interaction& interaction, QWidget* owner);

    void ShowFile(const QString& path);

    QTextBrowser& Browser() const { return *browser_; }

private:
    void followLink(const QUrl& link);
    void showTitle();

    Interaction& interaction_;
    QTextBrowser* browser_;
    QToolButton* back_;
    QToolButton* forward_;
};

// Shows path in owner's help window, made the first time; without an owner, in a window of its own that goes
// when it is closed.
THelpWindow& ShowHelpWindow(Interaction& interaction, QWidget* owner, const QString& path);

} // namespace tazen
