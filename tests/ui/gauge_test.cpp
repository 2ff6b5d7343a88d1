// The gauge's pixels, its repaint rules and its property rules.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/gauge.h"

#include "common/paint_counter.h"
#include "ui/about.h"

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QPalette>
#include <QWindow>

#include <gtest/gtest.h>

#include <climits>
#include <type_traits>

namespace tazen {
namespace {

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;

// A gauge of the given outer size showing value of 0..100, drawn as the widget draws itself.
QImage render(TGaugeKind kind, int width, int height, int value, bool showText = false)
{
    TGauge gauge;
    gauge.resize(width, height);
    gauge.SetKind(kind);
    gauge.SetShowText(showText);
    gauge.SetProgress(value);
    return gauge.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

template <typename Match> int countPixels(const QImage& image, const QRect& region, Match match)
{
    int count = 0;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            if constexpr (std::is_invocable_v<Match, int>)
                count += match(qRed(image.pixel(x, y)));
            else
                count += image.pixel(x, y) == match;
    return count;
}

TEST(GaugePixels, HorizontalBarFillsTheTruncatedShareOfColumnsFromTheLeft)
{
    // W = 100 inside the border.
    for (int percent : {0, 1, 29, 33, 57, 99, 100}) {
        const QImage image = render(gkHorizontalBar, 102, 12, percent);
        for (int x = 1; x <= 100; ++x)
            ASSERT_EQ(image.pixel(x, 5), x <= percent ? kBlack : kWhite) << percent << "% at column " << x;
        EXPECT_EQ(countPixels(image, QRect(1, 1, 100, 10), kBlack), percent * 10) << percent;
    }
    // An odd width: 337 columns at 33% is 111.21.
    const QImage wide = render(gkHorizontalBar, 339, 20, 33);
    EXPECT_EQ(countPixels(wide, QRect(1, 10, 337, 1), kBlack), 111);
}

TEST(GaugePixels, TheTextInvertsWhatIsBelowIt)
{
    const QImage text = render(gkHorizontalBar, 202, 40, 50, true);
    const QRect filled(1, 1, 100, 38);
    const QRect empty(101, 1, 100, 38);
    // "50%" straddles the end of the bar: light strokes over the fill, dark strokes over the rest.
    EXPECT_GT(countPixels(text, filled, [](int grey) { return grey > 0x80; }), 20);
    EXPECT_GT(countPixels(text, empty, [](int grey) { return grey < 0x80; }), 20);

    // The same gauge in swapped colours differs in every bit of every pixel of the area, text included,
    // which only an exclusive or of the text over the bar gives.
    TGauge swapped;
    swapped.resize(202, 40);
    swapped.SetForeColor(Qt::white);
    swapped.SetBackColor(Qt::black);
    swapped.SetProgress(50);
    const QImage inverse = swapped.grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 1; y <= 38; ++y)
        for (int x = 1; x <= 200; ++x)
            ASSERT_EQ((text.pixel(x, y) ^ inverse.pixel(x, y)) & 0xFFFFFF, 0xFFFFFFu) << x << "," << y;
    // The border is never drawn over.
    EXPECT_EQ(countPixels(text, QRect(0, 0, 202, 1), kBlack), 202);
    EXPECT_EQ(countPixels(text, QRect(0, 39, 202, 1), kBlack), 202);
}

// A dark theme: the track takes the palette's base colour and the fill its text colour, as a text field
// does, and the percentage swaps the two under it, so it reads over either part.
TEST(GaugePixels, ADarkPaletteGivesADarkTrackAndTheTextInTheOtherPartsColour)
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x32, 0x32, 0x32));
    dark.setColor(QPalette::WindowText, QColor(0xF0, 0xF0, 0xF0));
    dark.setColor(QPalette::Base, QColor(0x24, 0x24, 0x24));
    dark.setColor(QPalette::Text, QColor(0xE0, 0xE8, 0xF0));
    TGauge gauge;
    gauge.setPalette(dark);
    gauge.resize(202, 40);
    gauge.SetProgress(50);
    const QImage image = gauge.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb track = dark.color(QPalette::Base).rgb();
    const QRgb fill = dark.color(QPalette::Text).rgb();
    const QRect filled(1, 1, 100, 38);
    const QRect empty(101, 1, 100, 38);
    EXPECT_EQ(image.pixel(195, 20), track);
    EXPECT_EQ(image.pixel(5, 20), fill);
    EXPECT_EQ(countPixels(image, QRect(0, 0, 202, 1), dark.color(QPalette::WindowText).rgb()), 202) << "border";
    // "50%" straddles the end of the bar; its strokes read against either part.
    const auto readable = [&](const QRect& region, QRgb around) {
        int count = 0;
        for (int y = region.top(); y <= region.bottom(); ++y)
            for (int x = region.left(); x <= region.right(); ++x)
                count += ContrastRatio(QColor(image.pixel(x, y)), QColor(around)) >= 4.5;
        return count;
    };
    EXPECT_GT(readable(filled, fill), 20) << "text over the fill";
    EXPECT_GT(readable(empty, track), 20) << "text over the track";
}

TEST(GaugePixels, AnEmptyRangeShowsZeroPercentAndAnEmptyBar)
{
    TGauge empty;
    empty.resize(120, 30);
    empty.SetMaxValue(0);
    EXPECT_EQ(empty.Percent(), 0);
    TGauge zero;
    zero.resize(120, 30);
    EXPECT_EQ(empty.grab().toImage(), zero.grab().toImage());

    const QImage noText = render(gkHorizontalBar, 120, 30, 0);
    EXPECT_EQ(countPixels(noText, QRect(1, 1, 118, 28), kWhite), 118 * 28);
}

TEST(GaugePixels, VerticalBarFillsFromTheBottomAndNeverTheTopRow)
{
    // H = 100 inside the border.
    const QImage quarter = render(gkVerticalBar, 12, 102, 25);
    for (int y = 1; y <= 100; ++y)
        ASSERT_EQ(quarter.pixel(5, y), y > 75 ? kBlack : kWhite) << "row " << y;
    const QImage full = render(gkVerticalBar, 12, 102, 100);
    EXPECT_EQ(full.pixel(5, 1), kWhite);
    EXPECT_EQ(countPixels(full, QRect(5, 2, 1, 99), kBlack), 99);
}

TEST(GaugePixels, PieGrowsClockwiseFromTwelveOClock)
{
    const QImage quarter = render(gkPie, 103, 103, 25);
    const QImage half = render(gkPie, 103, 103, 50);
    const QImage none = render(gkPie, 103, 103, 0);
    const int c = 51;
    const QPoint upperRight(c + 20, c - 20), lowerRight(c + 20, c + 20), lowerLeft(c - 20, c + 20),
        upperLeft(c - 20, c - 20);
    EXPECT_EQ(quarter.pixel(upperRight), kBlack);
    EXPECT_EQ(quarter.pixel(lowerRight), kWhite);
    EXPECT_EQ(quarter.pixel(lowerLeft), kWhite);
    EXPECT_EQ(quarter.pixel(upperLeft), kWhite);
    EXPECT_EQ(half.pixel(upperRight), kBlack);
    EXPECT_EQ(half.pixel(lowerRight), kBlack);
    EXPECT_EQ(half.pixel(lowerLeft), kWhite);
    EXPECT_EQ(half.pixel(upperLeft), kWhite);
    EXPECT_EQ(none.pixel(upperRight), kWhite);
    // Outside the circle the control's own colour shows.
    EXPECT_EQ(none.pixel(3, 3), QApplication::palette().color(QPalette::Window).rgb());
}

TEST(GaugePixels, NeedlePointsLeftUpAndRight)
{
    // 101 by 52: the area is 99 by 50, its bottom row 50, the needle's pivot at (50, 49).
    const int pivotY = 49;
    const QImage left = render(gkNeedle, 101, 52, 0);
    const QImage up = render(gkNeedle, 101, 52, 50);
    const QImage right = render(gkNeedle, 101, 52, 100);
    const QPoint alongLeft(25, pivotY), alongUp(50, 25), alongRight(75, pivotY);
    EXPECT_EQ(left.pixel(alongLeft), kBlack);
    EXPECT_EQ(left.pixel(alongUp), kWhite);
    EXPECT_EQ(left.pixel(alongRight), kWhite);
    EXPECT_EQ(up.pixel(alongLeft), kWhite);
    EXPECT_EQ(up.pixel(alongUp), kBlack);
    EXPECT_EQ(up.pixel(alongRight), kWhite);
    EXPECT_EQ(right.pixel(alongLeft), kWhite);
    EXPECT_EQ(right.pixel(alongUp), kWhite);
    EXPECT_EQ(right.pixel(alongRight), kBlack);
}

TEST(GaugePixels, ASingleBorderKeepsTheWindowTextColourWhateverTheColours)
{
    TGauge gauge;
    gauge.resize(60, 20);
    gauge.SetShowText(false);
    gauge.SetForeColor(Qt::red);
    gauge.SetBackColor(Qt::yellow);
    gauge.SetProgress(50);
    const QImage framed = gauge.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int border = 2 * 60 + 2 * 18;
    EXPECT_EQ(countPixels(framed, framed.rect(), QApplication::palette().color(QPalette::WindowText).rgb()), border);
    EXPECT_EQ(framed.pixel(10, 10), QColor(Qt::red).rgb());
    EXPECT_EQ(framed.pixel(50, 10), QColor(Qt::yellow).rgb());

    gauge.SetBorderStyle(bsNone);
    const QImage bare = gauge.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(bare.pixel(0, 10), QColor(Qt::red).rgb());
    EXPECT_EQ(bare.pixel(59, 0), QColor(Qt::yellow).rgb());
}

class GaugeRepaint : public testing::Test
{
protected:
    GaugeRepaint()
    {
        gauge.resize(200, 20);
        gauge.show();
        // Paints are synchronous once the window is exposed, which happens as events are handled.
        QApplication::processEvents();
    }
    void SetUp() override { ASSERT_TRUE(gauge.windowHandle()->isExposed()); }
    TGauge gauge;
};

TEST_F(GaugeRepaint, ProgressRepaintsOnlyWhenTheWholePercentageChanges)
{
    gauge.SetMaxValue(1000);
    test::PaintCounter counter(gauge);
    gauge.SetProgress(1);
    EXPECT_EQ(gauge.Percent(), 0);
    EXPECT_EQ(counter.paints, 0);
    for (int value = 2; value <= 1000; ++value)
        gauge.SetProgress(value);
    EXPECT_EQ(counter.paints, 100);
}

TEST_F(GaugeRepaint, EqualValuesRepaintNothingAndAdvanceAlwaysRepaints)
{
    gauge.SetProgress(40);
    test::PaintCounter counter(gauge);
    gauge.SetProgress(40);
    gauge.SetProgress(140);
    gauge.SetProgress(100);
    gauge.SetKind(gkHorizontalBar);
    gauge.SetShowText(true);
    gauge.SetBorderStyle(bsSingle);
    gauge.SetForeColor(Qt::black);
    gauge.SetBackColor(Qt::white);
    gauge.SetMinValue(0);
    gauge.SetMaxValue(100);
    EXPECT_EQ(counter.paints, 1);
    gauge.Advance(0);
    gauge.Advance(5);
    EXPECT_EQ(counter.paints, 3);
    gauge.SetKind(gkPie);
    gauge.SetShowText(false);
    gauge.SetBackColor(Qt::blue);
    EXPECT_EQ(counter.paints, 6);
}

TEST(GaugeProperties, DefaultsAndClamping)
{
    TGauge gauge;
    EXPECT_EQ(gauge.size(), QSize(100, 100));
    EXPECT_EQ(gauge.Kind(), gkHorizontalBar);
    EXPECT_TRUE(gauge.ShowText());
    EXPECT_EQ(gauge.BorderStyle(), bsSingle);
    EXPECT_EQ(gauge.ForeColor(), QColor(Qt::black));
    EXPECT_EQ(gauge.BackColor(), QColor(Qt::white));
    EXPECT_EQ(gauge.MinValue(), 0);
    EXPECT_EQ(gauge.MaxValue(), 100);
    EXPECT_EQ(gauge.Progress(), 0);

    gauge.SetProgress(150);
    EXPECT_EQ(gauge.Progress(), 100);
    gauge.SetProgress(-5);
    EXPECT_EQ(gauge.Progress(), 0);
    gauge.SetProgress(37);
    gauge.Advance(gauge.MaxValue() - gauge.Progress());
    EXPECT_EQ(gauge.Percent(), 100);

    gauge.SetProgress(10);
    gauge.SetMinValue(50);
    EXPECT_EQ(gauge.Progress(), 50);
    gauge.SetProgress(80);
    gauge.SetMaxValue(60);
    EXPECT_EQ(gauge.Progress(), 60);
}

TEST(GaugeProperties, ExtremeRangesNeitherOverflowNorLeaveTheRange)
{
    TGauge gauge;
    gauge.SetMinValue(INT_MIN);
    gauge.SetMaxValue(INT_MAX);
    gauge.SetProgress(0);
    EXPECT_EQ(gauge.Percent(), 50);
    gauge.SetProgress(INT_MAX - 1);
    gauge.Advance(INT_MAX);
    EXPECT_EQ(gauge.Progress(), INT_MAX);
    gauge.Advance(INT_MIN);
    gauge.Advance(INT_MIN);
    EXPECT_EQ(gauge.Progress(), INT_MIN);
    EXPECT_EQ(gauge.Percent(), 0);
}

TEST(GaugeProperties, RefusedBoundsNameTheAllowedRangeAndAreNotStored)
{
    TGauge gauge;
    try {
        gauge.SetMinValue(200);
        FAIL() << "a minimum above the maximum was taken";
    } catch (const EInvalidOperation& error) {
        EXPECT_STREQ(error.what(), "Value must be between -2147483647 and 99");
    }
    EXPECT_EQ(gauge.MinValue(), 0);
    try {
        gauge.SetMaxValue(-1);
        FAIL() << "a maximum below the minimum was taken";
    } catch (const EInvalidOperation& error) {
        EXPECT_STREQ(error.what(), "Value must be between 1 and 2147483647");
    }
    EXPECT_EQ(gauge.MaxValue(), 100);

    gauge.SetMinValue(100);
    EXPECT_EQ(gauge.Percent(), 0);
    gauge.SetMinValue(INT_MIN);
    gauge.SetMaxValue(INT_MIN);
    EXPECT_THROW(gauge.SetMinValue(0), EInvalidOperation);
}

} // namespace
} // namespace tazen
