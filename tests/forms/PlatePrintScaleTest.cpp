// The printed plate does not change with the monitor: the same plates printed by the test
// program started with QT_SCALE_FACTOR 1, 1.25 and 2 come out with every word and every
// line's ink at the same device pixel.
#include "forms/PlatePrintSupport.h"

#include "platform/Screen.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

using namespace plate_print;

constexpr const char *MeasurementsVariable = "MEROVAN_PLATE_MEASUREMENTS";

class PlatePrintScale : public PlateWindow {};

// Run by the test below in a process of its own, with the scale factor in its environment:
// prints two plates, checks them and writes what it measured.
TEST_F(PlatePrintScale, DISABLED_PrintAndWriteMeasurements) {
    const Queues queues = QueuesFromEnvironment();
    const QString output = qEnvironmentVariable(MeasurementsVariable);
    if (!queues.Available() || output.isEmpty())
        GTEST_SKIP() << "started by MonitorScalingLeavesThePrintedPlateAlone";
    const int dpi = QueueDpi(queues.plain);
    ASSERT_GT(dpi, 0);
    const std::vector<std::pair<Position, PlateTexts>> plates{
        {PositionOf(8, 1), {"VOLKSWAGEN", "GOLF", "WVWZZZ1JZXW000001", "SCALE-1"}},
        {PositionOf(10, 7), {"FIAT", "126P", "SUF126000", "SCALE-2"}},
    };
    const std::vector<QString> pdfs = PrintAll(queues.plain, plates);

    QFile file(output);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Text));
    QTextStream out(&file);
    out << "screen " << platform::ScreenDpi() << " ratio " << window->devicePixelRatioF() << '\n';
    for (std::size_t n = 0; n < plates.size(); ++n) {
        if (pdfs[n].isEmpty())
            continue;
        const ExpectedPlate expected = Expect(plates[n].first, plates[n].second, dpi);
        const PlateMeasure measured = Measure(pdfs[n], expected);
        ExpectAsGeometrySays(expected, measured, 0.5);
        for (const LabelMeasure &label : measured.labels)
            out << PositionName(plates[n].first).c_str() << ' ' << label.label << ' '
                << label.words.join('|') << ' ' << QString::number(label.anchor, 'f', 4) << ' '
                << label.ink.left() << ',' << label.ink.top() << ',' << label.ink.right() << ','
                << label.ink.bottom() << '\n';
        QFile::remove(pdfs[n]);
    }
}

struct ScaledRun {
    QString screen;        // the first line: screen resolution and pixel ratio
    QStringList positions; // one line per label of each plate
};

ScaledRun PrintScaled(const QString &factor, const QString &output) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_SCALE_FACTOR", factor);
    environment.insert(MeasurementsVariable, output);
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_also_run_disabled_tests",
                 "--gtest_filter=PlatePrintScale.DISABLED_PrintAndWriteMeasurements"});
    const bool finished = child.waitForFinished(240000);
    const QString log = QString::fromLocal8Bit(child.readAll());
    EXPECT_TRUE(finished && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0)
        << "at scale " << factor.toStdString() << ":\n"
        << log.toStdString();
    QFile file(output);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    if (lines.isEmpty())
        return {};
    const QString screen = lines.takeFirst();
    return {screen, lines};
}

TEST_F(PlatePrintScale, MonitorScalingLeavesThePrintedPlateAlone) {
    if (!QueuesFromEnvironment().Available())
        GTEST_SKIP() << NoQueues;
    QTemporaryDir dir;
    const ScaledRun unscaled = PrintScaled("1", dir.filePath("1"));
    EXPECT_EQ(unscaled.screen, "screen 96 ratio 1");
    ASSERT_EQ(unscaled.positions.size(), 18);
    for (const char *factor : {"1.25", "2"}) {
        SCOPED_TRACE(factor);
        const ScaledRun scaled = PrintScaled(factor, dir.filePath(factor));
        // The window is drawn at the monitor's scale, the plate is not.
        EXPECT_EQ(scaled.screen, QStringLiteral("screen 96 ratio %1").arg(factor));
        EXPECT_EQ(scaled.positions, unscaled.positions);
    }
}

} // namespace
