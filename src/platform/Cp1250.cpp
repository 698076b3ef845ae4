#include "Cp1250.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace platform {
namespace {

// The characters of bytes 0x80..0xFF; bytes below 0x80 are ASCII.
constexpr std::array<char16_t, 128> kUpperHalf = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, // 0x80
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179, // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 0x90
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, // 0x98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7, // 0xA0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, // 0xA8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, // 0xB0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, // 0xB8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, // 0xC0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, // 0xC8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, // 0xD0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, // 0xD8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, // 0xE0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, // 0xE8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, // 0xF0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9, // 0xF8
};

using Encoding = std::pair<char16_t, std::uint8_t>;

// The upper half sorted by character, for encoding by binary search.
constexpr std::array<Encoding, 128> kEncodings = [] {
    std::array<Encoding, 128> table{};
    for (std::size_t i = 0; i < table.size(); ++i)
        table[i] = {kUpperHalf[i], static_cast<std::uint8_t>(0x80 + i)};
    std::sort(table.begin(), table.end());
    return table;
}();

// The byte of a character, or nothing when the code page cannot hold it.
constexpr std::pair<bool, std::uint8_t> Encode(char16_t character) {
    if (character < 0x80)
        return {true, static_cast<std::uint8_t>(character)};
    const auto found =
        std::lower_bound(kEncodings.begin(), kEncodings.end(), Encoding{character, 0});
    if (found != kEncodings.end() && found->first == character)
        return {true, found->second};
    return {false, 0};
}

} // namespace

QByteArray ToCp1250(const QString &text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar character = text[i];
        const auto [held, byte] = Encode(character.unicode());
        bytes.append(held ? static_cast<char>(byte) : '?');
        // A character outside the basic plane is one character, held in two code units.
        if (character.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
    }
    return bytes;
}

QString FromCp1250(const QByteArray &bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<std::uint8_t>(bytes[i]);
        text[i] = QChar(byte < 0x80 ? char16_t(byte) : kUpperHalf[byte - 0x80]);
    }
    return text;
}

bool IsCp1250Encodable(QChar character) {
    return Encode(character.unicode()).first;
}

bool IsCp1250Encodable(const QString &text) {
    return std::all_of(text.begin(), text.end(),
                       [](QChar character) { return IsCp1250Encodable(character); });
}

} // namespace platform
