// winres.cpp: finds the panel resource files of the Win32 backend. A file
// that travels inside the executable is a Win32 resource named after it in
// capitals, of type "UIRFILETYPE" ("FVLicEnr.uir" is "FVLICENR.UIR"); the
// others lie beside the program ("FenGen.uir") and are read from its
// folder, whatever the current one.
//
// Exports (ui/win32/winres.h): uiwin::ReadResourceFile, ProgramFolder, and
// the driver's folder entries WinProgramFolder, WinSetCurrentFolder.
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

// The whole file at path; false when it cannot be opened or read.
static bool FromFile(const std::wstring &path, std::string *bytes) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(f, &size) && size.QuadPart < 0x40000000;
    if (ok) {
        bytes->resize(static_cast<size_t>(size.QuadPart));
        DWORD got = 0;
        ok = ReadFile(f, bytes->data(), static_cast<DWORD>(bytes->size()), &got, nullptr) &&
             got == bytes->size();
    }
    CloseHandle(f);
    return ok;
}

int ReadResourceFile(const char *file, std::string *bytes) {
    if (!file || !bytes) return UIE_BAD_POINTER;
    if (!*file) return UIE_FILE_NOT_FOUND;
    const std::wstring name = WideFromAnsi(file);
    std::wstring upper = name;
    for (wchar_t &c : upper) c = static_cast<wchar_t>(std::towupper(c));
    if (FromExecutable(upper, bytes)) return 0;
    // The program's folder before the current one: started from another
    // folder (a pupil's, which he may write to), the program must not take
    // a file of the same name lying there. The name as given comes last, for
    // a full path.
    std::wstring folder;
    if (ProgramFolder(&folder) == 0 && FromFile(folder + L"\\" + name, bytes)) return 0;
    if (FromFile(name, bytes)) return 0;
    return UIE_FILE_NOT_FOUND;
}

}  // namespace uiwin
