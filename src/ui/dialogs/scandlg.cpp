// TscanDialog: the folder being scanned while files are gathered for the list, and Cancel.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/scandlg.h"

namespace tazen {

namespace {

constexpr int kClientWidth = 373;
constexpr int kLabelMargin = 10;

} // namespace

TscanDialog::TscanDialog(QWidget* parent)
    : TFixedDialog(QString(), parent), lblScanning_(new TLabel(QStringLiteral("lblScanning"), this)),
      bitBtn1_(new TButton(tr("&Cancel"), this))
{
    setObjectName(QStringLiteral("scanDialog"));
    lblScanning_->setObjectName(QStringLiteral("lblScanning"));
    bitBtn1_->setObjectName(QStringLiteral("BitBtn1"));
    bitBtn1_->ModalResult = kModalResultCancel;
    bitBtn1_->Cancel = true;
    lblScanning_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    // The label spans the dialog between equal margins, its text centred in it.
    const int labelWidth = kClientWidth - 2 * kLabelMargin;
    placeControls(QSize(kClientWidth, 94), {
                                               {lblScanning_, QRect(kLabelMargin, 16, labelWidth, 0)},
                                               {bitBtn1_, QRect(152, 56, 75, 25)},
                                           });
    lblScanning_->SetMaxTextWidth(labelWidth);
    lblScanning_->setFixedWidth(labelWidth);
}

void ShowScanDialog(std::unique_ptr<TscanDialog>& scanDialog, const QString& caption, QWidget* window)
{
    // Deleting it through the pointer also takes it out of window's children.
    scanDialog = std::make_unique<TscanDialog>(window);
    scanDialog->setWindowTitle(caption);
    scanDialog->ShowModeless();
}

void SetScanText(TscanDialog& scanDialog, const QString& text)
{
    scanDialog.lblScanning().SetText(text);
}

void CloseScanDialog(std::unique_ptr<TscanDialog>& scanDialog)
{
    scanDialog.reset();
}

} // namespace tazen
