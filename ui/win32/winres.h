// winres.h: the program's folder, and the resource files the Win32
// driver finds inside the executable.
#ifndef VLIC_UI_WIN32_WINRES_H
#define VLIC_UI_WIN32_WINRES_H

#include <string>

namespace uiwin {

// The driver's carriedFile entry: the bytes of the executable's own
// resource named `file` in capitals, of type "UIRFILETYPE"; false when it
// carries none.
bool WinCarriedFile(const char *file, std::string *bytes);

// The program's folder (of GetModuleFileNameW), without a final
// backslash. 0 on success; UIE_SYSTEM when Windows does
// not give it or it does not fit a full path.
int ProgramFolder(std::wstring *folder);

// The driver's folder entries (uicore::Driver): that folder whole, and
// SetCurrentDirectoryW of a folder whole.
int WinProgramFolder(std::u16string *folder);
bool WinSetCurrentFolder(const std::u16string &folder);

}  // namespace uiwin

#endif
