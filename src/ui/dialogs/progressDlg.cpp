// TProgressDialog: the file name, the file's and the run's gauges, and Cancel, for encryption and decryption
// runs.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/progressDlg.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>

namespace tazen {

namespace {

constexpr int kFileNameWidth = 273;

} // namespace

TProgressDialog::TProgressDialog(QWidget* parent)
    : TFixedDialog(QStringLiteral("Dialog"), parent), lblFilename_(new TLabel(QStringLiteral("lblFilename"), this)),
      gaugeFile_(new TGauge(this)), lblFilesTotal_(new TLabel(QStringLiteral("lblFilesTotal"), this)),
      gaugeTotal_(new TGauge(this)), btnAction_(new TButton(QString(), this))
{
    setObjectName(QStringLiteral("ProgressDialog"));
    lblFilename_->setObjectName(QStringLiteral("lblFilename"));
    gaugeFile_->setObjectName(QStringLiteral("gaugeFile"));
    lblFilesTotal_->setObjectName(QStringLiteral("lblFilesTotal"));
    gaugeTotal_->setObjectName(QStringLiteral("gaugeTotal"));
    btnAction_->setObjectName(QStringLiteral("btnAction"));

    // Sized for its longest caption, so turning Cancel into Close never moves it.
    btnAction_->setText(tr("&Cancel"));
    const QSize cancelSize = btnAction_->sizeHint();
    btnAction_->setText(tr("&Close"));
    btnAction_->setMinimumWidth(std::max(cancelSize.width(), btnAction_->sizeHint().width()));
    btnAction_->setText(QString());

    placeControls(QSize(352, 169), {
                                       {lblFilename_, QRect(8, 24, 0, 0)},
                                       {gaugeFile_, QRect(7, 40, 337, 20)},
                                       {lblFilesTotal_, QRect(8, 88, 0, 0)},
                                       {gaugeTotal_, QRect(7, 104, 337, 20)},
                                       {btnAction_, QRect(136, 136, 75, 25)},
                                   });
    lblFilename_->SetMaxTextWidth(kFileNameWidth);
    gaugeFile_->SetCaptionLabels({lblFilename_});
    gaugeTotal_->SetCaptionLabels({lblFilesTotal_});
    connect(btnAction_, &QPushButton::clicked, this, &TProgressDialog::btnActionClick);
}

void TProgressDialog::StartProgress(const std::string& title, const std::string& countText)
{
    SetModalResult(kModalResultNone);
    btnAction_->ModalResult = kModalResultCancel;
    btnAction_->setText(tr("&Cancel"));
    gaugeTotal_->SetProgress(0);
    gaugeFile_->SetProgress(0);
    const QString heading = QString::fromUtf8(title);
    setWindowTitle(heading);
    lblFilename_->SetText(QString());
    const long long count = QString::fromUtf8(countText).toLongLong();
    if (count >= 2)
        lblFilesTotal_->SetText(tr("%1 %2 files total.").arg(heading, QLocale().toString(count)));
    else if (count == 1)
        lblFilesTotal_->SetText(tr("%1 one file total").arg(heading));
    ShowModeless();
    QCoreApplication::processEvents();
}

void TProgressDialog::HideProgress()
{
    hide();
}

void TProgressDialog::FinishProgress()
{
    gaugeTotal_->Advance(gaugeTotal_->MaxValue() - gaugeTotal_->Progress());
    btnAction_->ModalResult = kModalResultNone;
    btnAction_->setText(tr("&Close"));
}

void TProgressDialog::btnActionClick()
{
    close();
}

} // namespace tazen
