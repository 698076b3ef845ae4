// The foil order: the message as Windows-1250 bytes, and the order routine end to end.
#include "DaneFixture.h"
#include "OrderStoreDouble.h"
#include "forms/OrderMessage.h"
#include "forms/controls/TEdit.h"
#include "platform/Application.h"
#include "platform/Cp1250.h"
#include "settings/uRegistry.h"
#include "support/Doubles.h"
#include "support/ShellDouble.h"
#include "support/Typing.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QPointer>
#include <QUrl>
#include <QUrlQuery>
#include <gtest/gtest.h>

namespace {

using testing_support::WhenDialogShown;

const QDate kFifthOfMarch(2024, 3, 5);

const QByteArray kPiece1 = "Ilo\x9c\xe6 pakiet\xf3w: 1  //  Cena jednostkowa brutto: 354,24 "
                           "z\xb3 plus koszty wysy\xb3ki\r  //  ZAMAWIAJACY: ";

const OrdererDetails kFilled = {
    QStringLiteral("Firma Żółć Sp. z o.o."),
    QStringLiteral("00-950"),
    QStringLiteral("Łódź"),
    QStringLiteral("ul. Ślężna 5"),
    QStringLiteral("123-456-78-90"),
    QStringLiteral("+48 600 100 200"),
    QStringLiteral("biuro@zolc.pl"),
    QStringLiteral("SKP-ŁD/01"),
    QStringLiteral("Ćma & #1"),
};

struct BodyCase {
    const char *name;
    OrdererDetails details;
    QByteArray body;
};

class OrderMessageBytes : public testing::TestWithParam<BodyCase> {};

TEST_P(OrderMessageBytes, BodyAndLinkAreExactInWindows1250) {
    ASSERT_EQ(kPiece1.size(), 97);
    const QString body = OrderBody(GetParam().details, kFifthOfMarch);
    ASSERT_TRUE(platform::IsCp1250Encodable(body));
    EXPECT_EQ(platform::ToCp1250(body), GetParam().body);
    EXPECT_EQ(platform::ToCp1250(OrderLink(body)),
              "mailto:" + OrderMailbox().toLatin1() +
                  "?subject=Zamowienie%20folii%20do%20druku%20tabliczek&body=" + GetParam().body);
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, OrderMessageBytes,
    testing::Values(BodyCase{"Filled", kFilled,
                             kPiece1 + "Firma \xaf\xf3\xb3\xe6 Sp. z o.o."
                                       "\r  //  KOD, MIEJSCOWO\x8c\xc6: 00-950 \xa3\xf3"
                                       "d\x9f"
                                       "\r  //  ADRES: ul. \x8cl\xea\xbfna 5"
                                       "\r  //  NIP: 123-456-78-90"
                                       "\r  //  TELEFON: +48 600 100 200"
                                       "\r  //  MAIL: biuro@zolc.pl"
                                       "\r  //  WYROZNIK: SKP-\xa3"
                                       "D/01"
                                       "\r  //  INNE: \xc6ma & #1"
                                       "\r  //  DATA ZAM\xd3WIENIA: 05.03.2024"},
                    BodyCase{"AllEmpty", OrdererDetails{},
                             kPiece1 + "\r  //  KOD, MIEJSCOWO\x8c\xc6:  "
                                       "\r  //  ADRES: \r  //  NIP: \r  //  TELEFON: "
                                       "\r  //  MAIL: \r  //  WYROZNIK: \r  //  INNE: "
                                       "\r  //  DATA ZAM\xd3WIENIA: 05.03.2024"}),
    [](const testing::TestParamInfo<BodyCase> &info) { return info.param.name; });

TEST(OrderMessage, DateIsDayMonthYearWithFullStopsWhateverTheLocale) {
    const QLocale previous;
    const struct {
        QDate date;
        const char *shown;
    } cases[] = {{kFifthOfMarch, "05.03.2024"},
                 {QDate(2025, 12, 31), "31.12.2025"},
                 {QDate(999, 1, 9), "09.01.0999"}};
    for (QLocale locale : {QLocale(QLocale::English, QLocale::UnitedStates),
                           QLocale(QLocale::Polish, QLocale::Poland), QLocale(QLocale::Arabic)}) {
        QLocale::setDefault(locale);
        for (const auto &c : cases)
            EXPECT_TRUE(OrderBody({}, c.date).endsWith(QLatin1String(c.shown)))
                << c.shown << " " << locale.name().toStdString();
    }
    QLocale::setDefault(previous);
}

class OrderFoilTest : public testing::Test {
protected:
    void SetUp() override {
        platform::SetApplicationTitle(QStringLiteral("Merovan"));
        for (int i = 1; i <= 9; ++i)
            Store(i, kFilled[i - 1]);
        store.accesses.clear();
        store.writes = 0;
    }
    void TearDown() override { platform::SetApplicationTitle(previousTitle_); }

    static void Store(int i, const QString &text) {
        WriteToHKCUkey(QStringLiteral("Merovan"), QStringLiteral("Zamawiajacy"), QString::number(i),
                       TSettingsValue::Text(text));
    }
    static QString Stored(int i) {
        return ReadFromHKCUkey(QStringLiteral("Merovan"), QStringLiteral("Zamawiajacy"),
                               QString::number(i), 256, TSettingsValue::Text(QStringLiteral("?")))
            .toText();
    }
    QStringList StoredAll() {
        QStringList all;
        for (int i = 1; i <= 9; ++i)
            all << Stored(i);
        return all;
    }
    // The order routine run as the main window's button runs it: under the error display.
    bool Order() {
        return platform::Guarded([this] {
            OrderFoil([this] {
                ++datesAsked;
                return kFifthOfMarch;
            });
        });
    }

    testing_support::MemoryRegistry store;
    testing_support::RecordingMessages messages;
    int datesAsked = 0;

private:
    QString previousTitle_ = platform::ApplicationTitle();
};

QStringList Accesses(const char *kind) {
    QStringList accesses;
    for (int i = 1; i <= 9; ++i)
        accesses << QStringLiteral("%1 %2").arg(QLatin1String(kind)).arg(i);
    return accesses;
}

QStringList Texts(const OrdererDetails &details) {
    return {details.begin(), details.end()};
}

TEST_F(OrderFoilTest, ConfirmedOrderIsHandedOverThenTheDetailsAreSavedInOrder) {
    testing_support::RecordingShell shell;
    OrdererDetails expected = kFilled;
    expected[3] += QStringLiteral(" m. 7");
    WhenDialogShown([&](TfDaneZamawiajacego &dialog) {
        for (int i = 1; i <= 9; ++i)
            EXPECT_EQ(dialog.Edit(i)->text(), kFilled[i - 1]) << i;
        EXPECT_EQ(store.accesses, Accesses("read"));
        dialog.Edit(4)->end(false);
        testing_support::Type(dialog.Edit(4), QStringLiteral(" m. 7"));
        QTest::mouseClick(dialog.findChild<QWidget *>(QStringLiteral("BitBtn2")), Qt::LeftButton);
    });
    EXPECT_TRUE(Order());
    EXPECT_EQ(shell.links, QStringList(OrderLink(OrderBody(expected, kFifthOfMarch))));
    EXPECT_EQ(store.accesses, Accesses("read") + Accesses("write"));
    EXPECT_EQ(StoredAll(), Texts(expected));
    EXPECT_EQ(datesAsked, 1);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(OrderFoilTest, WithAnEmptyStoreTheFieldsStartEmptyAndNineEmptyTextsAreSaved) {
    store.values.clear();
    testing_support::RecordingShell shell;
    WhenDialogShown([](TfDaneZamawiajacego &dialog) {
        for (int i = 1; i <= 9; ++i)
            EXPECT_TRUE(dialog.Edit(i)->text().isEmpty()) << i; // not "Edit1" .. "Edit9"
        for (int i = 1; i <= 10; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    EXPECT_TRUE(Order());
    EXPECT_EQ(shell.links, QStringList(OrderLink(OrderBody({}, kFifthOfMarch))));
    ASSERT_EQ(store.values.size(), 9);
    for (const platform::RegistryValue &value : store.values)
        EXPECT_EQ(value, (platform::RegistryValue{platform::RegSz, QByteArray(1, '\0')}));
}

struct CancelWay {
    const char *name;
    void (*cancel)(TfDaneZamawiajacego &);
};

const CancelWay kCancelWays[] = {
    {"Esc", [](TfDaneZamawiajacego &d) { QTest::keyClick(d.Edit(1), Qt::Key_Escape); }},
    {"CloseBox", [](TfDaneZamawiajacego &d) { d.close(); }},
    {"Anuluj",
     [](TfDaneZamawiajacego &d) {
         QTest::mouseClick(d.findChild<QWidget *>(QStringLiteral("BitBtn1")), Qt::LeftButton);
     }},
};

class OrderCancel : public OrderFoilTest, public testing::WithParamInterface<CancelWay> {};

TEST_P(OrderCancel, ComposesOpensAndWritesNothing) {
    testing_support::RecordingShell shell;
    const auto before = store.values;
    WhenDialogShown([cancel = GetParam().cancel](TfDaneZamawiajacego &dialog) {
        dialog.Edit(1)->clear();
        testing_support::Type(dialog.Edit(1), QStringLiteral("zmienione"));
        cancel(dialog);
    });
    EXPECT_TRUE(Order());
    EXPECT_TRUE(shell.links.isEmpty());
    EXPECT_EQ(store.accesses, Accesses("read"));
    EXPECT_EQ(store.values, before);
    EXPECT_EQ(datesAsked, 0);
}

INSTANTIATE_TEST_SUITE_P(Ways, OrderCancel, testing::ValuesIn(kCancelWays),
                         [](const testing::TestParamInfo<CancelWay> &info) {
                             return std::string(info.param.name);
                         });

TEST_F(OrderFoilTest, AStoreRefusingMidwayKeepsEarlierValuesDestroysTheDialogAndShowsTheError) {
    testing_support::RecordingShell shell;
    store.refuseFromWrite = 5;
    QPointer<TfDaneZamawiajacego> shown;
    WhenDialogShown([&](TfDaneZamawiajacego &dialog) {
        shown = &dialog;
        for (int i = 1; i <= 9; ++i)
            dialog.Edit(i)->setText(QStringLiteral("nowe %1").arg(i));
        QTest::mouseClick(dialog.findChild<QWidget *>(QStringLiteral("BitBtn2")), Qt::LeftButton);
    });
    EXPECT_FALSE(Order());
    EXPECT_TRUE(shown.isNull());
    EXPECT_EQ(shell.links.size(), 1); // handed over before the details are saved
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, platform::MessageKind::Error);
    EXPECT_EQ(messages.shown[0].caption, QStringLiteral("Merovan"));
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Failed to set data for '5'"));
    EXPECT_EQ(store.accesses, Accesses("read") + Accesses("write").mid(0, 5));
    EXPECT_EQ(StoredAll(),
              QStringList({"nowe 1", "nowe 2", "nowe 3", "nowe 4"}) + Texts(kFilled).mid(4));
}

TEST_F(OrderFoilTest, TheRealHandOverDeliversEveryCharacterAndRunsNothing) {
    testing_support::FakeXdgOpen xdgOpen;
    const QString marker = QDir(xdgOpen.folder()).filePath(QStringLiteral("ran-"));
    const OrdererDetails details = {
        QStringLiteral("A&B \"Cudzysłów\" 'pojedynczy'"),
        QStringLiteral("#00-95"),
        QStringLiteral("Zażółć gęślą jaźń; ŹDŹBŁO"),
        QStringLiteral("100% + 50% = ?"),
        QStringLiteral("a=b&body=c"),
        QStringLiteral("$(touch %1a)").arg(marker),
        QStringLiteral("`touch %1b`").arg(marker),
        QStringLiteral("; touch %1c; echo").arg(marker),
        QStringLiteral("| touch %1d && touch %1e #").arg(marker),
    };
    for (int i = 1; i <= 9; ++i)
        Store(i, details[i - 1]);
    WhenDialogShown([](TfDaneZamawiajacego &dialog) {
        QTest::mouseClick(dialog.findChild<QWidget *>(QStringLiteral("BitBtn2")), Qt::LeftButton);
    });
    EXPECT_TRUE(Order());
    const QStringList arguments = xdgOpen.WaitForArguments();
    ASSERT_EQ(arguments.size(), 1);
    const QUrl url(arguments[0], QUrl::StrictMode);
    ASSERT_TRUE(url.isValid());
    EXPECT_EQ(url.scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(url.path(), OrderMailbox());
    const QUrlQuery query(url);
    EXPECT_EQ(query.queryItemValue(QStringLiteral("subject")),
              QStringLiteral("Zamowienie folii do druku tabliczek"));
    EXPECT_EQ(
        query.queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded),
        OrderBody(details, kFifthOfMarch).replace(QStringLiteral("\r"), QStringLiteral("\r\n")));
    for (const char *file : {"a", "b", "c", "d", "e"})
        EXPECT_FALSE(QFile::exists(marker + QLatin1String(file))) << file;
    EXPECT_EQ(StoredAll(), Texts(details));
}

TEST_F(OrderFoilTest, WithoutXdgOpenNothingIsReportedAndTheDetailsAreSaved) {
    testing_support::FakeXdgOpen noXdgOpen(false);
    WhenDialogShown([](TfDaneZamawiajacego &dialog) {
        dialog.Edit(9)->setText(QStringLiteral("bez programu pocztowego"));
        QTest::mouseClick(dialog.findChild<QWidget *>(QStringLiteral("BitBtn2")), Qt::LeftButton);
    });
    EXPECT_TRUE(Order());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(Stored(9), QStringLiteral("bez programu pocztowego"));
}

} // namespace
