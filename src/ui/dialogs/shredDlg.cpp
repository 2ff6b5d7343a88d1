// TshredDialog: the pass and its gauge while a file is shredded; also the progress of an executable being
// built.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/shredDlg.h"

namespace tazen {

TshredDialog::TshredDialog(QWidget* parent)
    : TFixedDialog(QString(), parent), lblHead_(new TLabel(QStringLiteral("lblHead"), this)),
      lblFileName_(new TLabel(QStringLiteral("lblFileName"), this)),
      lblpass_(new TLabel(QStringLiteral("lblpass"), this)), gaugePass_(new TGauge(this)),
      bitBtn1_(new TButton(tr("&Cancel"), this))
{
    setObjectName(QStringLiteral("shredDialog"));
    lblHead_->setObjectName(QStringLiteral("lblHead"));
    lblFileName_->setObjectName(QStringLiteral("lblFileName"));
    lblpass_->setObjectName(QStringLiteral("lblpass"));
    gaugePass_->setObjectName(QStringLiteral("gaugePass"));
    bitBtn1_->setObjectName(QStringLiteral("BitBtn1"));
    bitBtn1_->ModalResult = kModalResultCancel;
    bitBtn1_->Cancel = true;

    placeControls(QSize(353, 126), {
                                       {lblHead_, QRect(8, 8, 0, 0)},
                                       {lblFileName_, QRect(8, 24, 0, 0)},
                                       {lblpass_, QRect(8, 48, 0, 0)},
                                       {gaugePass_, QRect(8, 64, 337, 20)},
                                       {bitBtn1_, QRect(138, 95, 75, 25)},
                                   });
    // A long name is shortened in the middle at the dialog's edge; the whole of it is in the tool tip.
    lblFileName_->SetMaxTextWidth(width() - 16);
    // Laid out with the form's caption, shown empty: building an executable shows no pass, and a fresh
    // session would otherwise show the caption itself.
    lblpass_->SetText(QString());
    gaugePass_->SetCaptionLabels({lblpass_, lblFileName_});
}

void TshredDialog::SetCaption(const std::string& text)
{
    setWindowTitle(QString::fromUtf8(text));
}

void TshredDialog::Show()
{
    ShowModeless();
    repaint();
}

void TshredDialog::Hide()
{
    hide();
}

} // namespace tazen
