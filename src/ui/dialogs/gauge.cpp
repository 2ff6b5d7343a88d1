// TGauge: a value between a minimum and a maximum shown as a percentage, as text, a bar, a pie or a needle.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/gauge.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QApplication>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>
#include <string>

namespace tazen {

namespace {

// Both images start black, so the exclusive or shows the source where it is not black and a single
// border stays black.
void combineByExclusiveOr(QImage& target, const QImage& source)
{
    QPainter painter(&target);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.drawImage(0, 0, source);
}

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

void TOverlayBitmap::MakeLike(const QImage& templateImage)
{
    *static_cast<QImage*>(this) = QImage(templateImage.size(), QImage::Format_RGB32);
    fill(QApplication::palette().color(QPalette::Shadow));
}

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

void TGauge::SetForeColor(const QColor& value)
{
    assignAndRepaint(foreColor_, value);
}

void TGauge::SetBackColor(const QColor& value)
{
    assignAndRepaint(backColor_, value);
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

QRect TGauge::drawingArea() const
{
    return borderStyle_ == bsSingle ? rect().adjusted(1, 1, -1, -1) : rect();
}

void TGauge::paintEvent(QPaintEvent*)
{
    QImage image(size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    const QRect area = drawingArea();

    TOverlayBitmap overlay;
    overlay.MakeLike(image);
    overlay.fill(Qt::black);
    paintKind(overlay, area);
    combineByExclusiveOr(image, overlay);

    if (showText_) {
        TOverlayBitmap textImage;
        textImage.MakeLike(image);
        textImage.fill(Qt::black);
        paintText(textImage, area);
        combineByExclusiveOr(image, textImage);
    }

    QPainter(this).drawImage(0, 0, image);
}

void TGauge::paintKind(QImage& overlay, const QRect& area) const
{
    if (area.isEmpty())
        return;
    QPainter painter(&overlay);
    const int percent = Percent();
    const int width = area.width();
    const int height = area.height();
    // Outlines share the fill's rectangle: Qt draws a 1-pixel outline one pixel beyond a QRect's size.
    const QRect outline(area.left(), area.top(), width - 1, height - 1);

    switch (kind_) {
    case gkText:
        painter.fillRect(area, backColor_);
        break;
    case gkHorizontalBar: {
        painter.fillRect(area, backColor_);
        const int fill = std::min(width, width * percent / 100);
        if (fill >= 1)
            painter.fillRect(area.left(), area.top(), fill, height, foreColor_);
        break;
    }
    case gkVerticalBar: {
        painter.fillRect(area, backColor_);
        int fill = height * percent / 100;
        if (fill >= height)
            fill = height - 1;
        if (fill >= 1)
            painter.fillRect(area.left(), area.bottom() - fill + 1, width, fill, foreColor_);
        break;
    }
    case gkPie: {
        painter.fillRect(area, palette().color(QPalette::Window));
        painter.setPen(QPen(foreColor_, 1));
        painter.setBrush(backColor_);
        painter.drawEllipse(outline);
        if (percent > 0) {
            // The slice grows clockwise from twelve o'clock; Qt counts angles counter-clockwise from three
            // o'clock in sixteenths of a degree.
            const int span = roundToEven(percent * 3.6 * 16);
            painter.setBrush(foreColor_);
            painter.drawPie(outline, 90 * 16 - span, span);
        }
        break;
    }
    case gkNeedle: {
        painter.fillRect(area, palette().color(QPalette::Window));
        painter.setPen(QPen(foreColor_, 1));
        painter.setBrush(backColor_);
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

void TGauge::paintText(QImage& textImage, const QRect& area) const
{
    QPainter painter(&textImage);
    QFont textFont = font();
    // Grey edges invert into grey edges; coloured sub-pixel edges would not.
    textFont.setStyleStrategy(QFont::NoSubpixelAntialias);
    painter.setFont(textFont);
    painter.setPen(Qt::white);
    painter.setClipRect(area);
    const QString text = QString::asprintf("%d%%", Percent());
    const QFontMetrics metrics(textFont);
    const int x = (area.width() - metrics.horizontalAdvance(text)) / 2;
    const int y = (area.height() - metrics.height()) / 2;
    painter.drawText(x, y + metrics.ascent(), text);
}

} // namespace tazen
