// winres.cpp: the program's folder, and the panel resource files the
// program carries: a file that travels inside the executable is a Win32
// resource named after it in capitals, of type "UIRFILETYPE"
// ("FVLicEnr.uir" is "FVLICENR.UIR"). The others lie beside the program
// ("FenGen.uir"); the core reads those.
//
// Exports (ui/win32/winres.h): ProgramFolder, and the driver's entries
// WinProgramFolder, WinSetCurrentFolder, WinCarriedFile.
//
// State: none; every call looks again (panels are loaded at each opening,
// and a resource costs no copy until then).
#include "ui/win32/winres.h"

#include <windows.h>

#include <cwctype>

#include "ui/userint.h"
#include "ui/win32/wintext.h"

namespace uiwin {

// The path may be longer than MAX_PATH (a long-path aware system): the
// buffer grows until the whole path fits, up to the longest Windows has.
int ProgramFolder(std::wstring *folder) {
    std::wstring full(MAX_PATH + 1, L'\0');
    DWORD n = 0;
    for (;;) {
        n = GetModuleFileNameW(nullptr, full.data(), static_cast<DWORD>(full.size()));
        if (n == 0) return UIE_SYSTEM;
        if (n < full.size()) break;
        if (full.size() >= 32768) return UIE_SYSTEM;
        full.resize(full.size() * 4);
    }
    full.resize(n);
    const size_t slash = full.find_last_of(L"\\/");
    *folder = slash == std::wstring::npos ? std::wstring(L".") : full.substr(0, slash);
    return 0;
}

// The driver's entries: the folder whole, as Windows names it.
int WinProgramFolder(std::u16string *folder) {
    std::wstring wide;
    if (ProgramFolder(&wide) != 0) return UIE_SYSTEM;
    folder->assign(wide.begin(), wide.end());
    return 0;
}

bool WinSetCurrentFolder(const std::u16string &folder) {
    const std::wstring wide(folder.begin(), folder.end());
    return SetCurrentDirectoryW(wide.c_str()) != 0;
}

// The executable's resource `name` of type UIRFILETYPE; false when it has none.
static bool FromExecutable(const std::wstring &name, std::string *bytes) {
    HRSRC found = FindResourceW(nullptr, name.c_str(), L"UIRFILETYPE");
    if (!found) return false;
    HGLOBAL loaded = LoadResource(nullptr, found);
    const DWORD size = SizeofResource(nullptr, found);
    const void *data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return false;
    bytes->assign(static_cast<const char *>(data), size);
    return true;
}

bool WinCarriedFile(const char *file, std::string *bytes) {
    std::wstring name = WideFromAnsi(file);
    for (wchar_t &c : name) c = static_cast<wchar_t>(std::towupper(c));
    return FromExecutable(name, bytes);
}

}  // namespace uiwin
