// qttext.cpp: where Windows-1252 text meets Qt's Unicode, over the shared
// table of ui/core/textcodec.h.
//
// Exports (ui/qt/qtprivate.h): FromAnsi, ToAnsi, SameText,
// MnemonicToQt.
//
// Data model: a byte b of Windows-1252 stands for the code point
// cp1252::ToCodePoint(b) (see ui/core/textcodec.cpp, which converts for
// every driver). A code point outside those 256 has no byte; ToAnsi writes
// '?' for it (text the user typed that the catalogue cannot hold).
#include <cstring>
#include <string>

#include <QString>

#include "ui/core/textcodec.h"
#include "ui/cp1252.h"
#include "ui/qt/qtprivate.h"
#include "ui/userint.h"

namespace uiqt {

// State: none.

// The text of n bytes s (null s gives ""). Never fails.
QString FromAnsi(const char *s, qsizetype n) {
    if (!s || n <= 0) return QString();
    return QString::fromStdU16String(uicore::AnsiToUtf16(s, static_cast<std::size_t>(n)));
}

QString FromAnsi(const char *s) { return s ? FromAnsi(s, static_cast<qsizetype>(std::strlen(s))) : QString(); }

QString FromAnsi(const std::string &s) { return FromAnsi(s.data(), static_cast<qsizetype>(s.size())); }

// The bytes of a text; a character without a byte becomes '?', and a zero
// character is dropped (it would end the caller's string).
std::string ToAnsi(const QString &s) {
    return uicore::Utf16ToAnsi(reinterpret_cast<const char16_t *>(s.utf16()), static_cast<std::size_t>(s.size()));
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

// A label in the "__X" form as Qt's "&X" form.
QString MnemonicToQt(const std::string &raw) { return QString::fromStdU16String(uicore::MnemonicToAmpersand(raw)); }

}  // namespace uiqt
