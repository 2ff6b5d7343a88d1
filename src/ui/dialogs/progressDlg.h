// TProgressDialog: the file name, the file's and the run's gauges, and Cancel, for encryption and decryption
// runs.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/frontend.h"
#include "ui/dialogs/fixeddialog.h"
#include "ui/dialogs/gauge.h"

namespace tazen {

class TProgressDialog : public TFixedDialog
{
    Q_OBJECT

public:
    explicit TProgressDialog(QWidget* parent = nullptr);

    void StartProgress(const std::string& title, const std::string& countText);
    void HideProgress();
    void FinishProgress();

    TLabel& lblFilename() { return *lblFilename_; }
    TGauge& gaugeFile() { return *gaugeFile_; }
    TGauge& gaugeTotal() { return *gaugeTotal_; }
    int ModalResult() const { return TFixedDialog::ModalResult(); }

    TLabel& lblFilesTotal() { return *lblFilesTotal_; }
    TButton& btnAction() { return *btnAction_; }

private:
    void btnActionClick();

    TLabel* lblFilename_;
    TGauge* gaugeFile_;
    TLabel* lblFilesTotal_;
    TGauge* gaugeTotal_;
    TButton* btnAction_;
};

} // namespace tazen
