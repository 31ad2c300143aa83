// wintext.h: Windows-1252 text against the wide text of the W functions, for
// the Win32 driver. Always through the layer's own table
// (ui/core/textcodec.h), never through the PC's ANSI code page.
#ifndef VLIC_UI_WIN32_WINTEXT_H
#define VLIC_UI_WIN32_WINTEXT_H

#include <string>

namespace uiwin {

std::wstring WideFromAnsi(const char *s);            // null gives ""
std::string AnsiFromWide(const wchar_t *s, int n);   // n units; '?' for a character without a byte
std::wstring WideLabel(const char *raw);             // "__X" as the "&X" of button labels

}  // namespace uiwin

#endif
