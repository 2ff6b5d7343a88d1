// TPasswordDlg: the one small dialog in which every password is typed.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/passdlg.h"

#include "ui/icons.h"
#include "ui/strengthmeter.h"

#include <algorithm>

namespace tazen {

namespace {

// Between the field and the estimate, and between the estimate and the buttons.
constexpr int kStrengthGap = 6;

} // namespace

TPasswordDlg::TPasswordDlg(QWidget* parent)
    : TFixedDialog(QStringLiteral("Password"), parent), image_(new QLabel(this)),
      lblpw_(new TLabel(QStringLiteral("Enter password"), this)), edPassword_(new QLineEdit(this)),
      btnOK_(new TButton(QStringLiteral("&OK"), this)), btnCancel_(new TButton(QStringLiteral("&Cancel"), this))
{
    setObjectName(QStringLiteral("PasswordDlg"));
    image_->setObjectName(QStringLiteral("Image1"));
    lblpw_->setObjectName(QStringLiteral("lblpw"));
    edPassword_->setObjectName(QStringLiteral("edPassword"));
    btnOK_->setObjectName(QStringLiteral("btnOK"));
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));

    image_->setPixmap(GlyphPixmap(Glyph::Encrypt, 32));
    edPassword_->setEchoMode(QLineEdit::Password);
    edPassword_->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    // Nothing typed here is offered back later: no completion, no undo history to scroll through.
    edPassword_->setAttribute(Qt::WA_InputMethodEnabled, false);
    btnOK_->setDefault(true);
    btnCancel_->Cancel = true;

    placeControls(QSize(281, 112), {
                                       {image_, QRect(12, 14, 32, 32)},
                                       {lblpw_, QRect(60, 14, 0, 0)},
                                       {edPassword_, QRect(60, 34, 209, 21)},
                                       {btnOK_, QRect(114, 76, 75, 25)},
                                   });
    // Cancel shares OK's row and size, right of it by the drawn gap.
    const QSize buttonSize = btnOK_->size().expandedTo(btnCancel_->sizeHint());
    btnOK_->resize(buttonSize);
    btnCancel_->setGeometry(btnOK_->x() + buttonSize.width() + 5, btnOK_->y(), buttonSize.width(), buttonSize.height());
    setFixedWidth(std::max(width(), btnCancel_->geometry().right() + 13));
    lblpw_->SetMaxTextWidth(209);
    // The prompt names the field to a screen reader, whichever of the two it is.
    lblpw_->setBuddy(edPassword_);
    connect(btnOK_, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);

    strength_ = new TStrengthMeter(edPassword_->width(), this);
    strength_->move(edPassword_->x(), edPassword_->geometry().bottom() + 1 + kStrengthGap);
    strength_->hide();
    buttonTop_ = btnOK_->y();
    plainHeight_ = height();
    connect(edPassword_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!strength_->isHidden())
            strength_->Estimate(text);
    });
}

void TPasswordDlg::ShowStrength(bool shown)
{
    strength_->setVisible(shown);
    strength_->Estimate(shown ? edPassword_->text() : QString());
    const int grown = shown ? strength_->height() + kStrengthGap : 0;
    btnOK_->move(btnOK_->x(), buttonTop_ + grown);
    btnCancel_->move(btnCancel_->x(), buttonTop_ + grown);
    setFixedHeight(plainHeight_ + grown);
}

void TPasswordDlg::showEvent(QShowEvent* event)
{
    TFixedDialog::showEvent(event);
    edPassword_->setFocus(Qt::OtherFocusReason);
}

} // namespace tazen
