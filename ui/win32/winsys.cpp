// winsys.cpp: the system libraries the Win32 driver loads itself (see
// winsys.h for why): the restricted DLL search, comctl32's subclassing
// entries and winspool's default printer.
//
// Exports (ui/win32/winsys.h): RestrictDllSearch, LoadSystemLibrary,
// LoadCommonControls, WinSetSubclass, WinRemoveSubclass, WinDefSubclass,
// WinDefaultPrinter.
//
// comctl32 is no static import on purpose: a statically imported comctl32
// is resolved before main and pulls uxtheme.dll in with it, from the
// program's folder if one lies there, before any restriction can apply.
// Loaded by name after the restriction, it still comes from the side-by-side
// assembly the manifest names (the common controls 6): that redirection
// comes before the search of folders.
#include "ui/win32/winsys.h"

namespace uiwin {

// ------------------------------------------------------------------ state
// g_comctl*: comctl32's entries, set once by LoadCommonControls on the UI
//   thread before any window exists.
// g_getDefaultPrinter: winspool's, set at the first print (UI thread).
typedef BOOL(WINAPI *SetSubclassFn)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR);
typedef BOOL(WINAPI *RemoveSubclassFn)(HWND, SUBCLASSPROC, UINT_PTR);
typedef LRESULT(WINAPI *DefSubclassFn)(HWND, UINT, WPARAM, LPARAM);
typedef BOOL(WINAPI *InitCommonControlsExFn)(const INITCOMMONCONTROLSEX *);
typedef BOOL(WINAPI *GetDefaultPrinterFn)(LPWSTR, LPDWORD);
static SetSubclassFn g_comctlSetSubclass = nullptr;
static RemoveSubclassFn g_comctlRemoveSubclass = nullptr;
static DefSubclassFn g_comctlDefSubclass = nullptr;
static GetDefaultPrinterFn g_getDefaultPrinter = nullptr;

bool RestrictDllSearch() {
    static const bool restricted = SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) != 0;
    return restricted;
}

// Before main and before the library's other static constructors: nothing
// may load a DLL by name before the search is restricted.
__attribute__((constructor(101))) static void RestrictAtStart() { RestrictDllSearch(); }

HMODULE LoadSystemLibrary(const wchar_t *name) {
    return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// Entry `name` of `module`, or the one of `ordinal` (the common controls
// before version 6 export the subclassing entries by number only).
template <typename T>
static T Entry(HMODULE module, const char *name, int ordinal = 0) {
    FARPROC f = GetProcAddress(module, name);
    if (!f && ordinal) f = GetProcAddress(module, MAKEINTRESOURCEA(ordinal));
    return reinterpret_cast<T>(reinterpret_cast<void (*)(void)>(f));
}

bool LoadCommonControls() {
    if (g_comctlDefSubclass) return true;
    HMODULE m = LoadSystemLibrary(L"comctl32.dll");
    if (!m) return false;
    auto init = Entry<InitCommonControlsExFn>(m, "InitCommonControlsEx");
    auto set = Entry<SetSubclassFn>(m, "SetWindowSubclass", 410);
    auto remove = Entry<RemoveSubclassFn>(m, "RemoveWindowSubclass", 412);
    auto def = Entry<DefSubclassFn>(m, "DefSubclassProc", 413);
    if (!init || !set || !remove || !def) return false;
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    init(&icc);
    // The link control comes with the common controls 6 only: asked apart,
    // so that older ones still give the rest.
    icc.dwICC = ICC_LINK_CLASS;
    init(&icc);
    g_comctlSetSubclass = set;
    g_comctlRemoveSubclass = remove;
    g_comctlDefSubclass = def;
    return true;
}

BOOL WinSetSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data) {
    return g_comctlSetSubclass ? g_comctlSetSubclass(hwnd, proc, id, data) : FALSE;
}

BOOL WinRemoveSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id) {
    return g_comctlRemoveSubclass ? g_comctlRemoveSubclass(hwnd, proc, id) : FALSE;
}

LRESULT WinDefSubclass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return g_comctlDefSubclass ? g_comctlDefSubclass(hwnd, msg, wParam, lParam) : DefWindowProcW(hwnd, msg, wParam, lParam);
}

BOOL WinDefaultPrinter(wchar_t *name, DWORD *size) {
    if (!g_getDefaultPrinter) {
        HMODULE m = LoadSystemLibrary(L"winspool.drv");
        if (!m) return FALSE;
        g_getDefaultPrinter = Entry<GetDefaultPrinterFn>(m, "GetDefaultPrinterW");
        if (!g_getDefaultPrinter) return FALSE;
    }
    return g_getDefaultPrinter(name, size);
}

}  // namespace uiwin
