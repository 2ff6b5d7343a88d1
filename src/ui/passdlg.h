// TPasswordDlg: the one small dialog in which every password is typed.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/dialogs/fixeddialog.h"

#include <QLineEdit>

namespace tazen {

class TStrengthMeter;

class TPasswordDlg : public TFixedDialog
{
    Q_OBJECT

public:
    explicit TPasswordDlg(QWidget* parent = nullptr);

    TLabel& lblpw() { return *lblpw_; }
    QLineEdit& edPassword() { return *edPassword_; }
    TButton& btnOK() { return *btnOK_; }
    TButton& btnCancel() { return *btnCancel_; }
    TStrengthMeter& StrengthMeter() { return *strength_; }

    // The strength estimate under the field, for the first password of an encryption: the dialog grows by
    // its height. Without it the dialog has its drawn layout.
    void ShowStrength(bool shown);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* image_;
    TLabel* lblpw_;
    QLineEdit* edPassword_;
    TButton* btnOK_;
    TButton* btnCancel_;
    TStrengthMeter* strength_;
    int buttonTop_ = 0;
    int plainHeight_ = 0;
};

} // namespace tazen
