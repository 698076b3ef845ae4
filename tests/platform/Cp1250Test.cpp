#include "platform/Cp1250.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>
#include <optional>
#include <set>

using namespace platform;

namespace {

// glibc's converter is an independent reading of the same code page.
class Iconv {
public:
    Iconv(const char *to, const char *from) : handle_(iconv_open(to, from)) {}
    ~Iconv() {
        if (ready())
            iconv_close(handle_);
    }
    Iconv(const Iconv &) = delete;
    Iconv &operator=(const Iconv &) = delete;
    bool ready() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    std::optional<QByteArray> convert(QByteArray in) {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        char out[8];
        char *inPtr = in.data();
        char *outPtr = out;
        size_t inLeft = size_t(in.size()), outLeft = sizeof out;
        if (iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1) || inLeft != 0)
            return std::nullopt;
        return QByteArray(out, outPtr - out);
    }

private:
    iconv_t handle_;
};

const std::set<int> kUnassigned = {0x81, 0x83, 0x88, 0x90, 0x98};

} // namespace

TEST(Cp1250, EveryByteDecodesAsGlibcDoesAndUnassignedOnesToTheirControlCharacter) {
    Iconv decoder("UTF-16LE", "CP1250");
    ASSERT_TRUE(decoder.ready());
    std::set<int> unassigned;
    for (int byte = 0; byte < 256; ++byte) {
        const QByteArray in(1, char(byte));
        const QString ours = FromCp1250(in);
        ASSERT_EQ(ours.size(), 1) << byte;
        const auto theirs = decoder.convert(in);
        if (!theirs) {
            unassigned.insert(byte);
            EXPECT_EQ(ours[0].unicode(), byte) << byte;
        } else {
            ASSERT_EQ(theirs->size(), 2) << byte;
            const auto unit = std::uint8_t((*theirs)[0]) | std::uint8_t((*theirs)[1]) << 8;
            EXPECT_EQ(ours[0].unicode(), unit) << byte;
        }
        EXPECT_EQ(ToCp1250(ours), in) << byte;
    }
    EXPECT_EQ(unassigned, kUnassigned);
}

TEST(Cp1250, EveryCharacterEncodesAsGlibcDoesOrBecomesQuestionMark) {
    Iconv encoder("CP1250", "UTF-16LE");
    ASSERT_TRUE(encoder.ready());
    int held = 0;
    for (int code = 0; code < 0x10000; ++code) {
        const char16_t unit = char16_t(code);
        const QChar character{unit};
        if (character.isSurrogate())
            continue;
        const auto theirs = encoder.convert(QByteArray(reinterpret_cast<const char *>(&unit), 2));
        const bool unassignedByte = kUnassigned.count(code) == 1;
        const QByteArray expected = theirs           ? *theirs
                                    : unassignedByte ? QByteArray(1, char(code))
                                                     : QByteArray("?");
        EXPECT_EQ(IsCp1250Encodable(character), theirs || unassignedByte) << code;
        EXPECT_EQ(ToCp1250(QString(character)), expected) << code;
        held += IsCp1250Encodable(character);
    }
    EXPECT_EQ(held, 256);
}

TEST(Cp1250, PolishLettersAreNotLatin2) {
    // These are where Windows-1250 and ISO-8859-2 differ; the others agree.
    const QString text = QString::fromUtf8("ĄąŚśŹźŁłŻżĆćĘęŃńÓó");
    const QByteArray bytes(
        "\xA5\xB9\x8C\x9C\x8F\x9F\xA3\xB3\xAF\xBF\xC6\xE6\xCA\xEA\xD1\xF1\xD3\xF3");
    EXPECT_EQ(ToCp1250(text), bytes);
    EXPECT_EQ(FromCp1250(bytes), text);
    EXPECT_TRUE(IsCp1250Encodable(text));
}

TEST(Cp1250, TextsTheCodePageCannotHold) {
    const struct {
        const char *utf8;
        QByteArray bytes;
        bool encodable;
    } cases[] = {
        {"", "", true},           {"WAW 12345", "WAW 12345", true}, {"Ω1", "?1", false},
        {"ą😀z", "\xB9?z", false}, // one character outside the basic plane, one question mark
        {"€ 5", "\x80 5", true},
    };
    for (const auto &c : cases) {
        const QString text = QString::fromUtf8(c.utf8);
        EXPECT_EQ(ToCp1250(text), c.bytes) << c.utf8;
        EXPECT_EQ(IsCp1250Encodable(text), c.encodable) << c.utf8;
    }
    const QString withZero = QString::fromUtf8("a\0b", 3);
    EXPECT_EQ(ToCp1250(withZero), QByteArray("a\0b", 3));
    EXPECT_EQ(FromCp1250(QByteArray("a\0b", 3)), withZero);
}
