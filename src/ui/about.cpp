// The about box, which names the product and reports the system and its memory, and the help command.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/about.h"

#include "platform/folders.h"
#include "platform/sysinfo.h"
#include "ui/dialogs/fixeddialog.h"
#include "ui/helpwindow.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>

#include <algorithm>
#include <cmath>

namespace tazen {

QString ProductVersionText()
{
    return TAboutBox::tr("Version 0.9 English");
}

QString MemoryText(std::uint64_t kilobytes)
{
    // Without a locale, the thousands stand apart by a space, as the about box always wrote them.
    const QLocale locale;
    QString number = locale.toString(static_cast<qulonglong>(kilobytes));
    if (locale.language() == QLocale::C)
        number.insert(std::max<qsizetype>(0, number.size() - 3), QLatin1Char(' '));
    return TAboutBox::tr("%1 KB").arg(number);
}

QString HelpFilePath()
{
    const QString folder = QFile::decodeName(QByteArray::fromStdString(platform::ExecutableFolder()));
    for (const QString& language : QLocale().uiLanguages()) {
        // "de-AT" finds help_de_AT.html, then help_de.html.
        QString name = language;
        name.replace(QLatin1Char('-'), QLatin1Char('_'));
        for (qsizetype cut = name.size(); cut > 0; cut = name.lastIndexOf(QLatin1Char('_'))) {
            name.truncate(cut);
            QString path = folder + QStringLiteral("help_") + name + QStringLiteral(".html");
            if (QFileInfo(path).isFile())
                return path;
        }
    }
    return folder + QString::fromLatin1(kHelpFileName);
}

void OpenHelpFile(Interaction& interaction, QWidget* owner)
{
    const QString path = HelpFilePath();
    if (interaction.ShellOpen(path))
        return;
    const QFileInfo file(path);
    if (file.isFile() && file.isReadable())
        ShowHelpWindow(interaction, owner, path);
    else
        interaction.MessageBox(owner, BoxKind::Plain, TAboutBox::tr("Could not open helpfile: %1").arg(path));
}

namespace {

// What text needs to be read with ease against its background.
constexpr double kReadableContrast = 4.5;

double relativeLuminance(const QColor& colour)
{
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

} // namespace

double ContrastRatio(const QColor& a, const QColor& b)
{
    const double first = relativeLuminance(a);
    const double second = relativeLuminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

TLinkLabel::TLinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setTextFormat(Qt::PlainText);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    chooseColour();
    setCursor(Qt::PointingHandCursor);
}

void TLinkLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && !choosing_)
        chooseColour();
}

void TLinkLabel::chooseColour()
{
    // Only the text colour is the label's own; the window, link and text colours come from the box and the
    // theme. The link colour (blue in the default palette) is drawn where it reads against the window;
    // otherwise it is moved toward the window's text colour, which always does, until it reads.
    const QColor window = palette().color(QPalette::Window);
    const QColor link = palette().color(QPalette::Link);
    // The label's own text colour is the link's; the box's is the one to move toward.
    const QColor text =
        (parentWidget() ? parentWidget()->palette() : QApplication::palette()).color(QPalette::WindowText);
    QColor colour = link;
    constexpr int kSteps = 10;
    for (int step = 1; step <= kSteps && ContrastRatio(colour, window) < kReadableContrast; ++step) {
        const auto towardText = [step](double from, double to) { return from + (to - from) * step / kSteps; };
        colour = QColor::fromRgbF(static_cast<float>(towardText(link.redF(), text.redF())),
                                  static_cast<float>(towardText(link.greenF(), text.greenF())),
                                  static_cast<float>(towardText(link.blueF(), text.blueF())));
    }
    if (palette().color(QPalette::WindowText) == colour)
        return;
    // Sets the text colour alone, so the other colours go on following the box.
    QPalette own;
    own.setColor(QPalette::WindowText, colour);
    choosing_ = true;
    setPalette(own);
    choosing_ = false;
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

namespace {

QLabel* label(const QString& name, const QString& text, QWidget* parent)
{
    auto* made = new QLabel(text, parent);
    made->setObjectName(name);
    // System texts such as the distribution's name are shown as they are, never read as markup.
    made->setTextFormat(Qt::PlainText);
    return made;
}

} // namespace

namespace {

QFont appNameFont()
{
    QFont font(QStringLiteral("Arial Black"));
    // Where the face is missing, the heaviest sans serif the system has stands in.
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Black);
    font.setPixelSize(35);
    return font;
}

QFrame* horizontalRule(const QString& name, QWidget* parent)
{
    auto* rule = new QFrame(parent);
    rule->setObjectName(name);
    rule->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    return rule;
}

} // namespace

TAboutBox::TAboutBox(Interaction& interaction, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::CustomizeWindowHint),
      interaction_(interaction)
{
    setWindowTitle(tr("About TaZEN"));

    lblAppName_ = label(QStringLiteral("lblAppName"), QStringLiteral("TaZEN"), this);
    lblAppName_->setFont(appNameFont());
    lblVersion_ = label(QStringLiteral("lblVersion"), ProductVersionText(), this);
    QLabel* lblMaker = label(QStringLiteral("lblMaker"), tr("TaZEN for Linux"), this);
    QLabel* lblLicence =
        label(QStringLiteral("lblLicence"), tr("Free software under the GNU GPL, version 3 or later"), this);
    QLabel* Label10 = label(QStringLiteral("Label10"), tr("Feed-back:"), this);
    Label5_ = new TLinkLabel(QString::fromLatin1(kFeedbackAddress), this);
    Label5_->setObjectName(QStringLiteral("Label5"));
    QLabel* Label11 = label(QStringLiteral("Label11"), tr("Updates:"), this);
    Label9_ = new TLinkLabel(QString::fromLatin1(kUpdatesAddress), this);
    Label9_->setObjectName(QStringLiteral("Label9"));
    QFrame* rule = horizontalRule(QStringLiteral("Bevel1"), this);
    lblPlatform_ = label(QStringLiteral("lblPlatform"), QStringLiteral("lblPlatform"), this);
    lblOS_ = label(QStringLiteral("lblOS"), QStringLiteral("lblOS"), this);
    lblAddInfo_ = label(QStringLiteral("lblAddInfo"), QStringLiteral("lblAddInfo"), this);
    QLabel* Label7 = label(QStringLiteral("Label7"), tr("Total physical memory:"), this);
    lblTotMem_ = label(QStringLiteral("lblTotMem"), QStringLiteral("lblTotMem"), this);
    QLabel* Label6 = label(QStringLiteral("Label6"), tr("Available physical memory:"), this);
    lblAvailMem_ = label(QStringLiteral("lblAvailMem"), QStringLiteral("lblAvailMem"), this);
    OKButton_ = new QPushButton(tr("OK"), this);
    OKButton_->setObjectName(QStringLiteral("OKButton"));
    OKButton_->setDefault(true);
    OKButton_->setMinimumSize(75, 25);

    // Two columns: captions on the left, values on the right; the box takes the size its texts need and
    // keeps it, following the texts FormShow puts in.
    auto* grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    grid->setContentsMargins(16, 12, 16, 12);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(4);
    int row = 0;
    for (QLabel* centred : {lblAppName_, lblVersion_, lblMaker, lblLicence})
        grid->addWidget(centred, row++, 0, 1, 2, Qt::AlignHCenter);
    grid->setRowMinimumHeight(row++, 8);
    grid->addWidget(Label10, row, 0, Qt::AlignLeft);
    grid->addWidget(Label5_, row++, 1, Qt::AlignLeft);
    grid->addWidget(Label11, row, 0, Qt::AlignLeft);
    grid->addWidget(Label9_, row++, 1, Qt::AlignLeft);
    grid->addWidget(rule, row++, 0, 1, 2);
    grid->addWidget(lblPlatform_, row, 0, Qt::AlignLeft);
    grid->addWidget(lblOS_, row++, 1, Qt::AlignLeft);
    grid->addWidget(lblAddInfo_, row++, 1, Qt::AlignLeft);
    grid->addWidget(Label7, row, 0, Qt::AlignLeft);
    grid->addWidget(lblTotMem_, row++, 1, Qt::AlignLeft);
    grid->addWidget(Label6, row, 0, Qt::AlignLeft);
    grid->addWidget(lblAvailMem_, row++, 1, Qt::AlignLeft);
    grid->setRowMinimumHeight(row++, 8);
    grid->addWidget(OKButton_, row, 0, 1, 2, Qt::AlignHCenter);

    connect(Label5_, &TLinkLabel::clicked, this, &TAboutBox::Label5Click);
    connect(Label9_, &TLinkLabel::clicked, this, &TAboutBox::Label9Click);
    connect(OKButton_, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::FormShow()
{
    const platform::SystemVersion version = platform::GetSystemVersion();
    lblPlatform_->setText(QString::fromStdString(version.family));
    lblOS_->setText(tr("%1.%2 (Build %3)").arg(version.major).arg(version.minor).arg(version.build));
    lblAddInfo_->setText(QString::fromUtf8(version.additional));
    // Without /proc/meminfo the memory labels keep what they said.
    if (platform::MemoryStatus memory; platform::GetMemoryStatus(memory) == 0) {
        lblTotMem_->setText(MemoryText(memory.totalBytes / 1024));
        lblAvailMem_->setText(MemoryText(memory.availableBytes / 1024));
    }
    layout()->activate();
}

void TAboutBox::Label5Click()
{
    interaction_.ShellOpen(QStringLiteral("mailto:") + QString::fromLatin1(kFeedbackAddress));
}

void TAboutBox::Label9Click()
{
    interaction_.ShellOpen(QString::fromLatin1(kUpdatesAddress));
}

void TAboutBox::showEvent(QShowEvent* event)
{
    FormShow();
    centreOnScreen(*this);
    QDialog::showEvent(event);
}

} // namespace tazen
