// The strength estimate under the first password field of an encryption: a bar of five steps and one line
// saying how long one current graphics card takes to guess the password.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QWidget>

namespace tazen {

// The five steps, filled from the left up to the estimate's step; none while nothing is typed.
class TStrengthBar : public QWidget
{
    Q_OBJECT

public:
    explicit TStrengthBar(QWidget* parent);
    // -1 for none, else 0 (very weak) to 4 (strong).
    void SetScore(int score);
    int Score() const { return score_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int score_ = -1;
};

class TStrengthMeter : public QWidget
{
    Q_OBJECT

public:
    // width: that of the password field, which the line wraps within.
    TStrengthMeter(int width, QWidget* parent);

    // The estimate for what the field holds; an empty field shows none.
    void Estimate(const QString& password);
    TStrengthBar& Bar() { return *bar_; }
    QLabel& Line() { return *line_; }

private:
    TStrengthBar* bar_;
    QLabel* line_;
};

} // namespace tazen
