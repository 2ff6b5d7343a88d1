// The program's icon and the tool bar's glyphs.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/icons.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <utility>

namespace tazen {

namespace {

const QColor kInk(0x2b, 0x3a, 0x4a);
const QColor kBrass(0xd9, 0xa4, 0x1e);
const QColor kGreen(0x2e, 0x8b, 0x3e);
const QColor kRed(0xc0, 0x39, 0x2b);
const QColor kPaper(0xf4, 0xf4, 0xf0);

// Drawn on a 32 × 32 grid and scaled.
void padlock(QPainter& painter, bool open, QRectF body)
{
    QPen shackle(kInk, 3.2, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(shackle);
    painter.setBrush(Qt::NoBrush);
    const qreal width = body.width() * 0.56;
    const qreal left = body.center().x() - width / 2 + (open ? body.width() * 0.28 : 0);
    const QRectF arc(left, body.top() - width * 0.85, width, width * 1.3);
    QPainterPath path;
    path.moveTo(arc.left(), body.top() + (open ? -width * 0.35 : 0));
    path.lineTo(arc.left(), arc.center().y());
    path.arcTo(arc, 180, -180);
    path.lineTo(arc.right(), body.top());
    painter.drawPath(path);
    painter.setPen(QPen(kInk, 1.4));
    painter.setBrush(kBrass);
    painter.drawRoundedRect(body, 2.5, 2.5);
    painter.setBrush(kInk);
    const QPointF hole = body.center() - QPointF(0, body.height() * 0.1);
    painter.drawEllipse(hole, body.width() * 0.09, body.width() * 0.09);
    painter.drawRect(QRectF(hole.x() - 1, hole.y(), 2, body.height() * 0.3));
}

void page(QPainter& painter, QRectF sheet)
{
    painter.setPen(QPen(kInk, 1.4));
    painter.setBrush(kPaper);
    painter.drawRect(sheet);
    painter.setPen(QPen(kInk.lighter(220), 1.2));
    for (qreal y = sheet.top() + 5; y < sheet.bottom() - 3; y += 4)
        painter.drawLine(QPointF(sheet.left() + 3, y), QPointF(sheet.right() - 3, y));
}

void sign(QPainter& painter, QPointF centre, QColor colour, bool plus)
{
    painter.setPen(QPen(colour.darker(130), 1.2));
    painter.setBrush(colour);
    painter.drawEllipse(centre, 7.5, 7.5);
    painter.setPen(QPen(Qt::white, 2.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre - QPointF(4, 0), centre + QPointF(4, 0));
    if (plus)
        painter.drawLine(centre - QPointF(0, 4), centre + QPointF(0, 4));
}

void gear(QPainter& painter, QPointF centre)
{
    QPainterPath wheel;
    constexpr int kTeeth = 8;
    for (int i = 0; i < kTeeth * 2; ++i) {
        const qreal angle = i * std::numbers::pi / kTeeth;
        const qreal radius = (i % 2 == 0) ? 13 : 10;
        const QPointF point = centre + QPointF(std::cos(angle), std::sin(angle)) * radius;
        i == 0 ? wheel.moveTo(point) : wheel.lineTo(point);
    }
    wheel.closeSubpath();
    wheel.addEllipse(centre, 4.5, 4.5);
    painter.setPen(QPen(kInk, 1.4));
    painter.setBrush(QColor(0x8a, 0x98, 0xa8));
    painter.drawPath(wheel);
}

void draw(QPainter& painter, Glyph glyph)
{
    switch (glyph) {
    case Glyph::Program:
        page(painter, QRectF(3, 2, 20, 26));
        padlock(painter, false, QRectF(13, 16, 16, 13));
        break;
    case Glyph::Add:
        page(painter, QRectF(4, 2, 18, 24));
        sign(painter, QPointF(22, 22), kGreen, true);
        break;
    case Glyph::Remove:
        page(painter, QRectF(4, 2, 18, 24));
        sign(painter, QPointF(22, 22), kRed, false);
        break;
    case Glyph::Encrypt:
        padlock(painter, false, QRectF(6, 14, 20, 16));
        break;
    case Glyph::Decrypt:
        padlock(painter, true, QRectF(4, 14, 20, 16));
        break;
    case Glyph::Settings:
        gear(painter, QPointF(16, 16));
        break;
    }
}

} // namespace

QPixmap GlyphPixmap(Glyph glyph, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    draw(painter, glyph);
    return pixmap;
}

namespace {

// Draws a glyph at the size it is asked for, when it is asked for: drawing every size of every glyph up
// front was a third of the time the main window took to make.
class GlyphIconEngine : public QIconEngine
{
public:
    explicit GlyphIconEngine(Glyph glyph) : glyph_(glyph) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override
    {
        const int side = std::min(size.width(), size.height());
        const auto key = std::make_pair(side, mode);
        const auto cached = drawn_.find(key);
        if (cached != drawn_.end())
            return cached->second;
        QPixmap pixmap = GlyphPixmap(glyph_, std::max(side, 1));
        if (mode == QIcon::Disabled && QApplication::style()) {
            QStyleOption option;
            option.palette = QGuiApplication::palette();
            pixmap = QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
        }
        return drawn_.emplace(key, pixmap).first->second;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    // Window icons are handed to the window system in the sizes an icon says it has.
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return {{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}};
    }

    QIconEngine* clone() const override { return new GlyphIconEngine(glyph_); }

private:
    Glyph glyph_;
    std::map<std::pair<int, QIcon::Mode>, QPixmap> drawn_;
};

} // namespace

QIcon GlyphIcon(Glyph glyph)
{
    return QIcon(new GlyphIconEngine(glyph));
}

} // namespace tazen
