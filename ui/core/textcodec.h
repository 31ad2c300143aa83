// textcodec.h: Windows-1252 text against Unicode, for every driver of the
// run-time layer. Text inside the system is Windows-1252 bytes; a driver
// hands its toolkit UTF-16 and takes UTF-16 back, always through this table
// (ui/cp1252.h), never through a code page of the operating system, so that
// a PC set to another ANSI code page shows the same letters.
//
// Exports: uicore::AnsiToUtf16, Utf16ToAnsi, HasMnemonic,
// MnemonicToAmpersand; UiAnsiToUtf8 of ui/userint.h is defined with them.
#ifndef VLIC_UI_CORE_TEXTCODEC_H
#define VLIC_UI_CORE_TEXTCODEC_H

#include <cstddef>
#include <string>

namespace uicore {

// The UTF-16 text of n Windows-1252 bytes (null s gives ""). Never fails:
// every byte has a code point, the five bytes the code page leaves undefined
// the C1 control of the same number.
std::u16string AnsiToUtf16(const char *s, std::size_t n);
std::u16string AnsiToUtf16(const char *s);   // zero-terminated

// The Windows-1252 bytes of n UTF-16 units; a character without a byte
// becomes '?', and a zero unit is dropped (it would end the caller's string).
std::string Utf16ToAnsi(const char16_t *s, std::size_t n);

// True when a label in the "__X" form marks a shortcut letter: only the
// first "__" counts, and one at the very end marks nothing.
bool HasMnemonic(const std::string &raw);

// A label in the "__X" form in the "&X" form that both Qt and Win32 draw:
// the marker becomes '&', a literal '&' becomes "&&" ("__&" is a literal
// '&' and no shortcut).
std::u16string MnemonicToAmpersand(const std::string &raw);

}  // namespace uicore

#endif
