// cp1252.h: French text literals as Windows-1252 bytes, made at compile time.
//
// Our sources are UTF-8. Text inside the system is Windows-1252, as the
// catalogue file stores it, so a literal such as "Télécharger" must reach the
// run-time layer as the bytes 54 E9 6C E9 ... and not as UTF-8. Writing
//     "Télécharger"_cp1252
// converts the literal while compiling; the result is a const char* to a
// static, zero-terminated array. A character that Windows-1252 cannot hold,
// or a literal that is not valid UTF-8 (a compiler whose execution character
// set is not UTF-8: use /utf-8 with MSVC), fails the build instead of giving
// wrong bytes at run time. This is portable C++20: no compiler switch such as
// -fexec-charset is needed.
#ifndef VLIC_UI_CP1252_H
#define VLIC_UI_CP1252_H

#include <cstddef>

namespace cp1252 {

// The literal as the compiler stores it (UTF-8), usable as a template argument.
template <std::size_t N>
struct Utf8Literal {
    char bytes[N];
    consteval Utf8Literal(const char (&s)[N]) {
        for (std::size_t i = 0; i < N; ++i) bytes[i] = s[i];
    }
};

// Unicode code points of the bytes 0x80..0x9F, where Windows-1252 differs
// from Latin-1. The five bytes Windows-1252 leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) stand for the C1 control of the same number, so that
// every byte value has a code point and every text round-trips through
// Unicode. The run-time layer converts with this same table.
inline constexpr char16_t kHighTable[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Code point of a Windows-1252 byte.
constexpr char16_t ToCodePoint(unsigned char b) {
    return (b >= 0x80 && b < 0xA0) ? kHighTable[b - 0x80] : static_cast<char16_t>(b);
}

// Windows-1252 code of a Unicode code point, or -1 when it has none.
constexpr int FromCodePoint(unsigned cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (int i = 0; i < 32; ++i)
        if (kHighTable[i] == cp) return 0x80 + i;
    return -1;
}

template <std::size_t N>
struct Converted {
    char text[N] = {};
};

template <std::size_t N>
consteval Converted<N> Convert(const char (&s)[N]) {
    Converted<N> out{};
    std::size_t o = 0;
    for (std::size_t i = 0; i + 1 < N;) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        unsigned cp = 0;
        int extra = 0;
        if (c < 0x80) { cp = c; extra = 0; }
        else if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; extra = 1; }
        else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; extra = 2; }
        else if ((c & 0xF8) == 0xF0) { cp = c & 0x07; extra = 3; }
        else throw "literal is not valid UTF-8";
        if (i + 1 + extra > N - 1) throw "literal ends inside a UTF-8 sequence";
        for (int k = 1; k <= extra; ++k) {
            const unsigned char cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80) throw "literal is not valid UTF-8";
            cp = (cp << 6) | (cc & 0x3F);
        }
        const int b = FromCodePoint(cp);
        if (b < 0) throw "character has no Windows-1252 code";
        out.text[o++] = static_cast<char>(b);
        i += 1 + extra;
    }
    out.text[o] = '\0';
    return out;
}

template <Utf8Literal S>
inline constexpr Converted<sizeof(S.bytes)> kConverted = Convert(S.bytes);

}  // namespace cp1252

// "Télécharger"_cp1252: the literal's Windows-1252 bytes, zero-terminated.
template <cp1252::Utf8Literal S>
constexpr const char *operator""_cp1252() {
    return cp1252::kConverted<S>.text;
}

#endif
