// The register window offscreen: what the search and the range of days show, a plate printed
// again from it through the main window, the question before printing a body number issued
// before, and the export read back with a CSV parser.
#include "forms/MainFixture.h"

#include "forms/controls/TShape.h"
#include "forms/rejestr/RegisterModel.h"
#include "forms/rejestr/uRejestr.h"
#include "platform/FileDialogs.h"
#include "platform/User.h"
#include "register/PlateRegister.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimeZone>
#include <QTimer>

namespace {

using platform::MessageKind;

class ChosenFile final : public platform::FileDialogs {
public:
    QString saveFileName(const QString &, const QString &, const QString &) override {
        return file;
    }
    QString file;

private:
    platform::ScopedService<platform::FileDialogs> scope_{*this};
};

TRegisterEntry Issued(std::array<QString, 4> texts, QDate day, int position = 3) {
    TRegisterEntry entry;
    entry.PrintedAt = QDateTime(day, QTime(10, 30), QTimeZone(3600));
    entry.User = QStringLiteral("operator");
    entry.Printer = QStringLiteral("P1");
    entry.SheetPositions = 8;
    entry.Position = position;
    entry.Texts = std::move(texts);
    entry.Job = 7;
    return entry;
}

// A CSV file as a spreadsheet reads it: ';' between fields, quoted fields with doubled quotes
// and line breaks inside, CR LF between rows.
std::vector<QStringList> ParseCsv(const QString &text) {
    std::vector<QStringList> rows(1);
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"')
                field += text[++i];
            else if (c == u'"')
                quoted = false;
            else
                field += c;
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u';') {
            rows.back() << std::exchange(field, QString());
        } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            rows.back() << std::exchange(field, QString());
            rows.emplace_back();
            ++i;
        } else {
            field += c;
        }
    }
    if (rows.back().isEmpty() && field.isEmpty())
        rows.pop_back();
    return rows;
}

class Rejestr : public testing_support::MainFixture {
protected:
    Rejestr() {
        for (const TRegisterEntry &entry : plates)
            RecordPlate(entry);
    }
    // The body numbers the window shows, top to bottom.
    static QStringList Shown(TfRejestr &window) {
        QStringList bodies;
        for (int row = 0; row < window.Model().rowCount(); ++row)
            bodies << window.Model().Entry(row)->Texts[2];
        return bodies;
    }
    const std::vector<TRegisterEntry> plates{
        Issued({"ŁADA", "NIVA", "XTA212140K1234567", "KR/001"}, {2026, 11, 3}),
        Issued({"ŻUK", "A07", "SUZ00012345", "WA/002"}, {2026, 11, 20}),
        Issued({"FIAT", "126P ŚLĄSK", "ZFA12600000001234", "GD/77"}, {2026, 12, 1}),
    };
};

TEST_F(Rejestr, TheSearchAndTheDaysShowTheirPlatesNewestFirst) {
    struct Case {
        const char *search;
        QDate from, to;
        QStringList bodies;
    };
    const QString lada = "XTA212140K1234567", zuk = "SUZ00012345", fiat = "ZFA12600000001234";
    const Case cases[] = {
        {"", {}, {}, {fiat, zuk, lada}},
        {"lada", {}, {}, {lada}}, // without its diacritic
        {"ŁADA", {}, {}, {lada}}, // with it
        {"Łada", {}, {}, {lada}}, // any case
        {"żuk", {}, {}, {zuk}},
        {"SLASK", {}, {}, {fiat}},           // in the model
        {"1234", {}, {}, {fiat, zuk, lada}}, // part of a body number
        {"k12345", {}, {}, {lada}},
        {"kr/", {}, {}, {lada}}, // the station
        {"%", {}, {}, {}},       // taken as it is
        {"zzz", {}, {}, {}},
        {"", {2026, 11, 20}, {}, {fiat, zuk}},
        {"", {}, {2026, 11, 20}, {zuk, lada}},
        {"", {2026, 11, 4}, {2026, 11, 30}, {zuk}},
        {"1234", {2026, 11, 1}, {2026, 11, 30}, {zuk, lada}},
    };
    TfRejestr window;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.search);
        window.findChild<QLineEdit *>("EditSzukaj")->setText(QString::fromUtf8(c.search));
        window.findChild<QCheckBox *>("CheckOd")->setChecked(c.from.isValid());
        window.findChild<QCheckBox *>("CheckDo")->setChecked(c.to.isValid());
        if (c.from.isValid())
            window.findChild<QDateEdit *>("DateOd")->setDate(c.from);
        if (c.to.isValid())
            window.findChild<QDateEdit *>("DateDo")->setDate(c.to);
        EXPECT_EQ(Shown(window), c.bodies);
    }
}

TEST_F(Rejestr, APlateIsPrintedAgainThroughTheMainWindowAndRecordedAgain) {
    TfMain &main = ShowMain();
    QTimer::singleShot(0, [] {
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *window = qobject_cast<TfRejestr *>(top); window && window->isVisible()) {
                window->findChild<QLineEdit *>("EditSzukaj")->setText("żuk");
                window->findChild<QPushButton *>("BitBtnPonownie")->click();
            }
    });
    Child<QAction>("ActionRejestr")->trigger();
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(main.EditText(n), plates[1].Texts[std::size_t(n - 1)]);
    // The operator chooses a free position and prints; the register asks, "Tak" by default.
    QTest::mouseClick(main.Shape(7), Qt::LeftButton, {}, {9, 9});
    QTest::mouseClick(Child<QWidget>("BitBtn2"), Qt::LeftButton);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, MessageKind::Question);
    EXPECT_EQ(messages.shown[0].text,
              "Tabliczkę z numerem nadwozia SUZ00012345 wydrukowano już 20.11.2026 (pozycja 3 "
              "arkusza 8 szt., drukarka „P1”). Drukować ponownie?");
    TRegisterReader register_;
    ASSERT_EQ(register_.Count({}), 4);
    const TRegisterEntry again = register_.Rows({}, 0, 1)[0];
    EXPECT_EQ(again.Texts, plates[1].Texts);
    EXPECT_EQ(again.Position, 6);
    EXPECT_EQ(again.Printer, "P1");
    EXPECT_EQ(again.Job, 1);
    EXPECT_EQ(again.User, platform::UserName());
    // "Nie" prints nothing and records nothing; a preview asks nothing.
    messages.shown.clear();
    messages.answers = {false};
    QTest::mouseClick(main.Shape(8), Qt::LeftButton, {}, {9, 9});
    QTest::mouseClick(Child<QWidget>("BitBtn2"), Qt::LeftButton);
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(printers->callsStartingWith({"StartDoc"}).size(), 1u);
    EXPECT_EQ(TRegisterReader().Count({}), 4);
}

TEST_F(Rejestr, AnExportReadsBackAsTheRegisterHoldsIt) {
    const std::array<QString, 4> awkward{"MARKA; \"CYTAT\", PRZECINEK", "MODEL\r\nDWIE LINIE",
                                         "=HYPERLINK(\"X\")", "ŁÓDŹ/ŻÓŁW"};
    RecordPlate(Issued(awkward, {2026, 12, 9}, 5));
    QTemporaryDir folder;
    ChosenFile chosen;
    chosen.file = folder.filePath("rejestr.csv");
    TfRejestr window;
    window.findChild<QPushButton *>("BitBtnEksport")->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Zapisano 4 tabliczek do pliku " + chosen.file + ".");
    QFile file(chosen.file);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const std::vector<QStringList> rows = ParseCsv(QString::fromUtf8(bytes.mid(3)));
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].mid(0, 5),
              QStringList({"Data", "Marka", "Model", "Numer nadwozia", "Wyróżnik SKP"}));
    // Newest first: the awkward plate as it was printed, a formula kept from running.
    EXPECT_EQ(rows[1].mid(1, 4),
              QStringList({awkward[0], awkward[1], "'" + awkward[2], awkward[3]}));
    EXPECT_EQ(rows[1].value(5), "8/5");
    EXPECT_EQ(rows[1].value(9), "7");
    for (std::size_t i = 2; i < rows.size(); ++i)
        EXPECT_EQ(rows[i].mid(1, 4),
                  QStringList(plates[4 - i].Texts.begin(), plates[4 - i].Texts.end()));
    // Cancelled, nothing is written.
    chosen.file.clear();
    messages.shown.clear();
    window.findChild<QPushButton *>("BitBtnEksport")->click();
    EXPECT_TRUE(messages.shown.empty());
}

} // namespace
