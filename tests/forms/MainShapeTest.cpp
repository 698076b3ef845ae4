// The sheet picker's shapes as drawn: a one-pixel black outline on the control's edge,
// the fill colour inside, and rounded corners on the markers.
#include "forms/controls/TShape.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

QImage Draw(TShape::Kind kind, platform::TColor fill) {
    QWidget parent;
    parent.setAutoFillBackground(true);
    QPalette colours = parent.palette();
    colours.setColor(QPalette::Window, Qt::green);
    parent.setPalette(colours);
    parent.resize(100, 70);
    auto *shape = new TShape(kind, &parent);
    shape->setGeometry(0, 0, 93, 59);
    shape->SetBrushColor(fill);
    return parent.grab().toImage().copy(0, 0, 93, 59);
}

TEST(MainShape, MarkerIsOutlinedFilledAndRounded) {
    struct Probe {
        QPoint at;
        QColor colour;
    };
    const QColor selection = platform::ToQColor(platform::SelectionColour);
    const Probe probes[] = {
        {{46, 29}, selection}, {{46, 0}, Qt::black},  {{46, 58}, Qt::black},
        {{0, 29}, Qt::black},  {{92, 29}, Qt::black}, {{1, 29}, selection},
        {{0, 0}, Qt::green},   {{92, 58}, Qt::green}, {{92, 0}, Qt::green},
    };
    const QImage image = Draw(TShape::Kind::RoundRect, platform::SelectionColour);
    EXPECT_EQ(selection, QColor(255, 174, 174));
    for (const Probe &probe : probes)
        EXPECT_EQ(image.pixelColor(probe.at), probe.colour) << probe.at.x() << "," << probe.at.y();
}

TEST(MainShape, SheetIsAPlainGreyRectangle) {
    const QImage image = Draw(TShape::Kind::Rectangle, platform::clGray);
    EXPECT_EQ(image.pixelColor(0, 0), Qt::black);
    EXPECT_EQ(image.pixelColor(92, 58), Qt::black);
    EXPECT_EQ(image.pixelColor(1, 1), QColor(128, 128, 128));
}

TEST(MainShape, FillColourIsKeptExactlyAsSet) {
    QWidget parent;
    TShape shape(TShape::Kind::RoundRect, &parent);
    EXPECT_EQ(shape.BrushColor(), platform::clWhite);
    for (platform::TColor colour :
         {platform::SelectionColour, platform::clWindow, platform::clWhite}) {
        shape.SetBrushColor(colour);
        EXPECT_EQ(shape.BrushColor(), colour);
    }
}

} // namespace
