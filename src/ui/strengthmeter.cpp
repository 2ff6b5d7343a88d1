// The strength estimate under the first password field of an encryption.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/strengthmeter.h"

#include "cipher/cryptbase.h"
#include "engine/strength.h"

#include <QPainter>

#include <algorithm>
#include <array>

namespace tazen {

namespace {

constexpr int kSteps = kStrongScore + 1;
constexpr int kBarHeight = 6;
constexpr int kStepGap = 3;
constexpr int kLineGap = 3;

// Red for very weak to green for strong, readable on light and dark themes alike.
QColor stepColour(int score)
{
    static constexpr std::array<QRgb, kSteps> colours = {0xd32f2f, 0xf57c00, 0xfbc02d, 0x7cb342, 0x2e7d32};
    return QColor(colours.at(static_cast<std::size_t>(score)));
}

// Times whose texts are among the longest an estimate gives: with every step's name, they decide the
// meter's height, so it does not change while the user types.
constexpr std::array<double, 4> kLongTimes = {0.5, 3.0e12, 3.0e14, 1.0e30};

} // namespace

TStrengthBar::TStrengthBar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("barStrength"));
    setAccessibleName(tr("Password strength"));
}

void TStrengthBar::SetScore(int score)
{
    if (score == score_)
        return;
    score_ = score;
    setAccessibleDescription(score < 0 ? QString() : QString::fromStdString(StrengthName(score)));
    update();
}

QSize TStrengthBar::sizeHint() const
{
    return {kSteps * 20, kBarHeight};
}

void TStrengthBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int stepWidth = (width() - (kSteps - 1) * kStepGap) / kSteps;
    const QColor empty = palette().color(QPalette::Mid);
    for (int step = 0; step < kSteps; ++step) {
        const QRect box(step * (stepWidth + kStepGap), 0, stepWidth, height());
        painter.fillRect(box, step <= score_ ? stepColour(score_) : empty);
    }
}

TStrengthMeter::TStrengthMeter(int width, QWidget* parent)
    : QWidget(parent), bar_(new TStrengthBar(this)), line_(new QLabel(this))
{
    setObjectName(QStringLiteral("StrengthMeter"));
    line_->setObjectName(QStringLiteral("lblStrength"));
    line_->setWordWrap(true);
    line_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    bar_->setGeometry(0, 0, width, kBarHeight);
    int lineHeight = 0;
    for (int score = kWeakestScore; score <= kStrongScore; ++score)
        for (const double seconds : kLongTimes) {
            line_->setText(QString::fromStdString(StrengthText(score, seconds)));
            lineHeight = std::max(lineHeight, line_->heightForWidth(width));
        }
    line_->clear();
    line_->setGeometry(0, kBarHeight + kLineGap, width, lineHeight);
    setFixedSize(width, kBarHeight + kLineGap + lineHeight);
}

void TStrengthMeter::Estimate(const QString& password)
{
    if (password.isEmpty()) {
        bar_->SetScore(-1);
        line_->clear();
        return;
    }
    QByteArray utf8 = password.toUtf8();
    const StrengthEstimate estimate = EstimateStrength(utf8.constData());
    SecureFill(utf8.data(), 0, static_cast<std::size_t>(utf8.size()));
    bar_->SetScore(estimate.score);
    line_->setText(QString::fromStdString(estimate.text));
}

} // namespace tazen
