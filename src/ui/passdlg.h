// TPasswordDlg: the one small dialog in which every password is typed.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/dialogs/fixeddialog.h"

#include <QLineEdit>

namespace tazen {

class TPasswordDlg : public TFixedDialog
{
    Q_OBJECT

public:
    explicit TPasswordDlg(QWidget* parent = nullptr);

    TLabel& lblpw() { return *lblpw_; }
    QLineEdit& edPassword() { return *edPassword_; }
    TButton& btnOK() { return *btnOK_; }
    TButton& btnCancel() { return *btnCancel_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* image_;
    TLabel* lblpw_;
    QLineEdit* edPassword_;
    TButton* btnOK_;
    TButton* btnCancel_;
};

} // namespace tazen
