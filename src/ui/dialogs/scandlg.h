// TscanDialog: the folder being scanned while files are gathered for the list, and Cancel.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/dialogs/fixeddialog.h"

#include <memory>

namespace tazen {

class TscanDialog : public TFixedDialog
{
    Q_OBJECT

public:
    explicit TscanDialog(QWidget* parent = nullptr);

    TLabel& lblScanning() { return *lblScanning_; }
    TButton& BitBtn1() { return *bitBtn1_; }

private:
    TLabel* lblScanning_;
    TButton* bitBtn1_;
};

inline QString ScanCaption(bool decrypt)
{
    return decrypt ? TscanDialog::tr("TaZEN - Adding files for decryption.")
                   : TscanDialog::tr("TaZEN - Adding files for encryption.");
}

// One scan dialog lives for one scan; its owner holds it here. window, when there is one, is the window the
// dialog stays in front of.
void ShowScanDialog(std::unique_ptr<TscanDialog>& scanDialog, const QString& caption, QWidget* window = nullptr);
void SetScanText(TscanDialog& scanDialog, const QString& text);
void CloseScanDialog(std::unique_ptr<TscanDialog>& scanDialog);

} // namespace tazen
