// The mailto hand-over: RFC 6068 encoding, and the real start of xdg-open with one argument.
#include "platform/Shell.h"
#include "support/ShellDouble.h"

#include <QDir>
#include <QFile>
#include <QUrl>
#include <QUrlQuery>
#include <gtest/gtest.h>

namespace {

const QString kHead =
    QStringLiteral("mailto:zamowienia@example.invalid?subject=Zamowienie%20folii&body=");

struct EncodingCase {
    const char *name;
    QString link;
    QByteArray encoded;
};

class MailtoEncoding : public testing::TestWithParam<EncodingCase> {};

TEST_P(MailtoEncoding, EncodesTheBodyAndKeepsWhatIsAlreadyEncoded) {
    EXPECT_EQ(platform::EncodeMailtoLink(GetParam().link), GetParam().encoded);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MailtoEncoding,
    testing::Values(EncodingCase{"UnreservedStay", kHead + QStringLiteral("AZaz09-._~"),
                                 kHead.toLatin1() + "AZaz09-._~"},
                    EncodingCase{"DelimitersOfTheBodyEncoded",
                                 kHead + QStringLiteral("a&b#c;d%e+f?g=h/i:j"),
                                 kHead.toLatin1() + "a%26b%23c%3Bd%25e%2Bf%3Fg%3Dh%2Fi%3Aj"},
                    EncodingCase{"SpacesAndQuotes", kHead + QStringLiteral("a b\"c'd"),
                                 kHead.toLatin1() + "a%20b%22c%27d"},
                    EncodingCase{"PolishLettersAsUtf8", kHead + QStringLiteral("łóśŚĆ"),
                                 kHead.toLatin1() + "%C5%82%C3%B3%C5%9B%C5%9A%C4%86"},
                    EncodingCase{"EveryLineBreakIsCrLf", kHead + QStringLiteral("a\rb\r\nc\nd\r"),
                                 kHead.toLatin1() + "a%0D%0Ab%0D%0Ac%0D%0Ad%0D%0A"},
                    EncodingCase{"BodyFieldNamedInAnyCase",
                                 QStringLiteral("mailto:a@b.pl?Body=a&b=c"),
                                 "mailto:a@b.pl?Body=a%26b%3Dc"},
                    EncodingCase{"BodyAfterOtherFields",
                                 QStringLiteral("mailto:a@b.pl?cc=c@d.pl&subject=x%20y&body=1 2"),
                                 "mailto:a@b.pl?cc=c@d.pl&subject=x%20y&body=1%202"},
                    EncodingCase{"WithoutBodyOnlyWhatAUriCannotHoldIsEncoded",
                                 QStringLiteral("mailto:a@b.pl?subject=Zam%C3%B3w ł"),
                                 "mailto:a@b.pl?subject=Zam%C3%B3w%20%C5%82"}),
    [](const testing::TestParamInfo<EncodingCase> &info) { return info.param.name; });

QString DecodedBody(const QString &handedOver) {
    const QUrl url(handedOver, QUrl::StrictMode);
    EXPECT_TRUE(url.isValid()) << handedOver.toStdString();
    EXPECT_EQ(url.scheme(), QStringLiteral("mailto"));
    return QUrlQuery(url).queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded);
}

TEST(XdgOpenShell, StartsXdgOpenWithTheEncodedLinkAsItsOneArgument) {
    testing_support::FakeXdgOpen xdgOpen;
    const QString body = QStringLiteral("A&B #1; 100% + x?y=z \"cudzysłów\" 'ą' ŻÓŁW\r  //  dalej");
    platform::Service<platform::Shell>::get().openMailtoLink(kHead + body);
    const QStringList arguments = xdgOpen.WaitForArguments();
    ASSERT_EQ(arguments.size(), 1);
    EXPECT_EQ(arguments[0].toLatin1(), platform::EncodeMailtoLink(kHead + body));
    EXPECT_EQ(DecodedBody(arguments[0]),
              QStringLiteral("A&B #1; 100% + x?y=z \"cudzysłów\" 'ą' ŻÓŁW\r\n  //  dalej"));
    EXPECT_EQ(QUrlQuery(QUrl(arguments[0])).queryItemValue(QStringLiteral("subject")),
              QStringLiteral("Zamowienie folii"));
}

TEST(XdgOpenShell, CommandsInTheLinkAreNeverRun) {
    testing_support::FakeXdgOpen xdgOpen;
    const QString marker = QDir(xdgOpen.folder()).filePath(QStringLiteral("ran-"));
    const QString body = QStringLiteral("$(touch %1a)\r`touch %1b`\r; touch %1c\r| touch %1d && "
                                        "touch %1e\r'; touch %1f; '\r\"$(touch %1g)\"")
                             .arg(marker);
    platform::OpenMailtoLink(kHead + body);
    const QStringList arguments = xdgOpen.WaitForArguments();
    ASSERT_EQ(arguments.size(), 1);
    EXPECT_EQ(DecodedBody(arguments[0]),
              QString(body).replace(QStringLiteral("\r"), QStringLiteral("\r\n")));
    for (const char *file : {"a", "b", "c", "d", "e", "f", "g"})
        EXPECT_FALSE(QFile::exists(marker + QLatin1String(file))) << file;
}

} // namespace
