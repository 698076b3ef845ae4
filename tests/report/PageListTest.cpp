// The preview's page store: its header and record layout, round trips in memory and in
// the temporary file, and the file's lifetime.
#include "PreviewTestSupport.h"
#include "PrintTestReports.h"

#include "report/RpPageList.h"
#include "report/RpPrev.h"
#include "report/RpPrntr.h"

#include "support/FakePrinter.h"
#include "support/Processes.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <array>
#include <csignal>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

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

// The temporary folder of a test: empty at the start, so whatever a store leaves in it shows.
class PrivateTempFolder {
public:
    PrivateTempFolder() : previous_(qgetenv("TMPDIR")) {
        qputenv("TMPDIR", QFile::encodeName(folder_.path()));
    }
    ~PrivateTempFolder() { qputenv("TMPDIR", previous_); }
    QString path() const { return folder_.path(); }
    QStringList entries() const {
        return QDir(folder_.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }
    // The files of this process that live in the folder (named or not), by descriptor.
    QStringList openFiles() const {
        QStringList open;
        for (const QFileInfo &fd : QDir("/proc/self/fd").entryInfoList(QDir::System | QDir::Files))
            if (fd.symLinkTarget().startsWith(folder_.path() + '/'))
                open << fd.filePath();
        return open;
    }

private:
    QTemporaryDir folder_;
    QByteArray previous_;
};

TRpPageList &Spill(TRpPageList &list) {
    for (int page = 1; !list.Stream().InFile() && page < 100; ++page)
        list.AddPage(PagePicture(page, 2000));
    return list;
}

// The file has no name from its first moment: nothing in the temporary folder to find, to
// open or to leave behind.
TEST(PageList, GrowsIntoAPrivateTemporaryFileWithoutAName) {
    PrivateTempFolder temp;
    {
        TRpPageList list(250000);
        ASSERT_TRUE(Spill(list).Stream().InFile());
        EXPECT_GT(list.Stream().Size(), 250000);
        EXPECT_EQ(temp.entries(), QStringList());
        const QStringList open = temp.openFiles();
        ASSERT_EQ(open.size(), 1);
        struct stat info;
        ASSERT_EQ(::stat(QFile::encodeName(open[0]).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0600u);
        EXPECT_EQ(info.st_size, list.Stream().Size());
        // Pages added after the move go on in the file.
        const int pages = list.Count();
        const QPicture later = PagePicture(99, 10);
        list.AddPage(later);
        EXPECT_EQ(Bytes(*list.GetPage(pages + 1)), Bytes(later));
        EXPECT_EQ(Bytes(*list.GetPage(1)), Bytes(PagePicture(1, 2000)));
    }
    EXPECT_EQ(temp.openFiles(), QStringList());
    EXPECT_EQ(temp.entries(), QStringList());
}

// However the process ends, a logout (SIGHUP), a stop (SIGTERM) or a kill, it leaves nothing.
TEST(PageList, TemporaryFileCannotOutliveTheProcess) {
    for (const int signal : {SIGKILL, SIGTERM, SIGHUP}) {
        PrivateTempFolder temp;
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t child = StartChild([&] {
            close(ready[0]);
            TRpPageList list(250000);
            Spill(list);
            if (!list.Stream().InFile() || write(ready[1], "s", 1) != 1)
                throw std::runtime_error("no spilled store");
            for (;;)
                pause();
        });
        close(ready[1]);
        char byte = 0;
        ASSERT_EQ(read(ready[0], &byte, 1), 1) << "signal " << signal;
        close(ready[0]);
        EXPECT_EQ(temp.entries(), QStringList()) << "while running, signal " << signal;
        kill(child, signal);
        EXPECT_EQ(WaitChild(child), 128 + signal);
        EXPECT_EQ(temp.entries(), QStringList()) << "signal " << signal;
    }
}

TEST(PageList, PreviewClosedReleasesTheStoresFile) {
    PrivateTempFolder temp;
    testing_support::FakePrinterSystem printers({testing_support::FakePrinter{"P1"}});
    auto report = print_test::PagesReport(3);
    report->MemoryLimit = 300; // three pages do not fit
    qsizetype open = 0;
    print_test::PreviewAndThen(*report, [&](TRpStandardPreview &preview) {
        EXPECT_TRUE(report->RpPrinter()->PageList()->Stream().InFile());
        open = temp.openFiles().size();
        preview.ExitClick();
    });
    EXPECT_EQ(open, 1);
    EXPECT_EQ(report->RpPrinter(), nullptr);
    EXPECT_EQ(temp.openFiles(), QStringList());
    EXPECT_EQ(temp.entries(), QStringList());
}

// A store whose bytes were damaged: the reader never computes past what it holds, follows no
// link that does not move through the records, and gives no page where a record is broken.
TEST(PageList, DamagedStoreGivesNoPageAndNeverFollowsABadLink) {
    const auto store = [](bool compressed) {
        TRpPageList list(1 << 20);
        list.SetCompression(compressed);
        for (int page = 1; page <= 3; ++page)
            list.AddPage(PagePicture(page, 20));
        list.WriteHeader();
        return StoreBytes(list);
    };
    const auto put = [](QByteArray &bytes, qint64 at, qint32 value) {
        qToLittleEndian(value, bytes.data() + at);
    };
    const QByteArray plain = store(false);
    const qint32 second = Int32At(plain, 132);
    const qint32 third = Int32At(plain, second + 4);
    const struct {
        const char *what;
        bool compressed;
        std::function<void(QByteArray &)> damage;
        std::array<bool, 3> readable; // pages 1..3, read 3, 2, 1
    } cases[] = {
        {"start link near the 32-bit end",
         false,
         [&](QByteArray &b) { put(b, third - 4, 0x7FFFFFFA); },
         {true, true, true}},
        {"next link near the 32-bit end",
         false,
         [&](QByteArray &b) { put(b, 132, 0x7FFFFFFA); },
         {false, false, false}},
        {"next link backwards",
         false,
         [&](QByteArray &b) { put(b, 132, 100); },
         {false, false, false}},
        {"negative next link",
         false,
         [&](QByteArray &b) { put(b, second + 4, -8); },
         {true, false, false}},
        {"wrong page number",
         false,
         [&](QByteArray &b) { put(b, second, 7); },
         {true, false, true}},
        {"cut short", false, [&](QByteArray &b) { b.truncate(third + 10); }, {true, true, false}},
        {"unpacked length of 2 GiB",
         true,
         [&](QByteArray &b) { put(b, 136, 0x7FFFFFF0); },
         {false, true, true}},
        {"negative unpacked length",
         true,
         [&](QByteArray &b) { put(b, 136, -5); },
         {false, true, true}},
    };
    for (const auto &c : cases) {
        QByteArray bytes = c.compressed ? store(true) : plain;
        c.damage(bytes);
        const std::unique_ptr<TRpPageList> list = TRpPageList::Open(bytes, 1 << 20);
        ASSERT_NE(list, nullptr) << c.what;
        for (const int page : {3, 2, 1}) {
            const std::unique_ptr<QPicture> read = list->GetPage(page);
            EXPECT_EQ(read != nullptr, c.readable[std::size_t(page - 1)])
                << c.what << ", page " << page;
            if (read) {
                EXPECT_EQ(Bytes(*read), Bytes(PagePicture(page, 20))) << c.what;
            }
        }
    }
    for (const QByteArray &header :
         {QByteArray(), QByteArray(127, 'H'), QByteArray(plain).replace(0, 2, "\x04\x00")})
        EXPECT_EQ(TRpPageList::Open(header, 1 << 20), nullptr);
}

// A record that claims a huge picture is refused before anything is unpacked: the process
// never asks for the memory (its peak stays put).
TEST(PageList, ClaimedPictureSizeIsBoundedBeforeUnpacking) {
    TRpPageList list(1 << 20);
    list.SetCompression(true);
    list.AddPage(PagePicture(1, 20));
    list.WriteHeader();
    QByteArray bytes = StoreBytes(list);
    qToLittleEndian(qint32(0x7FFFFFF0), bytes.data() + 136);
    const pid_t child = StartChild([&] {
        const auto peak = [] {
            QFile status("/proc/self/status");
            status.open(QIODevice::ReadOnly);
            for (const QByteArray &line : status.readAll().split('\n'))
                if (line.startsWith("VmPeak:"))
                    return line.mid(7).trimmed().split(' ')[0].toLongLong(); // kB
            return -1LL;
        };
        const std::unique_ptr<TRpPageList> damaged = TRpPageList::Open(bytes, 1 << 20);
        const long long before = peak();
        if (damaged->GetPage(1) || peak() - before > 100 * 1024)
            throw std::runtime_error("unpacked");
    });
    EXPECT_EQ(WaitChild(child), 0);
}
