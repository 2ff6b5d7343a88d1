// What the three long-operation dialogs share: a fixed client area laid out in pixels, a modal result that
// an operation polls as its cancel flag, buttons that carry a modal result, and Esc for the Cancel button.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/frontend.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include <string>
#include <vector>

namespace tazen {

// A label that sizes itself to its text, up to a width beyond which the text is shortened in the middle
// and shown whole in the tool tip. text() stays the whole text.
class TLabel : public QLabel
{
    Q_OBJECT

public:
    TLabel(const QString& text, QWidget* parent);
    void SetCaption(const std::string& text);
    void SetText(const QString& text);
    void SetMaxTextWidth(int width);
    // What the label shows within its width.
    QString ShownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int maxTextWidth_ = QWIDGETSIZE_MAX;
};

// A path shortened to width: the file's own name is kept whole where it fits, and the folders before it lose
// their middle ("/home/user/Docu…/report.doc"); a name that does not fit on its own loses its middle.
QString ElidedPath(const QFontMetrics& metrics, const QString& path, int width);

// A push button that, when clicked, first gives its dialog its modal result (unless that is 0), and that
// Esc presses when it is the dialog's Cancel button.
class TButton : public QPushButton
{
    Q_OBJECT

public:
    TButton(const QString& caption, QWidget* dialog);

    int ModalResult = kModalResultNone;
    bool Cancel = false;
};

// Moves a window so that its frame is centred on the available area of its screen.
void centreOnScreen(QWidget& window);

class TFixedDialog : public QDialog
{
    Q_OBJECT

public:
    int ModalResult() const noexcept { return modalResult_; }
    void SetModalResult(int value) noexcept { modalResult_ = value; }

    // Shows the dialog without making it modal, in front.
    void ShowModeless();

protected:
    TFixedDialog(const QString& caption, QWidget* parent);

    // A control and where the form puts it; an empty size means the control's own.
    struct Placement
    {
        QWidget* control;
        QRect described;
    };
    // Puts the controls, listed from top to bottom, where the form says. A text that needs more room with
    // this system's font makes its control grow, and what lies below moves down by as much, so the order
    // and the gaps stay as drawn; a button that grows stays centred where it was; the client area grows
    // with them.
    void placeControls(QSize client, const std::vector<Placement>& placements);

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    int modalResult_ = kModalResultNone;
};

} // namespace tazen
