// How a label breaks its text into lines and sizes itself, in design pixels.
#include "report/RpCtrls.h"
#include "report/RpReport.h"

#include "support/Doubles.h"
#include "support/FixedWidthMeasurer.h"

#include <QFontInfo>
#include <gtest/gtest.h>

#include <memory>

namespace {

using testing_support::FixedScreen;
using testing_support::FixedWidthMeasurer;

// Every character 10 pixels wide, every line 16 high: the width of a string is
// 10 x length + 1.
struct FixedLayout {
    FixedScreen screen{96};
    FixedWidthMeasurer measurer{10, 16};
    TRpReport report;
    TRpBand &band = report.AddBand(std::make_unique<TRpBand>());

    TRpLabel &Label(int left, int width, int height, bool autoSize = false,
                    TAlignment alignment = TAlignment::taLeftJustify) {
        TRpLabel &label = band.Add(std::make_unique<TRpLabel>());
        label.AutoSize = autoSize;
        label.SetAlignment(alignment);
        label.SetPixelBounds(left, 0, width, height);
        return label;
    }
};

struct BreakCase {
    const char *name;
    int boxWidth;
    QString text;
    QStringList lines;
};

TEST(LabelLayout, BreaksAfterSpacesAndHyphensKeepingThem) {
    const BreakCase cases[] = {
        {"fits", 100, "aaa bbb", {"aaa bbb"}},
        {"exact fit", 91, "aaaa bbbb", {"aaaa bbbb"}},
        {"trailing space kept", 100, "aaa bbb ccc", {"aaa bbb ", "ccc"}},
        {"typed trailing spaces kept", 100, "abc   ", {"abc   "}},
        {"hyphen", 100, "abc-defgh-ij", {"abc-", "defgh-ij"}},
        // The space is part of the word it ends, and of its width.
        {"word fits only without its space", 91, "aaaaaaaaa b", {"aaaaaaaa", "b"}},
        {"three lines", 61, "aa bb cc dd ee", {"aa bb ", "cc dd ", "ee"}},
        {"empty", 100, "", {""}},
        {"line feed dropped", 100, "ab\ncd", {"abcd"}},
        {"carriage return splits", 100, "ab\r\ncd", {"ab", "cd"}},
        {"empty last paragraph", 100, "ab\r", {"ab", ""}},
        {"empty middle paragraph", 100, "ab\r\rcd", {"ab", "", "cd"}},
    };
    for (const BreakCase &c : cases) {
        SCOPED_TRACE(c.name);
        FixedLayout layout;
        TRpLabel &label = layout.Label(0, c.boxWidth, 40);
        label.SetCaption(c.text);
        EXPECT_EQ(label.FormattedLines(), c.lines);
    }
}

TEST(LabelLayout, LongWordIsCutBelowBoxWidth) {
    const BreakCase cases[] = {
        // Alone on its line: only what stays strictly below the box width.
        {"alone", 91, "abcdefghijkl", {"abcdefgh", ""}},
        {"alone, wider box", 100, "abcdefghijkl", {"abcdefghi", ""}},
        // After a non-empty line: cut from its end until it fits (at most the width).
        {"after a word", 91, "ab abcdefghijkl", {"ab ", "abcdefghi", ""}},
        {"after a word, more follows", 91, "ab abcdefghijkl cd", {"ab ", "abcdefghi", "cd"}},
        {"zero width", 0, "ab cd", {"", "", ""}},
    };
    for (const BreakCase &c : cases) {
        SCOPED_TRACE(c.name);
        FixedLayout layout;
        TRpLabel &label = layout.Label(0, c.boxWidth, 40);
        label.SetCaption(c.text);
        EXPECT_EQ(label.FormattedLines(), c.lines);
    }
}

TEST(LabelLayout, ZoomScalesTheMeasuredWidths) {
    FixedLayout layout;
    layout.report.SetZoom(150);
    // "abc" measures 31, zoomed 46.5, which rounds to 46; "abcd" to 62.
    TRpLabel &label = layout.Label(0, 46, 40);
    label.SetCaption("abc");
    EXPECT_EQ(label.FormattedLines(), QStringList{"abc"});
    label.SetCaption("ab cd");
    EXPECT_EQ(label.FormattedLines(), (QStringList{"ab ", "cd"}));
}

TEST(LabelLayout, AutoSizeTakesTheWidestLinePlusOnePixel) {
    struct Case {
        TAlignment alignment;
        int left;
    } cases[] = {
        {TAlignment::taLeftJustify, 100},
        {TAlignment::taRightJustify, 109}, // keeps the right edge at 150
        {TAlignment::taCenter, 104},       // (50 - 41) div 2
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.alignment));
        FixedLayout layout;
        TRpLabel &label = layout.Label(100, 50, 40, true, c.alignment);
        label.SetCaption("ab\rabcd");
        EXPECT_EQ(label.FormattedLines(), (QStringList{"ab", "abcd"}));
        EXPECT_EQ(label.Width(), 41);
        EXPECT_EQ(label.Left(), c.left);
    }
}

TEST(LabelLayout, AutoSizeDoesNotWrapAndShrinksFromTheRight) {
    FixedLayout layout;
    TRpLabel &label = layout.Label(200, 30, 40, true, TAlignment::taRightJustify);
    label.SetCaption("a long line that does not wrap");
    EXPECT_EQ(label.FormattedLines(), QStringList{"a long line that does not wrap"});
    EXPECT_EQ(label.Width(), 301);
    EXPECT_EQ(label.Left() + label.Width(), 230);
    label.SetCaption("ab");
    EXPECT_EQ(label.Width(), 21);
    EXPECT_EQ(label.Left() + label.Width(), 230);
}

TEST(LabelLayout, AutoSizeCountsTheFrameSides) {
    FixedLayout layout;
    TRpLabel &label = layout.Label(0, 50, 40, true);
    label.Frame().DrawLeft = true;
    label.Frame().DrawRight = true;
    label.Frame().Width = 2;
    label.SetCaption("abcd");
    EXPECT_EQ(label.Width(), 45);
}

TEST(LabelLayout, RaisedToOneLineHeightPlusOnePixel) {
    const std::tuple<int, int, int> cases[] = {
        // zoom, height before, height after
        {100, 10, 17},
        {100, 17, 17},
        {100, 30, 30},
        {150, 10, 25},
    };
    for (const auto &[zoom, before, after] : cases) {
        FixedLayout layout;
        layout.report.SetZoom(zoom);
        TRpLabel &label = layout.Label(0, 100, before);
        label.SetCaption("x");
        EXPECT_EQ(label.Height(), after) << zoom << " " << before;
    }
}

TEST(LabelLayout, SizingChangesTheStoredSize) {
    FixedLayout layout;
    layout.report.SetUnits(TRpUnit::MM);
    TRpLabel &label = layout.Label(100, 50, 10, true, TAlignment::taRightJustify);
    label.SetCaption("abcd");
    const long double tenthsPerPixel = 254.0L / 96;
    EXPECT_NEAR(double(label.Size().NativeLeft()), double(109 * tenthsPerPixel), 1e-12);
    EXPECT_NEAR(double(label.Size().NativeWidth()), double(41 * tenthsPerPixel), 1e-12);
    EXPECT_NEAR(double(label.Size().NativeHeight()), double(17 * tenthsPerPixel), 1e-12);
    EXPECT_EQ(label.Size().Units(), TRpUnit::MM);
}

TEST(LabelLayout, LabelOffABandIsOnlyMarkedLaidOut) {
    FixedScreen screen(96);
    FixedWidthMeasurer measurer(10, 16);
    TRpLabel label;
    label.AutoSize = false;
    label.SetCaption("aaa bbb ccc");
    EXPECT_TRUE(label.LaidOut());
    EXPECT_TRUE(label.FormattedLines().isEmpty());
    EXPECT_EQ(label.Height(), 10);
}

TEST(LabelLayout, NameBecomesCaptionWhileCaptionIsEmptyOrTheOldName) {
    FixedLayout layout;
    TRpLabel &label = layout.Label(0, 100, 40);
    label.SetName("RpLabel2");
    EXPECT_EQ(label.Caption(), "RpLabel2");
    label.SetName("RpLabel7");
    EXPECT_EQ(label.Caption(), "RpLabel7");
    label.SetCaption("Marka");
    label.SetName("RpLabel4");
    EXPECT_EQ(label.Caption(), "Marka");
}

TEST(LabelLayout, LabelsWithTheirParentsFontFollowItsChanges) {
    FixedLayout layout;
    TRpLabel &label = layout.Label(0, 100, 40, true);
    label.SetCaption("abc");
    ASSERT_TRUE(label.ParentFont());
    layout.report.SetFont({"Times New Roman", 20});
    EXPECT_EQ(label.Font().size, 20);
    layout.band.SetFont({"Times New Roman", 30});
    EXPECT_EQ(label.Font().size, 30);
    layout.report.SetFont({"Times New Roman", 40});
    EXPECT_EQ(label.Font().size, 30) << "the band keeps its own font";
    layout.band.SetParentFont(true);
    EXPECT_EQ(label.Font().size, 40);
    label.SetFont({"Arial", 8});
    layout.report.SetFont({"Times New Roman", 9});
    EXPECT_EQ(label.Font().face, "Arial");
    EXPECT_FALSE(label.ParentFont());
}

TEST(LabelLayout, WidthChangeLaysOutAgain) {
    FixedLayout layout;
    TRpLabel &label = layout.Label(0, 100, 40);
    label.SetCaption("aaa bbb ccc");
    ASSERT_EQ(label.FormattedLines().size(), 2);
    label.SetWidth(120);
    EXPECT_EQ(label.FormattedLines(), QStringList{"aaa bbb ccc"});
}

// The same rules with the screen's real fonts: Liberation Serif stands for Times New Roman.
struct RealLayout {
    FixedScreen screen{96};
    TRpReport report;
    TRpBand &band = report.AddBand(std::make_unique<TRpBand>());

    TRpLabel &Label(int width, bool autoSize, int points) {
        TRpLabel &label = band.Add(std::make_unique<TRpLabel>());
        label.AutoSize = autoSize;
        label.SetFont({"Times New Roman",
                       points,
                       {true, false, false, false},
                       platform::clWindowText,
                       platform::EASTEUROPE_CHARSET});
        label.SetPixelBounds(0, 0, width, 20);
        return label;
    }
};

TEST(LabelLayoutRealFont, TimesNewRomanIsLiberationSerifAtTheDesignHeight) {
    const QFont font = platform::RealiseFont({"Times New Roman", 12, {true}}, 96);
    EXPECT_EQ(QFontInfo(font).family(), "Liberation Serif");
    EXPECT_EQ(QFontInfo(font).pixelSize(), 16);
    EXPECT_TRUE(QFontInfo(font).bold());
    EXPECT_EQ(QFontInfo(platform::RealiseFont({"Consolas", 14}, 96)).family(), "Liberation Mono");
    EXPECT_EQ(QFontInfo(platform::RealiseFont({"Consolas", 14}, 96)).pixelSize(), 19);
}

TEST(LabelLayoutRealFont, EveryLineIsTheLongestThatFits) {
    RealLayout layout;
    const QString text = QStringLiteral("Tabliczka znamionowa zastępcza wykonana przez stację");
    for (int width : {120, 150, 228, 400}) {
        SCOPED_TRACE(width);
        TRpLabel &label = layout.Label(width, false, 12);
        label.SetCaption(text);
        const QStringList lines = label.FormattedLines();
        const platform::Font font = label.Font();
        EXPECT_EQ(lines.join(QString()), text); // no word here is wider than the box
        for (qsizetype i = 0; i < lines.size(); ++i) {
            EXPECT_LE(layout.report.TextWidth(font, lines[i]), width) << lines[i].toStdString();
            if (i + 1 < lines.size()) {
                const qsizetype space = lines[i + 1].indexOf(QLatin1Char(' '));
                const QString next = space < 0 ? lines[i + 1] : lines[i + 1].left(space + 1);
                EXPECT_GT(layout.report.TextWidth(font, lines[i] + next), width);
            }
        }
    }
}

TEST(LabelLayoutRealFont, PlateHeadingOnOneLineAndBrokenInANarrowBox) {
    RealLayout layout;
    TRpLabel &wide = layout.Label(280, false, 12);
    wide.SetCaption(QStringLiteral("Tabliczka znamionowa zastępcza"));
    EXPECT_EQ(wide.FormattedLines(), QStringList{QStringLiteral("Tabliczka znamionowa zastępcza")});
    // The heading measures 227 pixels, 228 with the extra pixel.
    TRpLabel &exact = layout.Label(228, false, 12);
    exact.SetCaption(QStringLiteral("Tabliczka znamionowa zastępcza"));
    EXPECT_EQ(exact.FormattedLines().size(), 1);
    TRpLabel &narrow = layout.Label(227, false, 12);
    narrow.SetCaption(QStringLiteral("Tabliczka znamionowa zastępcza"));
    EXPECT_EQ(narrow.FormattedLines(),
              (QStringList{QStringLiteral("Tabliczka znamionowa "), QStringLiteral("zastępcza")}));
}

TEST(LabelLayoutRealFont, AutoSizedCaptionAndMinimumHeight) {
    RealLayout layout;
    TRpLabel &label = layout.Label(38, true, 10);
    label.SetPixelBounds(66, 72, 38, 10);
    label.SetCaption(QStringLiteral("Marka"));
    const platform::Font font = label.Font();
    EXPECT_EQ(label.Width(), layout.report.TextWidth(font, QStringLiteral("Marka")));
    EXPECT_EQ(label.Width(), 39); // 38.25 pixels of Liberation Serif Bold at 13 pixels
    EXPECT_EQ(label.Left(), 66);
    EXPECT_EQ(label.Height(), layout.report.LineHeight(font) + 1);
    EXPECT_EQ(label.Height(), 16); // ascent 12 + descent 3 + 1
}

} // namespace
