// uitext.cpp: the one place where Windows-1252 text meets Qt's Unicode.
//
// Exports (ui/uiprivate.h): FromAnsi, ToAnsi, CopyOut, MnemonicToQt,
// HasMnemonic; (ui/userint.h): UiAnsiToUtf8.
//
// Data model: a byte b of Windows-1252 stands for the code point
// cp1252::ToCodePoint(b), the table shared with the compile-time literals of
// ui/cp1252.h. The mapping is a bijection between the 256 bytes and 256 code
// points (the five bytes Windows-1252 leaves undefined map to the C1 controls
// of the same number), so every byte string survives a trip through a Qt
// widget unchanged. A code point outside those 256 has no byte; ToAnsi
// writes '?' for it (text the user typed that the catalogue cannot hold).
#include <cstring>

#include <QString>

#include "ui/cp1252.h"
#include "ui/uiprivate.h"
#include "ui/userint.h"

namespace uirt {

// State: none. The table lives in ui/cp1252.h; the way back from a code
// point to its byte searches its 32 entries, which happens only for the few
// characters outside Latin-1.

// Byte of a code point, or -1 when Windows-1252 has none.
static int ByteOf(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
    for (int i = 0; i < 32; ++i)
        if (cp1252::kHighTable[i] == c) return 0x80 + i;
    return -1;
}

// The text of n bytes s (null s gives ""). Never fails.
QString FromAnsi(const char *s, qsizetype n) {
    QString out;
    if (!s || n <= 0) return out;
    out.resize(n);
    QChar *d = out.data();
    for (qsizetype i = 0; i < n; ++i)
        d[i] = QChar(cp1252::ToCodePoint(static_cast<unsigned char>(s[i])));
    return out;
}

QString FromAnsi(const char *s) { return s ? FromAnsi(s, static_cast<qsizetype>(std::strlen(s))) : QString(); }

// The bytes of a text; a character without a byte becomes '?', and a zero
// character is dropped (it would end the caller's string).
QByteArray ToAnsi(const QString &s) {
    QByteArray out;
    out.reserve(s.size());
    for (QChar c : s) {
        if (c.unicode() == 0) continue;
        const int b = ByteOf(c.unicode());
        out.append(b < 0 ? '?' : static_cast<char>(b));
    }
    return out;
}

// True when the text and the bytes say the same, compared without building
// either conversion (the panel loops set the same texts every turn).
bool SameText(const QString &s, const char *bytes) {
    const qsizetype n = static_cast<qsizetype>(std::strlen(bytes));
    if (s.size() != n) return false;
    const QChar *d = s.constData();
    for (qsizetype i = 0; i < n; ++i)
        if (d[i].unicode() != cp1252::ToCodePoint(static_cast<unsigned char>(bytes[i]))) return false;
    return true;
}

// Copies bytes and a terminating zero into out (room bytes). Returns 0, or
// UIE_BUFFER_TOO_SMALL when the text was cut to room - 1 bytes.
int CopyOut(const QByteArray &bytes, char *out, int room) {
    if (room <= 0) return UIE_BUFFER_TOO_SMALL;
    const qsizetype n = bytes.size() < room ? bytes.size() : room - 1;
    std::memcpy(out, bytes.constData(), static_cast<size_t>(n));
    out[n] = '\0';
    return n == bytes.size() ? 0 : UIE_BUFFER_TOO_SMALL;
}

// Position of the shortcut marker "__X" in a label, or -1 when it has none.
// Only the first marker counts; a marker at the very end marks nothing.
static qsizetype MarkerPos(const QByteArray &raw) {
    const qsizetype p = raw.indexOf("__");
    return (p >= 0 && p + 2 < raw.size()) ? p : -1;
}

bool HasMnemonic(const QByteArray &raw) { return MarkerPos(raw) >= 0; }

// A label in the "__X" form as Qt's "&X" form: the marker becomes '&', a
// literal '&' becomes "&&" so that Qt draws it as it is.
QString MnemonicToQt(const QByteArray &raw) {
    const qsizetype marker = MarkerPos(raw);
    QString out;
    out.reserve(raw.size() + 4);
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (i == marker) {
            ++i;   // skip the second '_'; the letter follows
            if (raw[i + 1] == '&') {  // "__&": a literal '&', no shortcut
                out += u"&&";
                ++i;
            } else {
                out += u'&';
            }
            continue;
        }
        const char16_t c = cp1252::ToCodePoint(static_cast<unsigned char>(raw[i]));
        if (c == u'&') out += u"&&";
        else out += QChar(c);
    }
    return out;
}

}  // namespace uirt

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
