// Rendering: a band with the plate's fifteen items drawn onto a recording canvas and a
// 600-dpi image, and the rules of each kind of item on the device.
#include "PlateFixture.h"
#include "TestDevice.h"

#include "report/RpCtrls.h"
#include "report/RpDefinition.h"
#include "report/rpSwRect.h"

#include "support/Doubles.h"
#include "support/FixedWidthMeasurer.h"
#include "support/RecordingCanvas.h"

#include <QImage>
#include <gtest/gtest.h>

#include <optional>

namespace {

using testing_support::DrawCall;
using testing_support::FixedScreen;
using testing_support::FixedWidthMeasurer;
using testing_support::RecordingCanvas;
using Kind = DrawCall::Kind;

TRpDeviceMapping Mapping(int dpi, int leftUnprintable = 0, int topUnprintable = 0) {
    TRpDeviceMapping mapping = TRpDeviceMapping::ForResolution(dpi);
    mapping.LeftUnprintable = leftUnprintable;
    mapping.TopUnprintable = topUnprintable;
    return mapping;
}

// Renders the report's first band at (100, 100) as a run does.
void RenderBand(TRpReport &report, TRpDevice &device) {
    report.SetDevice(&device);
    report.PrintablesBeginRun();
    report.Bands().front()->Render(100, 100);
    report.PrintablesEndRun();
}

struct Box {
    int x1, y1, x2, y2;
    bool operator==(const Box &) const = default;
};

Box BoxOf(const DrawCall &call) {
    return {call.x1, call.y1, call.x2, call.y2};
}

// Where an item's box lands on the device with its band at (100, 100).
Box DeviceBox(const TRpPrintable &item, const TRpDeviceMapping &m) {
    const long double left = 100 + item.Size().NativeLeft();
    const long double top = 100 + item.Size().NativeTop();
    return {m.DeviceX(left), m.DeviceY(top), m.DeviceX(left + item.Size().NativeWidth()),
            m.DeviceY(top + item.Size().NativeHeight())};
}

TEST(BandRendering, PlateItemsOnTheRecordingCanvasInDefinitionOrder) {
    FixedScreen screen(96);
    const auto report = FilledPlate();
    RecordingCanvas canvas(600, 600);
    const TRpDeviceMapping mapping = Mapping(600, 42);
    TestDevice device(canvas, mapping);
    RenderBand(*report, device);

    const Kind expected[] = {
        Kind::FillRect,                               // the band
        Kind::Rectangle,                              // RpShape1
        Kind::Rectangle, Kind::Rectangle,             // RpShadowRect1: shadow, face
        Kind::Text,                                   // RpLabel1
        Kind::Rectangle, Kind::Rectangle,             // RpShadowRect2
        Kind::Rectangle, Kind::Rectangle,             // RpShadowRect3
        Kind::Rectangle, Kind::Rectangle,             // RpShadowRect4
        Kind::Rectangle, Kind::Rectangle,             // RpShadowRect5
        Kind::Text,                                   // RpLabel2
        Kind::Text,                                   // RpLabel3
        Kind::FillRect,  Kind::Text,                  // RpLabel4, opaque
        Kind::FillRect,  Kind::Text,                  // RpLabel5, opaque
        Kind::FillRect,  Kind::Text,                  // RpLabel6, opaque
        Kind::Text,      Kind::Text,      Kind::Text, // RpLabel7, RpLabel8, RpLabel9
    };
    const std::vector<DrawCall> &calls = canvas.calls;
    ASSERT_EQ(calls.size(), std::size(expected));
    for (std::size_t i = 0; i < calls.size(); ++i)
        EXPECT_EQ(calls[i].kind, expected[i]) << i;

    const TRpBand &band = *report->Bands().front();
    EXPECT_EQ(BoxOf(calls[0]), (Box{mapping.DeviceX(100), 236, mapping.DeviceX(1999.7083333333333L),
                                    mapping.DeviceY(2870.1875L)}));
    EXPECT_EQ(calls[0].brush, platform::Brush{});

    // The plate outline: (100 + 74.083, 100 + 55.5625) to (+933.979, +582.083) tenths.
    EXPECT_EQ(BoxOf(calls[1]), (Box{312, 367, 2518, 1742}));
    EXPECT_EQ(calls[1].pen.colour, platform::clWhite);
    EXPECT_EQ(calls[1].brush, platform::Brush{});

    // Every shadow rectangle: with no displacement shadow and face share the box; the
    // shadow's outline takes the shadow's grey.
    for (int i = 0; i < 5; ++i) {
        const std::size_t shadow = i == 0 ? 2 : 5 + 2 * (i - 1);
        const auto *rect = report->Find<TRpShadowRect>(QStringLiteral("RpShadowRect%1").arg(i + 1));
        SCOPED_TRACE(rect->Name().toStdString());
        EXPECT_EQ(BoxOf(calls[shadow]), DeviceBox(*rect, mapping));
        EXPECT_EQ(BoxOf(calls[shadow + 1]), DeviceBox(*rect, mapping));
        EXPECT_EQ(calls[shadow].pen.colour, platform::clGray);
        EXPECT_EQ(calls[shadow].brush.colour, platform::clGray);
        EXPECT_EQ(calls[shadow + 1].pen.colour, platform::clWhite);
        EXPECT_EQ(calls[shadow + 1].brush.colour, platform::clWhite);
    }

    // Text anchors: centred on the box's middle, right-justified at its right edge,
    // left-justified at its left edge; the top of the cell at the box's top.
    struct TextCase {
        std::size_t call;
        const char *label;
        platform::TextAnchor anchor;
        const char *text;
    } texts[] = {
        {4, "RpLabel1", platform::TextAnchor::Centre, "Tabliczka znamionowa zastępcza"},
        {13, "RpLabel2", platform::TextAnchor::Right, "SKP-0001"},
        {14, "RpLabel3", platform::TextAnchor::Left, "Tabliczka wykonana przez :"},
        {16, "RpLabel4", platform::TextAnchor::Left, "Marka"},
        {18, "RpLabel5", platform::TextAnchor::Left, "Typ/Model"},
        {20, "RpLabel6", platform::TextAnchor::Left, "Nr nadwozia (podwozia lub ramy)"},
        {21, "RpLabel7", platform::TextAnchor::Right, "VOLKSWAGEN"},
        {22, "RpLabel8", platform::TextAnchor::Right, "GOLF"},
        {23, "RpLabel9", platform::TextAnchor::Right, "WVWZZZ1JZXW000001"},
    };
    for (const TextCase &t : texts) {
        SCOPED_TRACE(t.label);
        const auto *label = report->Find<TRpLabel>(t.label);
        const DrawCall &call = calls[t.call];
        const long double left = 100 + label->Size().NativeLeft();
        const long double width = label->Size().NativeWidth();
        long double anchorX = left;
        if (t.anchor == platform::TextAnchor::Right)
            anchorX = left + width;
        else if (t.anchor == platform::TextAnchor::Centre)
            anchorX = left + width / 2;
        EXPECT_EQ(call.text, QString::fromUtf8(t.text));
        EXPECT_EQ(call.anchor, t.anchor);
        EXPECT_FALSE(call.opaque);
        EXPECT_EQ(call.x1, mapping.DeviceX(anchorX));
        EXPECT_EQ(call.y1, mapping.DeviceY(100 + label->Size().NativeTop()));
        EXPECT_EQ(call.font, label->Font());
        if (!label->Transparent) {
            const DrawCall &fill = calls[t.call - 1];
            EXPECT_EQ(BoxOf(fill), DeviceBox(*label, mapping));
            EXPECT_EQ(fill.brush,
                      (platform::Brush{platform::clWhite, platform::BrushStyle::Solid}));
        }
    }
    EXPECT_EQ(band.Items().size(), 15u);
}

TEST(BandRendering, LongDataTextShowsOnlyItsFirstLine) {
    FixedScreen screen(96);
    const auto report = FilledPlate();
    auto *make = report->Find<TRpLabel>("RpLabel7");
    make->SetCaption("VOLKSWAGEN SAMOCHODY DOSTAWCZE OSOBOWE");
    auto *body = report->Find<TRpLabel>("RpLabel9");
    body->SetCaption("WVWZZZ1JZXW000001WVWZZZ1JZXW");
    ASSERT_GT(make->FormattedLines().size(), 1);
    RecordingCanvas canvas(600, 600);
    TestDevice device(canvas, Mapping(600));
    RenderBand(*report, device);
    std::vector<QString> texts;
    for (const DrawCall &call : canvas.calls)
        if (call.kind == Kind::Text)
            texts.push_back(call.text);
    // The make is cut after the last word that fits and keeps its trailing space; the body
    // number without spaces keeps only the characters strictly below the box width.
    EXPECT_EQ(texts[6], make->FormattedLines().front());
    EXPECT_TRUE(texts[6].endsWith(' '));
    EXPECT_TRUE(make->Caption().startsWith(texts[6]));
    EXPECT_LT(report->TextWidth(body->Font(), texts[8]), body->Width());
    EXPECT_GE(report->TextWidth(body->Font(), texts[8] + body->Caption()[texts[8].size()]),
              body->Width());
    EXPECT_EQ(texts.size(), 9u);
}

// Whether any pixel of the rectangle is darker than mid-grey.
std::optional<QRect> InkIn(const QImage &image, const QRect &area) {
    std::optional<QRect> ink;
    const QRect clipped = area.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            if (qGray(image.pixel(x, y)) < 100)
                ink = ink ? ink->united(QRect(x, y, 1, 1)) : QRect(x, y, 1, 1);
    return ink;
}

TEST(BandRendering, PlateOnA600DpiImageDrawsTextWhereTheAnchorsSay) {
    FixedScreen screen(96);
    const auto report = FilledPlate();
    // Device pixel (0, 0) is the band's corner: the plate fits a small image.
    const TRpDeviceMapping mapping = Mapping(600, 100, 100);
    QImage image(2500, 1600, QImage::Format_RGB32);
    image.setDotsPerMeterX(23622);
    image.setDotsPerMeterY(23622);
    image.fill(QColor(60, 60, 60));
    {
        platform::PainterCanvas canvas(image);
        ASSERT_EQ(canvas.dpiY(), 600);
        TestDevice device(canvas, mapping);
        RenderBand(*report, device);
    }
    RecordingCanvas recording(600, 600);
    TestDevice recorded(recording, mapping);
    RenderBand(*report, recorded);

    // The band whitened its whole box first.
    EXPECT_EQ(image.pixel(5, 5), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(2499, 1599), qRgb(255, 255, 255));

    // Each text's ink lies within its advance and its cell; outside them all is white.
    QImage rest = image;
    for (const DrawCall &call : recording.calls) {
        if (call.kind != Kind::Text)
            continue;
        SCOPED_TRACE(call.text.toStdString());
        recording.setFont(call.font);
        const QSize extent = recording.TextExtent(call.text);
        int left = call.x1;
        if (call.anchor == platform::TextAnchor::Right)
            left -= extent.width();
        else if (call.anchor == platform::TextAnchor::Centre)
            left -= extent.width() / 2;
        const QRect cell(left, call.y1, extent.width(), extent.height());
        const auto ink = InkIn(image, cell.adjusted(-3, 0, 3, 0));
        ASSERT_TRUE(ink);
        EXPECT_GE(ink->left(), cell.left() - 2);
        EXPECT_LE(ink->right(), cell.right() + 2);
        // Glyphs fill most of the advance: the text is not drawn at another size.
        EXPECT_GT(ink->width(), extent.width() * 8 / 10);
        for (int y = cell.top() - 2; y <= cell.bottom() + 2; ++y)
            for (int x = cell.left() - 3; x <= cell.right() + 3; ++x)
                if (rest.rect().contains(x, y))
                    rest.setPixel(x, y, qRgb(255, 255, 255));
    }
    EXPECT_FALSE(InkIn(rest, rest.rect())) << "ink outside every text";
}

TEST(BandRendering, LaterItemsCoverEarlierOnesAndOpaqueLabelsFillTheirBox) {
    FixedScreen screen(96);
    const auto report = FilledPlate();
    const platform::Brush grey{platform::FromRgb(128, 128, 128), platform::BrushStyle::Solid};
    auto *box = report->Find<TRpShadowRect>("RpShadowRect2");
    box->SetBrush(grey);
    const TRpDeviceMapping mapping = Mapping(600, 100, 100);
    QImage image(2500, 1600, QImage::Format_RGB32);
    image.setDotsPerMeterX(23622);
    image.setDotsPerMeterY(23622);
    {
        platform::PainterCanvas canvas(image);
        TestDevice device(canvas, mapping);
        RenderBand(*report, device);
    }
    const QRgb greyPixel = qRgb(128, 128, 128);
    const Box shadowBox = DeviceBox(*box, mapping);
    const Box caption = DeviceBox(*report->Find<TRpLabel>("RpLabel4"), mapping);
    const Box make = DeviceBox(*report->Find<TRpLabel>("RpLabel7"), mapping);
    // The box is grey inside its white outline ...
    EXPECT_EQ(image.pixel(shadowBox.x1, shadowBox.y1 + 50), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(shadowBox.x1 + 1, shadowBox.y1 + 50), greyPixel);
    EXPECT_EQ(image.pixel(shadowBox.x2 - 2, shadowBox.y2 - 2), greyPixel);
    // ... the opaque caption drawn later whitens its box over it ...
    EXPECT_EQ(image.pixel((caption.x1 + caption.x2) / 2, caption.y1), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(caption.x2 - 1, caption.y2 - 1), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(caption.x2 + 5, caption.y1 + 5), greyPixel);
    // ... and the transparent make leaves the grey around its right-aligned text.
    EXPECT_EQ(image.pixel(caption.x2 + 50, make.y2 - 5), greyPixel);
    EXPECT_TRUE(InkIn(image, QRect(make.x1, make.y1, make.x2 - make.x1, make.y2 - make.y1)));
}

// A band of one item for the rules of each kind.
struct Scene {
    FixedScreen screen;
    // Design metrics: 10 pixels a character, 5 a line.
    FixedWidthMeasurer measurer{10, 5};
    TRpReport report;
    TRpBand &band = report.AddBand(std::make_unique<TRpBand>());
    RecordingCanvas canvas;
    TestDevice device;

    explicit Scene(int dpi, int screenDpi = 96)
        : screen(screenDpi), canvas(dpi, dpi), device(canvas, Mapping(dpi)) {
        report.SetUnits(TRpUnit::Native);
        band.Size().SetHeight(500);
        band.Size().SetWidth(1000);
        report.SetDevice(&device);
    }
    template <class Item>
    Item &Add(long double left, long double top, long double width, long double height) {
        Item &item = band.Add(std::make_unique<Item>());
        item.Size().SetLeft(left);
        item.Size().SetTop(top);
        item.Size().SetWidth(width);
        item.Size().SetHeight(height);
        return item;
    }
    void Render() {
        report.PrintablesBeginRun();
        band.Render(100, 100);
        report.PrintablesEndRun();
    }
    // The calls after the band's own fill.
    std::vector<DrawCall> Items() const { return {canvas.calls.begin() + 1, canvas.calls.end()}; }
};

TEST(ShadowRectRendering, DisplacementAndCornerFollowTheDeviceResolution) {
    const std::tuple<int, int, int> cases[] = {
        // dpi, shadow offset, corner ellipse for Curve 10
        {600, 24, 60},
        {300, 12, 30},
        {96, 4, 10}, // round(3.84), round(9.6)
    };
    for (const auto &[dpi, offset, corner] : cases) {
        SCOPED_TRACE(dpi);
        Scene scene(dpi);
        auto &rect = scene.Add<TRpShadowRect>(100, 50, 400, 200);
        scene.Render();
        const auto calls = scene.Items();
        ASSERT_EQ(calls.size(), 2u);
        const Box box = DeviceBox(rect, scene.device.Mapping());
        EXPECT_EQ(calls[0].kind, Kind::RoundRect);
        EXPECT_EQ(BoxOf(calls[0]), (Box{box.x1 + offset, box.y1 + offset, box.x2, box.y2}));
        EXPECT_EQ(BoxOf(calls[1]), (Box{box.x1, box.y1, box.x2 - offset, box.y2 - offset}));
        for (const DrawCall &call : calls) {
            EXPECT_EQ(call.cornerWidth, corner);
            EXPECT_EQ(call.cornerHeight, corner);
        }
        EXPECT_EQ(calls[0].brush, (platform::Brush{platform::clGray, platform::BrushStyle::Solid}));
        EXPECT_EQ(calls[0].pen, (platform::Pen{platform::clGray, 1}));
        EXPECT_EQ(calls[1].brush, platform::Brush{});
        EXPECT_EQ(calls[1].pen, platform::Pen{});
    }
}

TEST(ShadowRectRendering, ShadowOutlineTakesShadowColourAndPenWidth) {
    Scene scene(600);
    auto &rect = scene.Add<TRpShadowRect>(100, 50, 400, 200);
    rect.SetRounded(false);
    rect.SetCurve(30);
    rect.SetPen({platform::clBlack, 3, platform::PenStyle::Dot});
    rect.SetShadowBrush({platform::FromRgb(255, 0, 0), platform::BrushStyle::Solid});
    rect.Frame().DrawTop = true;
    scene.Render();
    const auto calls = scene.Items();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].kind, Kind::Rectangle);
    EXPECT_EQ(calls[1].kind, Kind::Rectangle);
    EXPECT_EQ(calls[0].pen,
              (platform::Pen{platform::FromRgb(255, 0, 0), 3, platform::PenStyle::Dot}));
    EXPECT_EQ(calls[1].pen, (platform::Pen{platform::clBlack, 3, platform::PenStyle::Dot}));
}

TEST(ItemRendering, DisabledItemsAndFramesOfShapesLeaveNoMark) {
    Scene scene(600);
    scene.Add<TRpShadowRect>(0, 0, 100, 100).SetEnabled(false);
    scene.Add<TRpShape>(0, 0, 100, 100).SetEnabled(false);
    auto &label = scene.Add<TRpLabel>(0, 0, 300, 100);
    label.SetCaption("x");
    label.SetEnabled(false);
    auto &framed = scene.Add<TRpShape>(10, 20, 100, 100);
    framed.Frame().DrawLeft = framed.Frame().DrawTop = true;
    scene.Render();
    const auto calls = scene.Items();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].kind, Kind::Rectangle);
    EXPECT_EQ(BoxOf(calls[0]), DeviceBox(framed, scene.device.Mapping()));
}

// An item shown in page images only is drawn by a preview's run and left out on paper,
// at the same place it would take among the others.
TEST(ItemRendering, PreviewOnlyItemsShowInPageImagesOnly) {
    for (const bool pageImages : {false, true}) {
        SCOPED_TRACE(pageImages ? "page images" : "printer");
        Scene scene(600);
        scene.device.pageImages_ = pageImages;
        scene.Add<TRpShape>(0, 0, 100, 100);
        auto &sheet = scene.Add<TRpShape>(10, 20, 300, 200);
        sheet.SetPreviewOnly(true);
        scene.Add<TRpShape>(50, 50, 100, 100);
        scene.Render();
        const auto calls = scene.Items();
        ASSERT_EQ(calls.size(), pageImages ? 3u : 2u);
        if (pageImages) {
            EXPECT_EQ(BoxOf(calls[1]), DeviceBox(sheet, scene.device.Mapping()));
        }
    }
}

TEST(BandRendering, TransparentDisabledAndFramedBands) {
    {
        Scene scene(600);
        scene.band.TransparentBand = true;
        scene.Add<TRpShape>(0, 0, 100, 100);
        scene.Render();
        ASSERT_EQ(scene.canvas.calls.size(), 1u);
        EXPECT_EQ(scene.canvas.calls[0].kind, Kind::Rectangle);
    }
    {
        Scene scene(600);
        scene.band.Enabled = false;
        scene.Add<TRpShape>(0, 0, 100, 100);
        scene.Render();
        EXPECT_TRUE(scene.canvas.calls.empty());
    }
    {
        Scene scene(600);
        scene.band.Frame().DrawBottom = true;
        scene.band.Frame().Width = 2; // points: round(2 x 254 / 72 x 600 / 254) = 17 pixels
        scene.Render();
        ASSERT_EQ(scene.canvas.calls.size(), 2u);
        const TRpDeviceMapping &m = scene.device.Mapping();
        EXPECT_EQ(BoxOf(scene.canvas.calls[1]),
                  (Box{m.DeviceX(100), m.DeviceY(600) - 17, m.DeviceX(1100), m.DeviceY(600)}));
    }
}

// Labels laid out with fixed design metrics and drawn with the device's real font.
struct LabelScene : Scene {
    LabelScene() : Scene(600) {}

    TRpLabel &Label(const QString &caption, long double height, bool transparent = true) {
        TRpLabel &label = band.Add(std::make_unique<TRpLabel>());
        label.AutoSize = false;
        label.Transparent = transparent;
        label.SetFont({"Times New Roman", 12});
        label.Size().SetLeft(50);
        label.Size().SetTop(20);
        label.Size().SetWidth(800);
        label.Size().SetHeight(height);
        label.SetCaption(caption);
        return label;
    }
    // The line pitch on the device in tenths of a millimetre.
    long double Pitch() {
        canvas.setFont({"Times New Roman", 12});
        return canvas.TextExtent("W").height() / device.Mapping().PixelsPerTenthY;
    }
    std::vector<DrawCall> Texts() const {
        std::vector<DrawCall> texts;
        for (const DrawCall &call : canvas.calls)
            if (call.kind == Kind::Text)
                texts.push_back(call);
        return texts;
    }
};

TEST(LabelRendering, LinesStopAtTheBoxWithOneTenthTolerance) {
    const long double pitch = LabelScene().Pitch();
    ASSERT_NEAR(double(pitch), 111 / (600 / 254.0), 3); // 100-pixel Liberation Serif
    const std::pair<long double, int> cases[] = {
        {pitch - 1.5L, 0}, // lower than one pitch minus a tenth: nothing
        {pitch - 0.5L, 1}, // within the tolerance
        {pitch, 1},        {2 * pitch - 1.2L, 1}, {2 * pitch - 0.8L, 2},
        {10 * pitch, 3}, // all three lines
    };
    for (const auto &[height, lines] : cases) {
        SCOPED_TRACE(double(height));
        LabelScene scene;
        scene.Label("one\rtwo\rthree", height);
        scene.Render();
        const auto texts = scene.Texts();
        ASSERT_EQ(int(texts.size()), lines);
        const TRpDeviceMapping &m = scene.device.Mapping();
        for (int i = 0; i < lines; ++i)
            EXPECT_EQ(texts[std::size_t(i)].y1, m.DeviceY(100 + 20 + i * pitch));
    }
}

TEST(LabelRendering, EmptyCaptionDrawsNothingButAnOpaqueBoxStillFills) {
    LabelScene opaque;
    opaque.Label("", 100, false);
    opaque.Render();
    ASSERT_EQ(opaque.Items().size(), 1u);
    EXPECT_EQ(opaque.Items()[0].kind, Kind::FillRect);

    LabelScene transparent;
    transparent.Label("", 100);
    transparent.Render();
    EXPECT_TRUE(transparent.Items().empty());

    // An opaque label too low for a line still whitens its box.
    LabelScene low;
    low.Label("text", 10, false);
    low.Render();
    ASSERT_EQ(low.Items().size(), 1u);
    EXPECT_EQ(low.Items()[0].kind, Kind::FillRect);
}

TEST(LabelRendering, OnPrintReplacesTheTextForOneRendering) {
    LabelScene scene;
    TRpLabel &label = scene.Label("caption", 200);
    QStringList seen;
    label.OnPrint = [&](TRpCustomLabel &sender, QString &value) {
        EXPECT_EQ(&sender, &label);
        seen << value;
        value = "replaced";
    };
    scene.Render();
    ASSERT_EQ(scene.Texts().size(), 1u);
    EXPECT_EQ(scene.Texts()[0].text, "replaced");
    EXPECT_EQ(seen, QStringList{"caption"});
    EXPECT_EQ(label.Caption(), "caption");
    EXPECT_EQ(label.RenderText(), "caption");
}

TEST(LabelRendering, AutoSizedRightLabelKeepsItsRightEdge) {
    LabelScene scene;
    TRpLabel &label = scene.band.Add(std::make_unique<TRpLabel>());
    label.SetAlignment(TAlignment::taRightJustify);
    label.SetPixelBounds(100, 10, 200, 40);
    const long double right = label.Size().NativeLeft() + label.Size().NativeWidth();
    label.SetCaption("abc");
    EXPECT_EQ(label.Width(), 31);
    EXPECT_NEAR(double(label.Size().NativeLeft() + label.Size().NativeWidth()), double(right),
                1e-9);
    scene.Render();
    ASSERT_EQ(scene.Texts().size(), 1u);
    EXPECT_EQ(scene.Texts()[0].x1, scene.device.Mapping().DeviceX(100 + right));
    EXPECT_EQ(scene.Texts()[0].anchor, platform::TextAnchor::Right);
}

TEST(LabelRendering, FrameSidesDrawAndPushTheTextInwards) {
    LabelScene scene;
    TRpLabel &label = scene.Label("framed", 300);
    label.Frame().DrawLeft = true;
    label.Frame().DrawTop = true;
    scene.Render();
    const auto calls = scene.Items();
    ASSERT_EQ(calls.size(), 3u);
    const TRpDeviceMapping &m = scene.device.Mapping();
    const long double thickness = 254.0L / 72; // one point
    EXPECT_EQ(calls[0].kind, Kind::Text);
    EXPECT_EQ(calls[0].x1, m.DeviceX(150 + thickness));
    EXPECT_EQ(calls[0].y1, m.DeviceY(120 + thickness));
    EXPECT_EQ(BoxOf(calls[1]), (Box{m.DeviceX(150), m.DeviceY(120), m.DeviceX(950),
                                    m.DeviceY(120) + 8})); // top line, 8.33 pixels
    EXPECT_EQ(BoxOf(calls[2]),
              (Box{m.DeviceX(150), m.DeviceY(120), m.DeviceX(150) + 8, m.DeviceY(420)}));
}

TEST(LabelRendering, RenderingWithoutBeginRunCapturesTheDevice) {
    LabelScene scene;
    TRpLabel &label = scene.Label("direct", 200);
    EXPECT_EQ(label.Device(), nullptr);
    label.RenderItem(100, 100);
    EXPECT_EQ(label.Device(), &scene.device);
    EXPECT_TRUE(label.Rendering());
    EXPECT_EQ(scene.Texts().size(), 1u);
}

} // namespace
