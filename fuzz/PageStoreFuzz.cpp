// Fuzz target: a page store read back from any bytes, every page in both walking orders.
#include "report/RpPageList.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    // Qt warns of every damaged compressed picture, the expected answer to most inputs; a
    // million lines a minute would only slow the search.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray stored(reinterpret_cast<const char *>(data), qsizetype(size));
    std::unique_ptr<TRpPageList> list = TRpPageList::Open(stored, 1 << 20);
    if (!list)
        return 0;
    // A damaged count may claim millions of pages: a few at both ends are enough.
    const int count = list->Count();
    for (int n = 1; n <= count && n <= 6; ++n)
        list->GetPage(n);
    for (int n = count; n >= 1 && n > count - 6; --n)
        list->GetPage(n);
    list->GetPage(1);
    return 0;
}
