// TGauge: a value between a minimum and a maximum shown as a percentage, as text, a bar, a pie or a needle.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/frontend.h"

#include <QColor>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QWidget>

#include <initializer_list>
#include <stdexcept>
#include <vector>

namespace tazen {

enum TGaugeKind
{
    gkText,
    gkHorizontalBar,
    gkVerticalBar,
    gkPie,
    gkNeedle
};

enum TBorderStyle
{
    bsNone,
    bsSingle
};

// An operation refused in the state the control is in.
class EInvalidOperation : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class TGauge : public QWidget
{
    Q_OBJECT

public:
    explicit TGauge(QWidget* parent = nullptr);

    TGaugeKind Kind() const noexcept { return kind_; }
    void SetKind(TGaugeKind value);
    bool ShowText() const noexcept { return showText_; }
    void SetShowText(bool value);
    TBorderStyle BorderStyle() const noexcept { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    // The fill and the track: the palette's text and base colours unless set, so the gauge follows a dark
    // theme as the text fields do. An invalid colour goes back to the palette's.
    QColor ForeColor() const;
    void SetForeColor(const QColor& value);
    QColor BackColor() const;
    void SetBackColor(const QColor& value);

    int MinValue() const noexcept { return minValue_; }
    // Throws EInvalidOperation for a value above MaxValue.
    void SetMinValue(int value);
    int MaxValue() const noexcept { return maxValue_; }
    // Throws EInvalidOperation for a value below MinValue.
    void SetMaxValue(int value);

    int Progress() const { return progress_; }
    // Clamped into MinValue..MaxValue; repaints only when the whole percentage changes.
    void SetProgress(int value);
    // Moves Progress by amount and repaints whatever the percentage does.
    void Advance(int amount);
    // (Progress - MinValue) * 100 / (MaxValue - MinValue), truncated; 0 for an empty range.
    int Percent() const noexcept;

    // The labels whose text names the gauge to assistive technology, the first that shows any; it sees a
    // progress bar with the percentage as its value.
    void SetCaptionLabels(std::initializer_list<const QLabel*> labels);
    QString AccessibleCaption() const;

    // Room for "100%" in the gauge's font inside the border, so a dialog that sizes its controls from their
    // hints gives a larger font a taller gauge rather than a cut percentage.
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Stores a differing value and repaints; an equal value does nothing.
    template <typename T> void assignAndRepaint(T& field, const T& value);
    void setClampedProgress(long long value);
    void announceValue();
    QRect drawingArea() const;
    void paintKind(QImage& image, const QRect& area) const;
    // The percentage's coverage, 0 to 255 a pixel of image.
    QImage textCoverage(const QImage& image, const QRect& area) const;
    void swapUnderText(QImage& image, const QImage& coverage, const QRect& area) const;

    TGaugeKind kind_ = gkHorizontalBar;
    bool showText_ = true;
    TBorderStyle borderStyle_ = bsSingle;
    QColor foreColor_;
    QColor backColor_;
    int minValue_ = 0;
    int maxValue_ = 100;
    int progress_ = 0;
    std::vector<QPointer<const QLabel>> captionLabels_;
};

} // namespace tazen
