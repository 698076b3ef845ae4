// The preview's page store: its header and record layout, round trips in memory and in
// the temporary file, and the file's lifetime.
#include "PreviewTestSupport.h"
#include "PrintTestReports.h"

#include "report/RpPageList.h"
#include "report/RpPrev.h"
#include "report/RpPrntr.h"

#include "support/FakePrinter.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QPainter>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

// A page picture that differs from page to page and is about `rectangles` x 30 bytes.
QPicture PagePicture(int page, int rectangles) {
    QPicture picture;
    picture.setBoundingRect(QRect(0, 0, 794, 1123));
    QPainter painter(&picture);
    for (int i = 0; i < rectangles; ++i)
        painter.fillRect(QRect(page + i % 700, i % 1100, 10 + page, 5), Qt::black);
    painter.drawText(QPoint(100, 100), QString("Strona %1").arg(page));
    painter.end();
    return picture;
}

QByteArray Bytes(const QPicture &picture) {
    return {picture.data(), qsizetype(picture.size())};
}

QByteArray StoreBytes(TRpPageList &list) {
    auto &stream = const_cast<TRpStream &>(list.Stream());
    const qint64 position = stream.Position();
    stream.Seek(0);
    QByteArray bytes = stream.Read(stream.Size());
    stream.Seek(position);
    return bytes;
}

qint32 Int32At(const QByteArray &bytes, qint64 at) {
    return qFromLittleEndian<qint32>(bytes.constData() + at);
}

} // namespace

TEST(PageList, HeaderAndRecordsAreLaidOutAsStored) {
    for (const bool compressed : {false, true}) {
        TRpPageList list(250000);
        list.SetCompression(compressed);
        const QPicture first = PagePicture(1, 20);
        const QPicture second = PagePicture(2, 20);
        const double before = QDate(1899, 12, 30).daysTo(QDate::currentDate());
        list.AddPage(first);
        list.AddPage(second);
        list.WriteHeader();
        const QByteArray bytes = StoreBytes(list);

        EXPECT_EQ(qFromLittleEndian<quint16>(bytes.constData()), 3);
        EXPECT_EQ(qFromLittleEndian<quint16>(bytes.constData() + 2), 50);
        EXPECT_EQ(Int32At(bytes, 8), 2);
        const double written = qFromLittleEndian<double>(bytes.constData() + 16);
        EXPECT_GE(written, before);
        EXPECT_LT(written, before + 1.0001);
        EXPECT_EQ(bytes[25], compressed ? 1 : 0);
        EXPECT_EQ(bytes.mid(26, 100), QByteArray(100, 'H'));

        // Record 1 at 128: number, link to record 2, picture, its own start.
        EXPECT_EQ(Int32At(bytes, 128), 1);
        const qint32 second_start = Int32At(bytes, 132);
        EXPECT_EQ(Int32At(bytes, second_start - 4), 128);
        EXPECT_EQ(Int32At(bytes, second_start), 2);
        const qint32 end = Int32At(bytes, second_start + 4);
        EXPECT_EQ(end, bytes.size());
        EXPECT_EQ(Int32At(bytes, end - 4), second_start);
        if (compressed) {
            EXPECT_EQ(Int32At(bytes, 136), Bytes(first).size());
        } else {
            EXPECT_EQ(bytes.mid(136, second_start - 4 - 136), Bytes(first));
        }
    }
}

TEST(PageList, PagesComeBackInAnyOrderInMemoryAndInTheFile) {
    const struct {
        qint64 limit;
        bool compressed;
        bool inFile;
    } cases[] = {
        {250000, false, false}, {2000, false, true}, {2000, true, true}, {250000, true, false}};
    for (const auto &c : cases) {
        TRpPageList list(c.limit);
        list.SetCompression(c.compressed);
        std::vector<QByteArray> pages;
        for (int page = 1; page <= 6; ++page) {
            const QPicture picture = PagePicture(page, 40);
            pages.push_back(Bytes(picture));
            list.AddPage(picture);
        }
        list.WriteHeader();
        EXPECT_EQ(list.Stream().InFile(), c.inFile) << c.limit;
        EXPECT_EQ(list.Count(), 6);
        for (const int page : {3, 1, 6, 2, 2, 5, 4, 1, 6}) {
            const std::unique_ptr<QPicture> read = list.GetPage(page);
            ASSERT_NE(read, nullptr) << page;
            EXPECT_EQ(Bytes(*read), pages[std::size_t(page - 1)]) << "page " << page;
        }
        EXPECT_EQ(list.GetPage(0), nullptr);
        EXPECT_EQ(list.GetPage(7), nullptr);
    }
}

TEST(PageList, GrowsIntoAPrivateTemporaryFileThatGoesWithTheStore) {
    QString name;
    {
        TRpPageList list(250000);
        int page = 0;
        while (!list.Stream().InFile()) {
            list.AddPage(PagePicture(++page, 2000));
            ASSERT_LT(page, 100);
        }
        EXPECT_GT(list.Stream().Size(), 250000);
        name = list.Stream().FileName();
        ASSERT_TRUE(QFile::exists(name));
        EXPECT_EQ(QFile::permissions(name) & 0x0777,
                  QFileDevice::ReadUser | QFileDevice::WriteUser);
        EXPECT_EQ(QFile(name).size(), list.Stream().Size());
        // Pages added after the move go on in the file.
        const QPicture later = PagePicture(99, 10);
        list.AddPage(later);
        EXPECT_EQ(Bytes(*list.GetPage(page + 1)), Bytes(later));
        EXPECT_EQ(Bytes(*list.GetPage(1)), Bytes(PagePicture(1, 2000)));
    }
    EXPECT_FALSE(QFile::exists(name));
}

TEST(PageList, PreviewClosedRemovesTheStoresFile) {
    testing_support::FakePrinterSystem printers({testing_support::FakePrinter{"P1"}});
    auto report = print_test::PagesReport(3);
    report->MemoryLimit = 300; // three pages do not fit
    QString name;
    bool shown = false;
    print_test::PreviewAndThen(*report, [&](TRpStandardPreview &preview) {
        const TRpPageList *store = report->RpPrinter()->PageList();
        EXPECT_TRUE(store->Stream().InFile());
        name = store->Stream().FileName();
        shown = QFile::exists(name);
        preview.ExitClick();
    });
    EXPECT_TRUE(shown);
    EXPECT_EQ(report->RpPrinter(), nullptr);
    EXPECT_FALSE(QFile::exists(name));
}
