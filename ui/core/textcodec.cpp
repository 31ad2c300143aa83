// textcodec.cpp: Windows-1252 text against UTF-16 and UTF-8, and the "__X"
// shortcut form of labels, shared by the drivers of the run-time layer.
//
// Exports (ui/core/textcodec.h): uicore::AnsiToUtf16, Utf16ToAnsi,
// HasMnemonic, MnemonicToAmpersand; (ui/userint.h): UiAnsiToUtf8.
//
// Data model: byte b stands for the code point cp1252::ToCodePoint(b), the
// table of the compile-time literals (ui/cp1252.h). The mapping is a
// bijection between the 256 bytes and 256 code points, so every byte string
// survives a trip through a toolkit's Unicode text unchanged.
//
// State: none.
#include "ui/core/textcodec.h"

#include <cstring>

#include "ui/cp1252.h"
#include "ui/userint.h"

namespace uicore {

std::u16string AnsiToUtf16(const char *s, std::size_t n) {
    std::u16string out;
    if (!s) return out;
    out.resize(n);
    for (std::size_t i = 0; i < n; ++i) out[i] = cp1252::ToCodePoint(static_cast<unsigned char>(s[i]));
    return out;
}

std::u16string AnsiToUtf16(const char *s) { return s ? AnsiToUtf16(s, std::strlen(s)) : std::u16string(); }

std::string Utf16ToAnsi(const char16_t *s, std::size_t n) {
    std::string out;
    out.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        if (s[i] == 0) continue;
        const int b = cp1252::FromCodePoint(s[i]);
        out.push_back(b < 0 ? '?' : static_cast<char>(b));
    }
    return out;
}

// Position of the shortcut marker "__X" in a label, or npos when it has none.
static std::size_t MarkerPos(const std::string &raw) {
    const std::size_t p = raw.find("__");
    return (p != std::string::npos && p + 2 < raw.size()) ? p : std::string::npos;
}

bool HasMnemonic(const std::string &raw) { return MarkerPos(raw) != std::string::npos; }

std::u16string MnemonicToAmpersand(const std::string &raw) {
    const std::size_t marker = MarkerPos(raw);
    std::u16string out;
    out.reserve(raw.size() + 4);
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (i == marker) {
            ++i;   // skip the second '_'; the letter follows
            if (raw[i + 1] == '&') {   // "__&": a literal '&', no shortcut
                out += u"&&";
                ++i;
            } else {
                out += u'&';
            }
            continue;
        }
        const char16_t c = cp1252::ToCodePoint(static_cast<unsigned char>(raw[i]));
        if (c == u'&') out += u"&&";
        else out += c;
    }
    return out;
}

}  // namespace uicore

// Windows-1252 to UTF-8. Returns the number of bytes written before the
// terminating zero, UIE_BAD_POINTER for a null argument or a size below 1,
// UIE_BUFFER_TOO_SMALL when the text was cut (at a character boundary).
int UiAnsiToUtf8(const char *in, char *out, int outSize) {
    if (!in || !out || outSize < 1) return UIE_BAD_POINTER;
    int o = 0;
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(in); *p; ++p) {
        const char16_t c = cp1252::ToCodePoint(*p);
        char buf[3];
        int n;
        if (c < 0x80) { buf[0] = static_cast<char>(c); n = 1; }
        else if (c < 0x800) {
            buf[0] = static_cast<char>(0xC0 | (c >> 6));
            buf[1] = static_cast<char>(0x80 | (c & 0x3F));
            n = 2;
        } else {
            buf[0] = static_cast<char>(0xE0 | (c >> 12));
            buf[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            buf[2] = static_cast<char>(0x80 | (c & 0x3F));
            n = 3;
        }
        if (o + n > outSize - 1) {
            out[o] = '\0';
            return UIE_BUFFER_TOO_SMALL;
        }
        std::memcpy(out + o, buf, static_cast<size_t>(n));
        o += n;
    }
    out[o] = '\0';
    return o;
}
