// The register of issued plates at 100,000 plates: one print's record written, the window
// "Rejestr tabliczek" shown with its first rows painted, a search answered (a body number
// found among them, and a text most plates hold), and how much the window's memory grows
// when it is scrolled from the first row to the last. Runs offscreen unless QT_QPA_PLATFORM
// says otherwise, on a register of its own in a temporary folder.
// Run: register_window --benchmark_counters_tabular=true
#include "forms/rejestr/RegisterModel.h"
#include "forms/rejestr/uRejestr.h"
#include "platform/Fonts.h"
#include "platform/PrivateDatabase.h"
#include "register/PlateRegister.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimeZone>

#include <fstream>
#include <string>

namespace {

constexpr int Plates = 100000;

double ResidentMiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024;
    return 0;
}

TRegisterEntry Plate(int n) {
    TRegisterEntry plate;
    plate.PrintedAt = QDateTime(QDate(2024, 1, 1), QTime(8, 0), QTimeZone(3600)).addSecs(n * 600);
    plate.User = QStringLiteral("operator");
    plate.Printer = QStringLiteral("MerovanPDF");
    plate.SheetPositions = 8;
    plate.Position = 1 + n % 8;
    plate.Texts = {QStringLiteral("VOLKSWAGEN"), QStringLiteral("GOLF"),
                   QStringLiteral("WVWZZZ1JZ%1").arg(n, 8, 10, QLatin1Char('0')),
                   QStringLiteral("KR/%1").arg(n % 1000)};
    plate.Job = n;
    return plate;
}

// A register of the size asked: one plate recorded as the program records it, the others
// made from it in one transaction, each its own body number, ten minutes apart.
void MakeRegister() {
    RecordPlate(Plate(0));
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(RegisterPath()).constData(), &db);
    const std::string copies =
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
        std::to_string(Plates - 1) +
        ") INSERT INTO plates (printed_at, printed_utc, user_name, printer, sheet, position,"
        " make, model, body, station, job, search, body_key)"
        " SELECT printed_at, printed_utc + i * 600, user_name, printer, sheet, 1 + i % 8, make,"
        " model, printf('WVWZZZ1JZ%08d', i), 'KR/' || (i % 1000), i,"
        " printf('volkswagen' || char(10) || 'golf' || char(10) || 'wvwzzz1jz%08d' ||"
        " char(10) || 'kr/%d', i, i % 1000), printf('WVWZZZ1JZ%08d', i)"
        " FROM n, plates";
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_exec(db, copies.c_str(), nullptr, nullptr, nullptr);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

void BM_RecordOnePlate(benchmark::State &state) {
    int n = Plates;
    for (auto _ : state)
        RecordPlate(Plate(n++));
}
BENCHMARK(BM_RecordOnePlate)->Unit(benchmark::kMillisecond)->Iterations(50);

void BM_WindowShown(benchmark::State &state) {
    for (auto _ : state) {
        TfRejestr window;
        window.show();
        window.findChild<QTableView *>()->viewport()->repaint();
    }
}
BENCHMARK(BM_WindowShown)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_SearchAnswered(benchmark::State &state) {
    TfRejestr window;
    window.show();
    auto *search = window.findChild<QLineEdit *>(QStringLiteral("EditSzukaj"));
    auto *table = window.findChild<QTableView *>();
    const QString typed =
        state.range(0) == 0 ? QStringLiteral("zz1jz00042424") : QStringLiteral("golf");
    int shown = 0;
    for (auto _ : state) {
        search->setText(typed);
        table->viewport()->repaint();
        shown = window.Model().rowCount();
        state.PauseTiming();
        search->clear();
        state.ResumeTiming();
    }
    state.counters["rows_shown"] = shown;
}
BENCHMARK(BM_SearchAnswered)
    ->ArgName("most_plates")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

// Scrolled from the first row to the last, the window keeps a few pages, not the register:
// the growth beyond the window shown, against a copy of every plate.
void BM_ScrolledThrough(benchmark::State &state) {
    for (auto _ : state) {
        const double start = ResidentMiB();
        TfRejestr window;
        window.show();
        auto *table = window.findChild<QTableView *>();
        table->viewport()->repaint();
        const double before = ResidentMiB();
        state.counters["window_MiB"] = before - start;
        for (int row = 0; row < window.Model().rowCount(); row += 5000) {
            table->scrollTo(window.Model().index(row, 0));
            table->viewport()->repaint();
        }
        table->scrollToBottom();
        table->viewport()->repaint();
        state.counters["rss_growth_MiB"] = ResidentMiB() - before;
        // For comparison: what holding every plate would take.
        const double beforeCopy = ResidentMiB();
        TRegisterReader reader;
        const std::vector<TRegisterEntry> all = reader.Rows({}, 0, Plates + 100);
        state.counters["copy_of_all_MiB"] = ResidentMiB() - beforeCopy;
        benchmark::DoNotOptimize(all.data());
    }
}
BENCHMARK(BM_ScrolledThrough)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    QApplication application(argc, argv);
    platform::InstallFontSubstitutions();
    MakeRegister();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
