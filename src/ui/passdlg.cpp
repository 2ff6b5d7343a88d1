// TPasswordDlg: the one small dialog in which every password is typed.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/passdlg.h"

#include "cipher/cryptbase.h"
#include "ui/icons.h"
#include "ui/strengthmeter.h"

#include <algorithm>
#include <string_view>

namespace tazen {

namespace {

// Between the field and the estimate, and between the estimate and the buttons.
constexpr int kStrengthGap = 6;

} // namespace

TPasswordDlg::TPasswordDlg(QWidget* parent)
    : TFixedDialog(tr("Password"), parent), image_(new QLabel(this)), lblpw_(new TLabel(tr("Enter password"), this)),
      edPassword_(new QLineEdit(this)), btnOK_(new TButton(tr("&OK"), this)),
      btnCancel_(new TButton(tr("&Cancel"), this))
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

    // Below the drawn controls, each shown only where it helps: "Show password" always, Suggest and the
    // estimate for a new password, what becomes of the originals for an encryption, and the match.
    showPassword_ = new QCheckBox(tr("&Show password"), this);
    showPassword_->setObjectName(QStringLiteral("chbxShowPassword"));
    btnSuggest_ = new TButton(tr("Su&ggest"), this);
    btnSuggest_->setObjectName(QStringLiteral("btnSuggest"));
    btnSuggest_->setToolTip(
        tr("Fill in a passphrase of six words drawn at random, shown so that you can write it down"));
    btnSuggest_->setAutoDefault(false);
    btnSuggest_->hide();
    // Where the two share the field's width only with overlap (a language with longer words, a larger font),
    // the field and the dialog grow by the difference, and the buttons below keep to the field's right edge.
    const int rowWidth = showPassword_->sizeHint().width() + kStrengthGap + btnSuggest_->sizeHint().width();
    if (const int growth = rowWidth - edPassword_->width(); growth > 0) {
        edPassword_->resize(edPassword_->width() + growth, edPassword_->height());
        lblpw_->SetMaxTextWidth(edPassword_->width());
        for (QWidget* button : {static_cast<QWidget*>(btnOK_), static_cast<QWidget*>(btnCancel_)})
            button->move(button->x() + growth, button->y());
        setFixedWidth(width() + growth);
    }
    strength_ = new TStrengthMeter(edPassword_->width(), this);
    strength_->hide();
    originals_ = new QLabel(this);
    originals_->setObjectName(QStringLiteral("lblOriginals"));
    match_ = new QLabel(this);
    match_->setObjectName(QStringLiteral("lblMatch"));
    suggested_ = new QLabel(this);
    suggested_->setObjectName(QStringLiteral("lblSuggested"));
    suggested_->setTextFormat(Qt::PlainText);
    suggested_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    for (QLabel* line : {originals_, match_, suggested_}) {
        line->setWordWrap(true);
        line->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        line->hide();
    }
    buttonTop_ = btnOK_->y();
    plainHeight_ = height();
    connect(showPassword_, &QCheckBox::toggled, this,
            [this](bool shown) { edPassword_->setEchoMode(shown ? QLineEdit::Normal : QLineEdit::Password); });
    connect(btnSuggest_, &QPushButton::clicked, this, &TPasswordDlg::suggest);
    connect(edPassword_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!strength_->isHidden())
            strength_->Estimate(text);
        showMatch();
        if (!suggested_->isHidden() && text != suggested_->text()) {
            suggested_->clear();
            suggested_->hide();
            layOut();
        }
    });
    layOut();
}

void TPasswordDlg::ShowStrength(bool shown)
{
    strength_->setVisible(shown);
    strength_->Estimate(shown ? edPassword_->text() : QString());
    btnSuggest_->setVisible(shown);
    layOut();
}

void TPasswordDlg::ShowOriginals(const QString& text)
{
    originals_->setText(text);
    originals_->setVisible(!text.isEmpty());
    layOut();
}

void TPasswordDlg::CompareWith(const Secret* first)
{
    first_ = first;
    match_->setVisible(first != nullptr);
    showMatch();
    layOut();
}

void TPasswordDlg::Reset()
{
    edPassword_->clear();
    showPassword_->setChecked(false);
}

void TPasswordDlg::suggest()
{
    if (!Suggester)
        return;
    std::optional<QString> passphrase = Suggester();
    if (!passphrase)
        return;
    suggested_->setText(*passphrase);
    suggested_->show();
    edPassword_->setText(*passphrase);
    passphrase->fill(QLatin1Char(' '));
    layOut();
    // In clear, so it can be written down before it is typed again.
    showPassword_->setChecked(true);
    edPassword_->setFocus(Qt::OtherFocusReason);
}

void TPasswordDlg::showMatch()
{
    if (first_ == nullptr)
        return;
    QByteArray typed = edPassword_->text().toUtf8();
    const std::string_view first(first_->value.data(), first_->value.size());
    const std::string_view so(typed.constData(), static_cast<std::size_t>(typed.size()));
    if (so.empty())
        match_->clear();
    else if (so == first)
        match_->setText(tr("The two entries match."));
    else if (first.starts_with(so))
        match_->setText(tr("The two entries match so far."));
    else
        match_->setText(tr("The two entries do not match."));
    SecureFill(typed.data(), 0, static_cast<std::size_t>(typed.size()));
}

void TPasswordDlg::layOut()
{
    const int left = edPassword_->x();
    const int width = edPassword_->width();
    int y = edPassword_->geometry().bottom() + 1 + kStrengthGap;
    const auto row = [&](QWidget* widget, int height) {
        widget->setGeometry(left, y, width, height);
        y += height + kStrengthGap;
    };
    const int rowHeight = std::max(showPassword_->sizeHint().height(), btnSuggest_->sizeHint().height());
    showPassword_->setGeometry(left, y, showPassword_->sizeHint().width(), rowHeight);
    const int suggestWidth = btnSuggest_->sizeHint().width();
    // Where the two do not fit side by side in the field's width (a larger font), Suggest goes below.
    if (!btnSuggest_->isHidden() && showPassword_->width() + kStrengthGap + suggestWidth > width)
        y += rowHeight + kStrengthGap;
    btnSuggest_->setGeometry(left + width - suggestWidth, y, suggestWidth, rowHeight);
    y += rowHeight + kStrengthGap;
    if (!suggested_->isHidden())
        row(suggested_, suggested_->heightForWidth(width));
    if (!strength_->isHidden()) {
        strength_->move(left, y);
        y += strength_->height() + kStrengthGap;
    }
    // The longest text each line may show decides its height, so the dialog does not jump while typing.
    if (!originals_->isHidden())
        row(originals_, originals_->heightForWidth(width));
    if (!match_->isHidden()) {
        QLabel probe(tr("The two entries match so far."));
        probe.setFont(match_->font());
        probe.setWordWrap(true);
        row(match_, std::max(probe.heightForWidth(width), match_->heightForWidth(width)));
    }
    const int grown = y - (edPassword_->geometry().bottom() + 1 + kStrengthGap);
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
