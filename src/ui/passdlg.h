// TPasswordDlg: the one small dialog in which every password is typed.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cipher/secret.h"
#include "ui/dialogs/fixeddialog.h"

#include <QCheckBox>
#include <QLineEdit>

#include <functional>
#include <optional>
#include <string>

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

    QCheckBox& chbxShowPassword() { return *showPassword_; }
    TButton& btnSuggest() { return *btnSuggest_; }
    QLabel& lblOriginals() { return *originals_; }
    QLabel& lblMatch() { return *match_; }
    QLabel& lblSuggested() { return *suggested_; }

    // The strength estimate under the field, for the first password of an encryption, with Suggest beside
    // "Show password". The dialog grows by what it shows below the drawn controls.
    void ShowStrength(bool shown);
    // For an encryption: what will become of the original files; empty shows nothing.
    void ShowOriginals(const QString& text);
    // For the confirming prompt: whether what is typed matches the first entry so far; null shows nothing.
    // The first entry is only compared with, never copied, and must outlive the prompt.
    void CompareWith(const Secret* first);
    // Makes a passphrase for Suggest, or nothing (having said why).
    std::function<std::optional<QString>()> Suggester;
    // Empties the field and hides what was typed, as every prompt begins.
    void Reset();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void suggest();
    void showMatch();
    void layOut();

    QLabel* image_;
    TLabel* lblpw_;
    QLineEdit* edPassword_;
    TButton* btnOK_;
    TButton* btnCancel_;
    TStrengthMeter* strength_;
    QCheckBox* showPassword_;
    TButton* btnSuggest_;
    QLabel* originals_;
    QLabel* match_;
    // The suggestion whole, wrapped: the field shows only part of six words.
    QLabel* suggested_;
    const Secret* first_ = nullptr;
    int buttonTop_ = 0;
    int plainHeight_ = 0;
};

} // namespace tazen
