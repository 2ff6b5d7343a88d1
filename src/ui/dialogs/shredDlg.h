// TshredDialog: the pass and its gauge while a file is shredded; also the progress of an executable being
// built.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/frontend.h"
#include "ui/dialogs/fixeddialog.h"
#include "ui/dialogs/gauge.h"

namespace tazen {

class TshredDialog : public TFixedDialog, public ShredDialogPort
{
    Q_OBJECT

public:
    explicit TshredDialog(QWidget* parent = nullptr);

    void SetCaption(const std::string& text) override;
    TLabel& lblHead() override { return *lblHead_; }
    TLabel& lblFileName() override { return *lblFileName_; }
    TLabel& lblpass() override { return *lblpass_; }
    TGauge& gaugePass() override { return *gaugePass_; }
    // Shown without being modal, and painted before the work begins.
    void Show() override;
    void Hide() override;
    int ModalResult() const override { return TFixedDialog::ModalResult(); }
    void SetModalResult(int value) override { TFixedDialog::SetModalResult(value); }

    TButton& BitBtn1() { return *bitBtn1_; }

private:
    TLabel* lblHead_;
    TLabel* lblFileName_;
    TLabel* lblpass_;
    TGauge* gaugePass_;
    TButton* bitBtn1_;
};

} // namespace tazen
