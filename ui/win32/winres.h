// winres.h: where the Win32 backend finds a panel resource file by name.
#ifndef VLIC_UI_WIN32_WINRES_H
#define VLIC_UI_WIN32_WINRES_H

#include <string>

namespace uiwin {

// The bytes of the resource file `file` ("FVLicEnr.uir"): the executable's
// own resource of that name in capitals and of type "UIRFILETYPE" when it
// carries one, else the file in the program's folder, else the file as
// named (from the current folder). 0 on success; UIE_BAD_POINTER for a null argument,
// UIE_FILE_NOT_FOUND when none of the three has it or it cannot be read.
int ReadResourceFile(const char *file, std::string *bytes);

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
