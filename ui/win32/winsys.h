// winsys.h: the system libraries the Win32 driver loads itself, from the
// system folder only, and what it calls in them.
//
// A DLL that is not one of Windows' known DLLs is looked for in the
// program's folder first, and that folder is often one pupils can write to
// (a shared folder, Downloads). So the program imports statically only
// known DLLs (kernel32, user32, gdi32, ole32, advapi32, msvcrt), restricts
// the search to the system folder before anything else runs, and loads the
// others (comctl32, winspool, shell32) by LoadLibraryExW from the system
// folder, at the moment it needs them.
#ifndef VLIC_UI_WIN32_WINSYS_H
#define VLIC_UI_WIN32_WINSYS_H

#include <windows.h>
#include <commctrl.h>

namespace uiwin {

// Restricts the DLL search of the whole process to the system folder. Runs
// by itself before main (and before any other static constructor of the
// library); calling it again does nothing. True when Windows took it.
bool RestrictDllSearch();

// The system library `name` loaded from the system folder, or null.
HMODULE LoadSystemLibrary(const wchar_t *name);

// comctl32: loaded and initialised by WinStart (the common controls 6 of
// the program's manifest). False when it does not load or lacks an entry.
bool LoadCommonControls();
BOOL WinSetSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data);
BOOL WinRemoveSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id);
LRESULT WinDefSubclass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// winspool, loaded at the first print: the default printer's name, as
// GetDefaultPrinterW. FALSE also when winspool cannot be loaded.
BOOL WinDefaultPrinter(wchar_t *name, DWORD *size);

}  // namespace uiwin

#endif
