// What the three long-operation dialogs share: a fixed client area laid out in pixels, a modal result that
// an operation polls as its cancel flag, buttons that carry a modal result, and Esc for the Cancel button.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/fixeddialog.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>

#include <algorithm>

namespace tazen {

namespace {

// The height the forms were drawn with for a one-line label.
constexpr int kDrawnLabelHeight = 13;

} // namespace

TLabel::TLabel(const QString& text, QWidget* parent) : QLabel(parent)
{
    // File names are shown as they are, never read as markup.
    setTextFormat(Qt::PlainText);
    SetText(text);
}

void TLabel::SetCaption(const std::string& text)
{
    SetText(QString::fromUtf8(text));
}

void TLabel::SetText(const QString& text)
{
    setText(text);
    const int wanted = sizeHint().width();
    resize(std::min(wanted, maxTextWidth_), height());
    setToolTip(wanted > maxTextWidth_ ? text : QString());
}

void TLabel::SetMaxTextWidth(int width)
{
    maxTextWidth_ = width;
    SetText(text());
}

QString TLabel::ShownText() const
{
    const int room = contentsRect().width();
    if (wordWrap() || fontMetrics().horizontalAdvance(text()) <= room)
        return text();
    return ElidedPath(fontMetrics(), text(), room);
}

void TLabel::paintEvent(QPaintEvent* event)
{
    const QString shown = ShownText();
    if (shown == text())
        return QLabel::paintEvent(event);
    QPainter painter(this);
    const int alignment = static_cast<int>(QStyle::visualAlignment(layoutDirection(), this->alignment()));
    style()->drawItemText(&painter, contentsRect(), alignment, palette(), isEnabled(), shown, foregroundRole());
}

QString ElidedPath(const QFontMetrics& metrics, const QString& path, int width)
{
    if (metrics.horizontalAdvance(path) <= width)
        return path;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString name = path.mid(slash);
    const int ellipsis = metrics.horizontalAdvance(QChar(0x2026));
    if (slash > 0 && metrics.horizontalAdvance(name) + ellipsis < width) {
        // The folders keep their beginning, which says where the file is, and give up the rest.
        const QString folders =
            metrics.elidedText(path.left(slash), Qt::ElideRight, width - metrics.horizontalAdvance(name));
        return folders + name;
    }
    return metrics.elidedText(path, Qt::ElideMiddle, width);
}

TButton::TButton(const QString& caption, QWidget* dialog) : QPushButton(caption, dialog)
{
    // Connected before any click handler, so the handler already sees the dialog's new result.
    connect(this, &QPushButton::clicked, this, [this] {
        if (ModalResult != kModalResultNone)
            if (auto* owner = qobject_cast<TFixedDialog*>(window()))
                owner->SetModalResult(ModalResult);
    });
}

TFixedDialog::TFixedDialog(const QString& caption, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::CustomizeWindowHint)
{
    setWindowTitle(caption);
    setModal(false);
}

void TFixedDialog::ShowModeless()
{
    show();
    raise();
    activateWindow();
}

void TFixedDialog::placeControls(QSize client, const std::vector<Placement>& placements)
{
    int pushedDown = 0;
    int rightmost = 0;
    for (const Placement& placement : placements) {
        QWidget* control = placement.control;
        const QSize hint = control->sizeHint().expandedTo(control->minimumSize());
        const bool isLabel = qobject_cast<QLabel*>(control) != nullptr;
        const int drawnHeight = placement.described.height() > 0 ? placement.described.height()
                                : isLabel                        ? kDrawnLabelHeight
                                                                 : hint.height();
        const int drawnWidth = placement.described.width() > 0 ? placement.described.width() : hint.width();
        const int height = std::max(drawnHeight, hint.height());
        const int width = isLabel ? drawnWidth : std::max(drawnWidth, hint.width());
        // A widened button keeps its centre.
        const int left = placement.described.left() - (width - drawnWidth) / 2;
        control->setGeometry(left, placement.described.top() + pushedDown, width, height);
        rightmost = std::max(rightmost, left + width + std::min(placement.described.left(), 8));
        pushedDown += height - drawnHeight;
    }
    setFixedSize(std::max(client.width(), rightmost), client.height() + pushedDown);
}

void TFixedDialog::keyPressEvent(QKeyEvent* event)
{
    // Qt would hide the dialog on Esc; here Esc presses the Cancel button if there is one, else nothing.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        for (TButton* button : findChildren<TButton*>())
            if (button->Cancel && button->isEnabled()) {
                button->click();
                break;
            }
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFixedDialog::closeEvent(QCloseEvent* event)
{
    // The close box only hides the dialog; the operation behind it goes on, and no flag is set.
    event->accept();
}

void TFixedDialog::showEvent(QShowEvent* event)
{
    centreOnScreen(*this);
    QDialog::showEvent(event);
}

void centreOnScreen(QWidget& window)
{
    if (const QScreen* screen = window.screen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
}

} // namespace tazen
