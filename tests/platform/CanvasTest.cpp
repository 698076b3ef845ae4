// The drawing surface over QPainter: the figures cover exactly the pixels the platform's
// primitives cover, fonts are realised at the device's resolution, text sits on its anchor.
#include "platform/Canvas.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <optional>

namespace {

using platform::Brush;
using platform::BrushStyle;
using platform::Pen;
using platform::PenStyle;

constexpr QRgb Background = 0xFF3C3C3C;
constexpr platform::TColor Red = 0x0000FF;
constexpr platform::TColor Blue = 0xFF0000;
constexpr QRgb RedPixel = 0xFFFF0000;
constexpr QRgb BluePixel = 0xFF0000FF;

QImage Image(int dpi, int width = 600, int height = 400) {
    QImage image(width, height, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Background);
    return image;
}

// Draws one figure with a red pen of the given width and style and a blue brush.
QImage Figure(int penWidth, PenStyle penStyle, BrushStyle brushStyle,
              void (*draw)(platform::Canvas &)) {
    QImage image = Image(96);
    platform::PainterCanvas canvas(image);
    canvas.setPen({Red, penWidth, penStyle});
    canvas.setBrush({Blue, brushStyle});
    draw(canvas);
    return image;
}

TEST(Canvas, RectangleCoversTheBoxWithoutItsRightAndBottomEdge) {
    for (int width : {0, 1}) {
        const QImage image = Figure(width, PenStyle::Solid, BrushStyle::Solid,
                                    [](platform::Canvas &c) { c.Rectangle(10, 20, 110, 70); });
        EXPECT_EQ(image.pixel(10, 20), RedPixel);
        EXPECT_EQ(image.pixel(109, 69), RedPixel);
        EXPECT_EQ(image.pixel(109, 20), RedPixel);
        EXPECT_EQ(image.pixel(11, 21), BluePixel);
        EXPECT_EQ(image.pixel(108, 68), BluePixel);
        EXPECT_EQ(image.pixel(110, 69), Background);
        EXPECT_EQ(image.pixel(109, 70), Background);
        EXPECT_EQ(image.pixel(9, 20), Background);
    }
}

TEST(Canvas, WidePenLiesInsideTheBox) {
    const QImage image = Figure(3, PenStyle::Solid, BrushStyle::Solid,
                                [](platform::Canvas &c) { c.Rectangle(10, 20, 110, 70); });
    EXPECT_EQ(image.pixel(9, 40), Background);
    EXPECT_EQ(image.pixel(10, 40), RedPixel);
    EXPECT_EQ(image.pixel(12, 40), RedPixel);
    EXPECT_EQ(image.pixel(13, 40), BluePixel);
    EXPECT_EQ(image.pixel(106, 40), BluePixel);
    EXPECT_EQ(image.pixel(107, 40), RedPixel);
    EXPECT_EQ(image.pixel(109, 40), RedPixel);
    EXPECT_EQ(image.pixel(110, 40), Background);
    EXPECT_EQ(image.pixel(50, 67), RedPixel);
    EXPECT_EQ(image.pixel(50, 66), BluePixel);
}

TEST(Canvas, ClearPenOrBrushLeaveTheirPartOut) {
    const QImage noPen = Figure(1, PenStyle::Clear, BrushStyle::Solid,
                                [](platform::Canvas &c) { c.Rectangle(10, 20, 110, 70); });
    EXPECT_EQ(noPen.pixel(10, 20), BluePixel);
    EXPECT_EQ(noPen.pixel(108, 68), BluePixel);
    EXPECT_EQ(noPen.pixel(109, 40), Background); // one pixel smaller without an outline
    EXPECT_EQ(noPen.pixel(40, 69), Background);

    const QImage noBrush = Figure(1, PenStyle::Solid, BrushStyle::Clear,
                                  [](platform::Canvas &c) { c.Rectangle(10, 20, 110, 70); });
    EXPECT_EQ(noBrush.pixel(10, 20), RedPixel);
    EXPECT_EQ(noBrush.pixel(50, 40), Background);
}

TEST(Canvas, FillRectFillsWithTheBrushOnly) {
    const QImage image = Figure(3, PenStyle::Solid, BrushStyle::Solid,
                                [](platform::Canvas &c) { c.FillRect(10, 20, 110, 70); });
    EXPECT_EQ(image.pixel(10, 20), BluePixel);
    EXPECT_EQ(image.pixel(109, 69), BluePixel);
    EXPECT_EQ(image.pixel(110, 69), Background);
    EXPECT_EQ(image.pixel(109, 70), Background);
}

TEST(Canvas, RoundRectCutsItsCornersByTheEllipse) {
    const QImage image = Figure(1, PenStyle::Solid, BrushStyle::Solid,
                                [](platform::Canvas &c) { c.RoundRect(10, 20, 210, 120, 60, 60); });
    EXPECT_EQ(image.pixel(10, 20), Background);
    EXPECT_EQ(image.pixel(18, 28), Background); // well outside the 30-pixel corner arc
    EXPECT_EQ(image.pixel(40, 20), RedPixel);
    EXPECT_EQ(image.pixel(10, 50), RedPixel);
    EXPECT_EQ(image.pixel(110, 70), BluePixel);
    EXPECT_EQ(image.pixel(210, 70), Background);
}

TEST(Canvas, FontsAreRealisedByPixelSizeAtTheDeviceResolution) {
    const std::tuple<int, int, int> cases[] = {// points, dpi, em pixels
                                               {12, 600, 100}, {10, 600, 83},  {14, 600, 117},
                                               {12, 96, 16},   {10, 96, 13},   {14, 96, 19},
                                               {9, 100, 12}, // 12.5 -> 12
                                               {15, 120, 25},  {12, 1200, 200}};
    for (const auto &[points, dpi, pixels] : cases)
        EXPECT_EQ(platform::FontPixelSize(points, dpi), pixels) << points << "@" << dpi;

    QImage image = Image(600);
    platform::PainterCanvas canvas(image);
    canvas.setFont({"Times New Roman", 12, {true}});
    const QFont realised = platform::RealiseFont(canvas.font(), 600);
    EXPECT_EQ(realised.pixelSize(), 100);
    EXPECT_EQ(QFontInfo(realised).family(), "Liberation Serif");
    const QFontMetrics metrics(realised);
    EXPECT_EQ(canvas.TextExtent("W").height(), metrics.ascent() + metrics.descent());
    EXPECT_EQ(canvas.TextExtent("Tabliczka").width(), metrics.horizontalAdvance("Tabliczka"));
}

std::optional<QRect> Ink(const QImage &image) {
    std::optional<QRect> ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == 0xFF000000)
                ink = ink ? ink->united(QRect(x, y, 1, 1)) : QRect(x, y, 1, 1);
    return ink;
}

TEST(Canvas, TextHangsFromItsCellTopAtTheAnchor) {
    const QString text = QStringLiteral("Hxm");
    for (auto anchor :
         {platform::TextAnchor::Left, platform::TextAnchor::Right, platform::TextAnchor::Centre}) {
        SCOPED_TRACE(int(anchor));
        QImage image = Image(600, 1200, 400);
        image.fill(Qt::white);
        platform::PainterCanvas canvas(image);
        canvas.setFont({"Times New Roman", 12, {}, platform::clBlack});
        const QSize extent = canvas.TextExtent(text);
        canvas.TextOut(600, 100, text, anchor, false);
        int left = 600;
        if (anchor == platform::TextAnchor::Right)
            left -= extent.width();
        else if (anchor == platform::TextAnchor::Centre)
            left -= extent.width() / 2;
        const auto ink = Ink(image);
        ASSERT_TRUE(ink);
        EXPECT_GE(ink->left(), left - 2);
        EXPECT_LE(ink->right(), left + extent.width() + 2);
        EXPECT_GT(ink->width(), extent.width() * 9 / 10);
        // "H" reaches up to the cap height, well below the top of the cell and above its
        // baseline.
        const QFontMetrics metrics(platform::RealiseFont(canvas.font(), 600));
        EXPECT_GT(ink->top(), 100);
        EXPECT_LE(ink->bottom(), 100 + metrics.ascent() + metrics.descent());
        EXPECT_NEAR(ink->top(), 100 + metrics.ascent() - metrics.capHeight(), 3);
    }
}

TEST(Canvas, OpaqueTextFillsItsCellWithTheBrushColour) {
    QImage image = Image(96);
    platform::PainterCanvas canvas(image);
    canvas.setFont({"Times New Roman", 12, {}, platform::clWindowText});
    canvas.setBrush({Blue, BrushStyle::Solid});
    const QSize extent = canvas.TextExtent("ab");
    canvas.TextOut(100, 50, "ab", platform::TextAnchor::Left, true);
    canvas.TextOut(300, 50, "ab", platform::TextAnchor::Left, false);
    EXPECT_EQ(image.pixel(100, 50), BluePixel);
    EXPECT_EQ(image.pixel(100 + extent.width() - 1, 50 + extent.height() - 1), BluePixel);
    EXPECT_EQ(image.pixel(100 + extent.width(), 50), Background);
    EXPECT_EQ(image.pixel(300, 50), Background);
    // The window-text colour resolves to the desktop's text colour.
    bool black = false;
    for (int x = 300; x < 300 + extent.width(); ++x)
        for (int y = 50; y < 50 + extent.height(); ++y)
            black = black || image.pixel(x, y) == 0xFF000000;
    EXPECT_TRUE(black);
}

TEST(Canvas, BorrowedPainterKeepsItsDeviceAndTakesTheGivenResolution) {
    QImage image = Image(96);
    QPainter painter(&image);
    {
        platform::PainterCanvas canvas(painter, 1200, 1200);
        EXPECT_EQ(canvas.dpiY(), 1200);
        canvas.setFont({"Times New Roman", 12});
        EXPECT_GT(canvas.TextExtent("W").height(), 200); // a 200-pixel font
        canvas.setBrush({Blue, BrushStyle::Solid});
        canvas.FillRect(0, 0, 5, 5);
    }
    EXPECT_TRUE(painter.isActive());
    painter.end();
    EXPECT_EQ(image.pixel(4, 4), BluePixel);
}

} // namespace
