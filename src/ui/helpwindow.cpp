// TaZEN's own help window, for a desktop where no browser opens the help file.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/helpwindow.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace tazen {

namespace {

// The window opens wide enough for lines of about this many characters and this many lines high, at most
// the screen's free area.
constexpr int kColumns = 80;
constexpr int kLines = 32;

QToolButton* historyButton(const QString& name, const QString& text, QStyle::StandardPixmap icon, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setIcon(parent->style()->standardIcon(icon, nullptr, parent));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    button->setEnabled(false);
    return button;
}

} // namespace

THelpWindow::THelpWindow(Interaction& interaction, QWidget* owner)
    : QWidget(owner, Qt::Window), interaction_(interaction), browser_(new QTextBrowser(this)),
      back_(historyButton(QStringLiteral("btnBack"), tr("&Back"), QStyle::SP_ArrowBack, this)),
      forward_(historyButton(QStringLiteral("btnForward"), tr("&Forward"), QStyle::SP_ArrowForward, this))
{
    setObjectName(QStringLiteral("HelpWindow"));
    browser_->setObjectName(QStringLiteral("HelpText"));
    browser_->setAccessibleName(tr("Help"));
    // Links are followed here, so that an address outside the help goes to the desktop rather than being
    // read as a file.
    browser_->setOpenLinks(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back_);
    buttons->addWidget(forward_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(buttons);
    layout->addWidget(browser_, 1);

    connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QWidget::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QWidget::setEnabled);
    connect(browser_, &QTextBrowser::anchorClicked, this, &THelpWindow::followLink);
    connect(browser_, &QTextBrowser::sourceChanged, this, &THelpWindow::showTitle);
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence(QKeySequence::Close)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &QWidget::close);

    const QFontMetrics metrics = browser_->fontMetrics();
    QSize wanted(metrics.averageCharWidth() * kColumns, metrics.lineSpacing() * kLines);
    if (const QScreen* shown = owner ? owner->screen() : screen())
        wanted = wanted.boundedTo(shown->availableGeometry().size() * 9 / 10);
    resize(wanted);
}

void THelpWindow::ShowFile(const QString& path)
{
    browser_->setSource(QUrl::fromLocalFile(path));
}

void THelpWindow::followLink(const QUrl& link)
{
    const QUrl target = browser_->source().resolved(link);
    if (target.isLocalFile() && QFileInfo(target.toLocalFile()).isFile())
        browser_->setSource(target);
    else
        interaction_.ShellOpen(target.toString(QUrl::FullyEncoded));
}

void THelpWindow::showTitle()
{
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? QFileInfo(browser_->source().toLocalFile()).fileName() : title);
}

THelpWindow& ShowHelpWindow(Interaction& interaction, QWidget* owner, const QString& path)
{
    THelpWindow* window = owner ? owner->findChild<THelpWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (window == nullptr) {
        window = new THelpWindow(interaction, owner);
        if (owner == nullptr)
            window->setAttribute(Qt::WA_DeleteOnClose);
    }
    // Asked again for the file it shows, it stays where the reader is.
    if (window->Browser().source().adjusted(QUrl::RemoveFragment) != QUrl::fromLocalFile(path))
        window->ShowFile(path);
    window->show();
    window->raise();
    window->activateWindow();
    return *window;
}

} // namespace tazen
