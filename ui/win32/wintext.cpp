// wintext.cpp: Windows-1252 text for the W functions of the Win32 driver.
//
// Exports (ui/win32/wintext.h): uiwin::WideFromAnsi, AnsiFromWide, WideLabel.
//
// Data model: wchar_t is a UTF-16 unit on Windows, so the shared codec's
// UTF-16 is the W functions' text as it is. State: none.
#include "ui/win32/wintext.h"

#include "ui/core/textcodec.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the W functions take UTF-16 units");

namespace uiwin {

static std::wstring Wide(const std::u16string &text) { return std::wstring(text.begin(), text.end()); }

std::wstring WideFromAnsi(const char *s) { return Wide(uicore::AnsiToUtf16(s)); }

std::string AnsiFromWide(const wchar_t *s, int n) {
    if (!s || n <= 0) return std::string();
    return uicore::Utf16ToAnsi(reinterpret_cast<const char16_t *>(s), static_cast<std::size_t>(n));
}

std::wstring WideLabel(const char *raw) { return Wide(uicore::MnemonicToAmpersand(raw ? raw : "")); }

}  // namespace uiwin
