// TGauge: a value between a minimum and a maximum shown as a percentage, as text, a bar, a pie or a needle.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/gauge.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>
#include <string>

namespace tazen {

namespace {

[[noreturn]] void refuseValue(long long lowest, long long highest)
{
    throw EInvalidOperation("Value must be between " + std::to_string(lowest) + " and " + std::to_string(highest));
}

// Halves go to the even neighbour, as the default rounding mode does.
int roundToEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

// What a screen reader learns of a gauge: a progress bar named by its label, with the percentage it draws.
class GaugeAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit GaugeAccessible(TGauge* gauge) : QAccessibleWidget(gauge, QAccessible::ProgressBar) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return gauge().AccessibleCaption();
        if (kind == QAccessible::Value)
            return QString::number(gauge().Percent()) + QLatin1Char('%');
        return QAccessibleWidget::text(kind);
    }

    QVariant currentValue() const override { return gauge().Percent(); }
    void setCurrentValue(const QVariant&) override {} // shows progress; nobody sets it from outside
    QVariant maximumValue() const override { return 100; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    const TGauge& gauge() const { return *static_cast<const TGauge*>(widget()); }
};

QAccessibleInterface* gaugeAccessibleFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String(TGauge::staticMetaObject.className()) && object != nullptr && object->isWidgetType())
        return new GaugeAccessible(static_cast<TGauge*>(object));
    return nullptr;
}

} // namespace

TGauge::TGauge(QWidget* parent) : QWidget(parent)
{
    // Every pixel is painted from the off-screen image; nothing of the parent shows through.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(100, 100);
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(gaugeAccessibleFactory);
        return true;
    }();
    (void)factoryInstalled;
}

void TGauge::SetKind(TGaugeKind value)
{
    assignAndRepaint(kind_, value);
}

void TGauge::SetShowText(bool value)
{
    assignAndRepaint(showText_, value);
}

void TGauge::SetBorderStyle(TBorderStyle value)
{
    assignAndRepaint(borderStyle_, value);
}

QColor TGauge::ForeColor() const
{
    return foreColor_.isValid() ? foreColor_ : palette().color(QPalette::Text);
}

QColor TGauge::BackColor() const
{
    return backColor_.isValid() ? backColor_ : palette().color(QPalette::Base);
}

// A colour set to the one the palette already gives is kept, so it stays when the palette changes, but
// repaints nothing.
void TGauge::SetForeColor(const QColor& value)
{
    const QColor shown = ForeColor();
    foreColor_ = value;
    if (ForeColor() != shown)
        repaint();
}

void TGauge::SetBackColor(const QColor& value)
{
    const QColor shown = BackColor();
    backColor_ = value;
    if (BackColor() != shown)
        repaint();
}

template <typename T> void TGauge::assignAndRepaint(T& field, const T& value)
{
    if (value == field)
        return;
    field = value;
    repaint();
}

void TGauge::SetMinValue(int value)
{
    if (value == minValue_)
        return;
    if (value > maxValue_)
        refuseValue(-INT_MAX, static_cast<long long>(maxValue_) - 1);
    minValue_ = value;
    progress_ = std::max(progress_, minValue_);
    repaint();
    announceValue();
}

void TGauge::SetMaxValue(int value)
{
    if (value == maxValue_)
        return;
    if (value < minValue_)
        refuseValue(static_cast<long long>(minValue_) + 1, INT_MAX);
    maxValue_ = value;
    progress_ = std::min(progress_, maxValue_);
    repaint();
    announceValue();
}

void TGauge::SetProgress(int value)
{
    setClampedProgress(value);
}

void TGauge::Advance(int amount)
{
    setClampedProgress(static_cast<long long>(progress_) + amount);
    repaint();
}

void TGauge::setClampedProgress(long long value)
{
    const int before = Percent();
    const int clamped = static_cast<int>(std::clamp<long long>(value, minValue_, maxValue_));
    if (clamped == progress_)
        return;
    progress_ = clamped;
    if (Percent() != before) {
        repaint();
        announceValue();
    }
}

void TGauge::SetCaptionLabels(std::initializer_list<const QLabel*> labels)
{
    captionLabels_.assign(labels.begin(), labels.end());
}

QString TGauge::AccessibleCaption() const
{
    for (const QPointer<const QLabel>& label : captionLabels_)
        if (label && !label->text().isEmpty())
            return label->text();
    return {};
}

void TGauge::announceValue()
{
    if (!QAccessible::isActive())
        return;
    QAccessibleValueChangeEvent event(this, Percent());
    QAccessible::updateAccessibility(&event);
}

int TGauge::Percent() const noexcept
{
    const long long span = static_cast<long long>(maxValue_) - minValue_;
    if (span == 0)
        return 0;
    return static_cast<int>(static_cast<double>(static_cast<long long>(progress_) - minValue_) * 100.0 /
                            static_cast<double>(span));
}

QSize TGauge::sizeHint() const
{
    const QFontMetrics metrics(font());
    const int border = borderStyle_ == bsSingle ? 2 : 0;
    return {metrics.horizontalAdvance(QStringLiteral("100%")) + border, metrics.height() + border};
}

QRect TGauge::drawingArea() const
{
    return borderStyle_ == bsSingle ? rect().adjusted(1, 1, -1, -1) : rect();
}

void TGauge::paintEvent(QPaintEvent*)
{
    // Drawn in the screen's own pixels, so a scaled screen gets a sharp percentage.
    const qreal ratio = devicePixelRatioF();
    QImage image(size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    // What the area leaves is the single border, in the window's text colour, so the gauge's extent shows
    // against the dialog in a dark palette as in a light one.
    image.fill(palette().color(QPalette::WindowText));
    const QRect area = drawingArea();
    paintKind(image, area);
    if (showText_)
        swapUnderText(image, textCoverage(image, area), area);
    QPainter(this).drawImage(0, 0, image);
}

void TGauge::paintKind(QImage& image, const QRect& area) const
{
    if (area.isEmpty())
        return;
    QPainter painter(&image);
    const int percent = Percent();
    const QColor foreColor = ForeColor();
    const QColor backColor = BackColor();
    const int width = area.width();
    const int height = area.height();
    // Outlines share the fill's rectangle: Qt draws a 1-pixel outline one pixel beyond a QRect's size.
    const QRect outline(area.left(), area.top(), width - 1, height - 1);

    switch (kind_) {
    case gkText:
        painter.fillRect(area, backColor);
        break;
    case gkHorizontalBar: {
        painter.fillRect(area, backColor);
        const int fill = std::min(width, width * percent / 100);
        if (fill >= 1)
            painter.fillRect(area.left(), area.top(), fill, height, foreColor);
        break;
    }
    case gkVerticalBar: {
        painter.fillRect(area, backColor);
        int fill = height * percent / 100;
        if (fill >= height)
            fill = height - 1;
        if (fill >= 1)
            painter.fillRect(area.left(), area.bottom() - fill + 1, width, fill, foreColor);
        break;
    }
    case gkPie: {
        painter.fillRect(area, palette().color(QPalette::Window));
        painter.setPen(QPen(foreColor, 1));
        painter.setBrush(backColor);
        painter.drawEllipse(outline);
        if (percent > 0) {
            // The slice grows clockwise from twelve o'clock; Qt counts angles counter-clockwise from three
            // o'clock in sixteenths of a degree.
            const int span = roundToEven(percent * 3.6 * 16);
            painter.setBrush(foreColor);
            painter.drawPie(outline, 90 * 16 - span, span);
        }
        break;
    }
    case gkNeedle: {
        painter.fillRect(area, palette().color(QPalette::Window));
        painter.setPen(QPen(foreColor, 1));
        painter.setBrush(backColor);
        // The upper half of an ellipse twice the area's height: a dial whose centre is on the bottom row.
        painter.drawPie(QRect(area.left(), area.top(), width - 1, 2 * height - 2), 0, 180 * 16);
        painter.drawLine(area.left(), area.bottom(), area.right(), area.bottom());
        // Drawn at 0% too, pointing left, so an empty gauge still shows where it stands.
        const int centreX = this->width() / 2;
        const double angle = std::numbers::pi * percent / 100;
        const int pivotY = area.bottom() - 1;
        painter.drawLine(centreX, pivotY, roundToEven(centreX * (1 - std::cos(angle))),
                         roundToEven(pivotY * (1 - std::sin(angle))));
        break;
    }
    }
}

QImage TGauge::textCoverage(const QImage& image, const QRect& area) const
{
    QImage coverage(image.size(), QImage::Format_Alpha8);
    coverage.setDevicePixelRatio(image.devicePixelRatio());
    coverage.fill(0);
    QPainter painter(&coverage);
    QFont textFont = font();
    // Grey edges blend into grey edges; coloured sub-pixel edges would not.
    textFont.setStyleStrategy(QFont::NoSubpixelAntialias);
    painter.setFont(textFont);
    // Only the alpha channel is kept: any opaque colour draws full coverage.
    QColor opaque = ForeColor();
    opaque.setAlpha(255);
    painter.setPen(opaque);
    painter.setClipRect(area);
    const QString text = QString::asprintf("%d%%", Percent());
    const QFontMetrics metrics(textFont);
    const int x = (area.width() - metrics.horizontalAdvance(text)) / 2;
    const int y = (area.height() - metrics.height()) / 2;
    painter.drawText(x, y + metrics.ascent(), text);
    return coverage;
}

// Under the percentage the fill turns into the track's colour and the track into the fill's, edges blended
// by their coverage. With black and white that is the exclusive or the component always drew; with the
// palette's colours the text stands out from either part as well as the fill does from the track.
void TGauge::swapUnderText(QImage& image, const QImage& coverage, const QRect& area) const
{
    const QRgb swap = (ForeColor().rgb() ^ BackColor().rgb()) & RGB_MASK;
    const qreal ratio = image.devicePixelRatio();
    const QRect pixels =
        QRectF(area.x() * ratio, area.y() * ratio, area.width() * ratio, area.height() * ratio).toAlignedRect() &
        image.rect();
    for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
        const uchar* line = coverage.constScanLine(y);
        for (int x = pixels.left(); x <= pixels.right(); ++x) {
            const int cover = line[x];
            if (cover == 0)
                continue;
            const QRgb below = image.pixel(x, y);
            const QRgb swapped = below ^ swap;
            const auto blend = [cover](int from, int to) { return from + (to - from) * cover / 255; };
            image.setPixel(x, y,
                           qRgb(blend(qRed(below), qRed(swapped)), blend(qGreen(below), qGreen(swapped)),
                                blend(qBlue(below), qBlue(swapped))));
        }
    }
}

} // namespace tazen
