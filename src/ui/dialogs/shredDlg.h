// TshredDialog: the pass and its gauge while a file is shredded; also the progress of an executable being
// built.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/frontend.h"
#include "ui/dialogs/fixeddialog.h"
#include "ui/dialogs/gauge.h"

namespace tazen {

class TshredDialog : public TFixedDialog
{
    Q_OBJECT

public:
    explicit TshredDialog(QWidget* parent = nullptr);

    void SetCaption(const std::string& text);
    TLabel& lblHead() { return *lblHead_; }
    TLabel& lblFileName() { return *lblFileName_; }
    TLabel& lblpass() { return *lblpass_; }
    TGauge& gaugePass() { return *gaugePass_; }
    // Shown without being modal, and painted before the work begins.
    void Show();
    void Hide();
    int ModalResult() const { return TFixedDialog::ModalResult(); }
    void SetModalResult(int value) { TFixedDialog::SetModalResult(value); }

    TButton& BitBtn1() { return *bitBtn1_; }

private:
    TLabel* lblHead_;
    TLabel* lblFileName_;
    TLabel* lblpass_;
    TGauge* gaugePass_;
    TButton* bitBtn1_;
};

} // namespace tazen
