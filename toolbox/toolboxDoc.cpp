// toolboxDoc.cpp: document opening. Hands a document path or a web address
// to the desktop, which opens it with the application registered for it (the
// default web browser for an address). Nothing is downloaded or shown here.
//
// Exports (toolbox/toolbox.h): OpenDocumentInDefaultViewer,
// OpenDocumentInDefaultViewerAnsi, OpenDocumentInDefaultViewerUtf8 and the
// inner OpenDocumentInDefaultViewer_ they all call. Each returns 0 once the
// desktop has accepted the request, or a negative status of toolbox.h.
//
// Data model:
// - The document text is first converted to UTF-16 into a buffer of 261
//   units (260 and the terminating zero): Windows-1252, the system's own
//   text, for the plain and Ansi forms, by the program's own table on every
//   Windows code page (the PC's ANSI code page, Russian's 1251 or Chinese's
//   936, would turn "É" of an address into another letter); UTF-8 for the
//   Utf8 form. A text that does not fit, or holds bytes that are not valid
//   in its encoding, gives -14 and nothing is opened.
// - On Windows the shell's ShellExecuteExW does the opening. shell32.dll is
//   loaded from the system folder at the first call, under a per-process
//   named mutex, and its entry
//   points are kept for the life of the process (the shell state below).
//   As Windows asks of ShellExecuteExW's callers, COM is initialised on the
//   calling thread (the user-interface thread: there is no other) before
//   the first opening, apartment-threaded without OLE1 DDE, and released at
//   exit; the request waits for the shell to finish (SEE_MASK_NOASYNC), and
//   the wait cursor shows meanwhile.
// - Elsewhere GIO stands in for the shell. The text is classified the way
//   the Windows shell reads it: a text beginning with "www." that names no
//   existing file is a web address (opened as https://...), a text beginning
//   with a URI scheme is that URI, anything else is a local path, opened as
//   the file:// URI of its absolute form. No shell ever sees the text: GIO
//   parses the handler's Exec line itself and starts it with an argument
//   vector. GIO starts the handler through an intermediate child that it
//   reaps at once, so the handler is never our child and leaves no zombie.
//   GIO (and GObject under it) is loaded at the first opening, as shell32.dll
//   is on Windows: most runs open nothing, and loading it at start-up costs
//   milliseconds and a megabyte. GLib itself is already there (the toolkit
//   runs on it) and is called directly.
//
// Window modes: 1 minimised, 2 maximised, 0 and every other value a normal
// window. On Windows they become the shell's show command; GIO has no such
// notion, so there the application decides how it shows itself.

#include "toolbox/toolbox.h"

#include "ui/cp1252.h"

#include <cassert>
#include <cstddef>
#include <cstring>

#ifdef _WIN32
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#else
#include <gio/gio.h>
#include <glib/gstdio.h>

#include <atomic>
#include <cerrno>
#include <mutex>
#include <string>

#include <dlfcn.h>
#include <unistd.h>
#endif

namespace {

// Room for the converted text: 260 characters and the terminating zero.
constexpr int kDocWideUnits = 261;

}  // namespace

// Converts zero-terminated Windows-1252 `text` to UTF-16 in `wide` (units
// of char16_t, or of wchar_t on Windows), with its terminating zero. The
// five bytes the code page leaves undefined become the C1 control of the
// same number, as Windows' own conversion of code page 1252 does. Returns
// 0, or -14 when it needs more than kDocWideUnits.
template <typename Unit>
static int DocCp1252ToUtf16(const char *text, Unit *wide) {
    int n = 0;
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(text);; ++p) {
        if (n == kDocWideUnits) return ToolErr_TextNotConvertible;
        wide[n++] = static_cast<Unit>(cp1252::ToCodePoint(*p));
        if (*p == 0) return 0;
    }
}

#ifdef _WIN32
// ===================================================================== Windows

// ---- Shell state, per process, set once.
// gDocShellLoaded: 0 until shell32.dll is loaded and all six entry points
//   below are known, then 1 for the life of the process. Set only under the
//   named mutex, after the handle and pointers are stored (release); read
//   without the mutex by every later call (acquire), which then sees them.
// gDocShell32: the module handle of shell32.dll while loaded, else null.
// gDoc<EntryPoint>: the entry points, looked up together in this order; null
//   until loaded. Only ShellExecuteExW serves document opening; the others
//   are kept for the toolbox pieces that use the shell's drag-and-drop and
//   notification area.
typedef UINT(WINAPI *DocDragQueryFileW)(HDROP, UINT, LPWSTR, UINT);
typedef BOOL(WINAPI *DocDragQueryPoint)(HDROP, LPPOINT);
typedef void(WINAPI *DocDragAcceptFiles)(HWND, BOOL);
typedef void(WINAPI *DocDragFinish)(HDROP);
typedef BOOL(WINAPI *DocShellNotifyIconW)(DWORD, PNOTIFYICONDATAW);
typedef BOOL(WINAPI *DocShellExecuteExW)(SHELLEXECUTEINFOW *);

static std::atomic<int> gDocShellLoaded{0};
static HMODULE gDocShell32 = nullptr;
static DocDragQueryFileW gDocDragQueryFileW = nullptr;
static DocDragQueryPoint gDocDragQueryPoint = nullptr;
static DocDragAcceptFiles gDocDragAcceptFiles = nullptr;
static DocDragFinish gDocDragFinish = nullptr;
static DocShellNotifyIconW gDocShellNotifyIconW = nullptr;
static DocShellExecuteExW gDocShellExecuteExW = nullptr;
// gDocComReady: COM initialised on the user-interface thread (once, at the
//   first opening; released at exit when this module initialised it).
// gDocSeam: the tests' stand-in for ShellExecuteExW, or null.
static bool gDocComReady = false;
static DocShellExecuteSeam gDocSeam = nullptr;

void DocSetShellExecuteSeam(DocShellExecuteSeam seam) { gDocSeam = seam; }

static void DocComRelease() { CoUninitialize(); }

// COM for the shell's handlers (a browser may be registered through one).
// A thread that already runs COM in another mode is left as it is: the
// shell then works with that.
static void DocComInit() {
    if (gDocComReady) return;
    gDocComReady = true;
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    if (SUCCEEDED(hr)) std::atexit(DocComRelease);   // S_FALSE too: every success is paired
}

// Entry point `name` of `module` as a pointer of type T, or null when the
// module has none.
template <typename T>
static T DocEntryPoint(HMODULE module, const char *name) {
    // Through the generic function pointer type: the entry point has its own.
    return reinterpret_cast<T>(reinterpret_cast<void (*)(void)>(GetProcAddress(module, name)));
}

// Makes sure the shell state is loaded. 0 when it is (at once after the
// first success);
// -5093 when the mutex cannot be made or shell32.dll does not load; -5094
// when one of the entry points is missing (the library is freed again). A
// failed load is tried again at the next call.
static int DocLoadShell(void) {
    if (gDocShellLoaded.load(std::memory_order_acquire)) return 0;

    char name[96];
    std::snprintf(name, sizeof name, "Toolbox library lock on SHELL32.DLL handle - %d",
                  static_cast<int>(GetCurrentProcessId()));
    HANDLE mutex = CreateMutexA(nullptr, FALSE, name);
    if (!mutex) return ToolErr_CouldNotLoadDLL;
    const DWORD waited = WaitForSingleObject(mutex, INFINITE);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        CloseHandle(mutex);
        return ToolErr_CouldNotLoadDLL;
    }

    int status = 0;
    if (!gDocShellLoaded.load(std::memory_order_acquire)) {
        // From the system folder only, never from the program's (which
        // pupils may be able to write to). No isolation-aware wrapper is
        // needed for the manifest's assemblies to apply: the process's
        // activation context, made from the manifest, redirects the load by
        // itself (and mingw-w64's headers have no such wrappers anyway).
        HMODULE module = LoadLibraryExW(L"shell32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (!module) {
            status = ToolErr_CouldNotLoadDLL;
        } else {
            DocDragQueryFileW dragQueryFileW = nullptr;
            DocDragQueryPoint dragQueryPoint = nullptr;
            DocDragAcceptFiles dragAcceptFiles = nullptr;
            DocDragFinish dragFinish = nullptr;
            DocShellNotifyIconW shellNotifyIconW = nullptr;
            DocShellExecuteExW shellExecuteExW = nullptr;
            // In this order, stopping at the first that is missing.
            dragQueryFileW = DocEntryPoint<DocDragQueryFileW>(module, "DragQueryFileW");
            if (dragQueryFileW)
                dragQueryPoint = DocEntryPoint<DocDragQueryPoint>(module, "DragQueryPoint");
            if (dragQueryPoint)
                dragAcceptFiles = DocEntryPoint<DocDragAcceptFiles>(module, "DragAcceptFiles");
            if (dragAcceptFiles) dragFinish = DocEntryPoint<DocDragFinish>(module, "DragFinish");
            if (dragFinish)
                shellNotifyIconW = DocEntryPoint<DocShellNotifyIconW>(module, "Shell_NotifyIconW");
            if (shellNotifyIconW)
                shellExecuteExW = DocEntryPoint<DocShellExecuteExW>(module, "ShellExecuteExW");
            const bool all = shellExecuteExW != nullptr;
            if (!all) {
                FreeLibrary(module);
                gDocShell32 = nullptr;
                status = ToolErr_FuncNotFound;
            } else {
                gDocShell32 = module;
                gDocDragQueryFileW = dragQueryFileW;
                gDocDragQueryPoint = dragQueryPoint;
                gDocDragAcceptFiles = dragAcceptFiles;
                gDocDragFinish = dragFinish;
                gDocShellNotifyIconW = shellNotifyIconW;
                gDocShellExecuteExW = shellExecuteExW;
                gDocShellLoaded.store(1, std::memory_order_release);
            }
        }
    }
    ReleaseMutex(mutex);
    CloseHandle(mutex);
    return status;
}

// The shell's show command for a window mode: SW_SHOWMINIMIZED for 1,
// SW_SHOWMAXIMIZED for 2, SW_SHOWNORMAL for 0 and every other value.
static int DocShowCommand(int windowMode) {
    switch (windowMode) {
    case 1: return SW_SHOWMINIMIZED;
    case 2: return SW_SHOWMAXIMIZED;
    default: return SW_SHOWNORMAL;
    }
}

// The status for the shell's error number (a failed request's instance
// result): -94, -95, -12, -5096, -5093, or -5095 for any other.
static int DocShellErrorStatus(int shellError) {
    switch (shellError) {
    case SE_ERR_FNF:
    case SE_ERR_PNF: return UIEFileNotFound;
    case SE_ERR_ACCESSDENIED:
    case SE_ERR_SHARE: return UIEAccessDenied;
    case SE_ERR_OOM: return UIEOutOfMemory;
    case SE_ERR_ASSOCINCOMPLETE:
    case SE_ERR_NOASSOC: return ToolErr_NoAssocApp;
    case SE_ERR_DLLNOTFOUND: return ToolErr_CouldNotLoadDLL;
    default: return ToolErr_UnknownSystemError;
    }
}

int OpenDocumentInDefaultViewer_(const char *document, int windowMode, int utf8) {
    wchar_t wide[kDocWideUnits];
    if (!document) return ToolErr_TextNotConvertible;
    if (utf8) {
        if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, document, -1, wide, kDocWideUnits) == 0)
            return ToolErr_TextNotConvertible;
    } else if (DocCp1252ToUtf16(document, wide) < 0) {
        return ToolErr_TextNotConvertible;
    }

    // All zero but these; 60 bytes in a 32-bit build. No parameters, no
    // folder, no parent window; the shell shows no error dialog of its own
    // and returns once it has handed the text on.
    SHELLEXECUTEINFOW request;
    std::memset(&request, 0, sizeof request);
    request.cbSize = sizeof request;
    request.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    request.lpVerb = L"open";
    request.lpFile = wide;
    request.nShow = DocShowCommand(windowMode);

    const int loaded = DocLoadShell();
    if (loaded < 0) return loaded;
    DocComInit();
    // The shell may take seconds (a browser starting): the wait cursor says
    // so. Without the run-time (a command-line use) these do nothing.
    const int waiting = GetWaitCursorState() == 1;
    if (!waiting) SetWaitCursor(1);
    const BOOL opened = gDocSeam ? gDocSeam(&request) : gDocShellExecuteExW(&request);
    if (!waiting) SetWaitCursor(0);
    if (opened) return 0;
    return DocShellErrorStatus(static_cast<int>(reinterpret_cast<INT_PTR>(request.hInstApp)));
}

#else
// ======================================================== Other desktops: GIO
//
// ---- GIO state, per process, set once. GIO keeps its own besides (the
// registered applications, watched for changes on disk).
// gDocGioLoaded: set once every entry point of gDocGio is there; read
//   without the lock, written under it.
// gDocGioLock: serialises the loading, which a failure leaves to the next
//   call.
// gDocGio: GIO's entry points this module uses, by their GIO names. The
//   library is never unloaded: GObject's types cannot be.
struct DocGioEntries {
    decltype(&g_app_info_launch_default_for_uri) launchDefaultForUri;
    decltype(&g_app_info_get_default_for_type) defaultForType;
    decltype(&g_app_info_get_default_for_uri_scheme) defaultForUriScheme;
    decltype(&g_file_new_for_path) fileNewForPath;
    decltype(&g_file_new_for_uri) fileNewForUri;
    decltype(&g_file_get_path) fileGetPath;
    decltype(&g_file_get_uri) fileGetUri;
    decltype(&g_file_query_info) fileQueryInfo;
    decltype(&g_file_info_get_content_type) fileInfoGetContentType;
    decltype(&g_io_error_quark) ioErrorQuark;
    decltype(&g_object_unref) objectUnref;
};
static std::atomic<bool> gDocGioLoaded{false};
static std::mutex gDocGioLock;
static DocGioEntries gDocGio;

// Looks up `name` in `library` into `entry`. True when found.
template <typename F>
static bool DocGioLookUp(void *library, const char *name, F *entry) {
    *entry = reinterpret_cast<F>(dlsym(library, name));
    return *entry != nullptr;
}

// Makes sure GIO is loaded. 0 once it is; -5093 when the library does not
// load, -5094 when one of its entry points is missing (the library is then
// let go, and the next call tries again).
static int DocLoadGio() {
    if (gDocGioLoaded.load(std::memory_order_acquire)) return 0;
    std::lock_guard<std::mutex> hold(gDocGioLock);
    if (gDocGioLoaded.load(std::memory_order_relaxed)) return 0;
    void *gio = dlopen("libgio-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!gio) return ToolErr_CouldNotLoadDLL;
    DocGioEntries e{};
    // g_object_unref is GObject's, found through GIO's own dependencies.
    const bool all = DocGioLookUp(gio, "g_app_info_launch_default_for_uri", &e.launchDefaultForUri) &&
                     DocGioLookUp(gio, "g_app_info_get_default_for_type", &e.defaultForType) &&
                     DocGioLookUp(gio, "g_app_info_get_default_for_uri_scheme", &e.defaultForUriScheme) &&
                     DocGioLookUp(gio, "g_file_new_for_path", &e.fileNewForPath) &&
                     DocGioLookUp(gio, "g_file_new_for_uri", &e.fileNewForUri) &&
                     DocGioLookUp(gio, "g_file_get_path", &e.fileGetPath) &&
                     DocGioLookUp(gio, "g_file_get_uri", &e.fileGetUri) &&
                     DocGioLookUp(gio, "g_file_query_info", &e.fileQueryInfo) &&
                     DocGioLookUp(gio, "g_file_info_get_content_type", &e.fileInfoGetContentType) &&
                     DocGioLookUp(gio, "g_io_error_quark", &e.ioErrorQuark) &&
                     DocGioLookUp(gio, "g_object_unref", &e.objectUnref);
    if (!all) {
        dlclose(gio);
        return ToolErr_FuncNotFound;
    }
    gDocGio = e;
    gDocGioLoaded.store(true, std::memory_order_release);
    return 0;
}

// Converts zero-terminated UTF-8 `text` to UTF-16 in `wide`, with its
// terminating zero. Returns 0, or -14 when the text is not well-formed UTF-8
// (stray or missing continuation bytes, overlong forms, surrogates, values
// past U+10FFFF) or needs more than kDocWideUnits.
static int DocUtf8ToUtf16(const char *text, char16_t *wide) {
    const unsigned char *p = reinterpret_cast<const unsigned char *>(text);
    int n = 0;
    for (;;) {
        const unsigned char c = *p++;
        char32_t cp;
        int extra;
        unsigned char low = 0x80, high = 0xBF;   // allowed range of the second byte
        if (c < 0x80) { cp = c; extra = 0; }
        else if (c >= 0xC2 && c <= 0xDF) { cp = c & 0x1F; extra = 1; }
        else if (c >= 0xE0 && c <= 0xEF) {
            cp = c & 0x0F; extra = 2;
            if (c == 0xE0) low = 0xA0;        // overlong
            if (c == 0xED) high = 0x9F;       // surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            cp = c & 0x07; extra = 3;
            if (c == 0xF0) low = 0x90;        // overlong
            if (c == 0xF4) high = 0x8F;       // past U+10FFFF
        } else {
            return ToolErr_TextNotConvertible;
        }
        for (int k = 0; k < extra; ++k) {
            const unsigned char cc = *p++;
            if (cc < (k == 0 ? low : 0x80) || cc > (k == 0 ? high : 0xBF))
                return ToolErr_TextNotConvertible;   // the terminating zero fails here too
            cp = (cp << 6) | (cc & 0x3F);
        }
        const int units = cp >= 0x10000 ? 2 : 1;
        if (n + units > kDocWideUnits) return ToolErr_TextNotConvertible;
        if (units == 2) {
            wide[n++] = char16_t(0xD800 + ((cp - 0x10000) >> 10));
            wide[n++] = char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            wide[n++] = char16_t(cp);
        }
        if (cp == 0) return 0;
    }
}

// The zero-terminated UTF-16 text `wide` (well-formed: it comes from one of
// the converters above) as UTF-8.
static std::string DocUtf16ToUtf8(const char16_t *wide) {
    std::string out;
    for (const char16_t *p = wide; *p; ++p) {
        char32_t cp = *p;
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            assert(p[1] >= 0xDC00 && p[1] <= 0xDFFF && "a high surrogate is followed by a low one");
            cp = 0x10000 + ((cp - 0xD800) << 10) + (char32_t(p[1]) - 0xDC00);
            ++p;
        }
        if (cp < 0x80) {
            out += char(cp);
        } else if (cp < 0x800) {
            out += char(0xC0 | (cp >> 6));
            out += char(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += char(0xE0 | (cp >> 12));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        } else {
            out += char(0xF0 | (cp >> 18));
            out += char(0x80 | ((cp >> 12) & 0x3F));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

// Length of the URI scheme that `text` begins with (RFC 3986: ALPHA
// *( ALPHA / DIGIT / "+" / "-" / "." ) followed by ":"), or 0 when it begins
// with none. A single letter before the colon is no scheme: on the desktop
// this system comes from, that is a drive ("C:\..."), and no scheme in use
// has one letter.
static size_t DocSchemeLength(const std::string &text) {
    if (text.empty() || !g_ascii_isalpha(text[0])) return 0;
    size_t i = 1;
    while (i < text.size() && (g_ascii_isalnum(text[i]) || text[i] == '+' || text[i] == '-' ||
                               text[i] == '.'))
        ++i;
    if (i >= text.size() || text[i] != ':' || i < 2) return 0;
    return i;
}

// The status for a GIO error: -94 not found (or a path through something
// that is not a folder), -95 permission denied, -5096 no application
// registered (GIO reports that as "not supported"), -12 out of memory when
// starting the application, -5095 any other. Frees the error.
static int DocGioErrorStatus(GError *error) {
    int status = ToolErr_UnknownSystemError;
    if (error && error->domain == gDocGio.ioErrorQuark()) {
        switch (error->code) {
        case G_IO_ERROR_NOT_FOUND:
        case G_IO_ERROR_NOT_DIRECTORY: status = UIEFileNotFound; break;
        case G_IO_ERROR_PERMISSION_DENIED: status = UIEAccessDenied; break;
        case G_IO_ERROR_NOT_SUPPORTED: status = ToolErr_NoAssocApp; break;
        default: break;
        }
    } else if (error && error->domain == G_SPAWN_ERROR && error->code == G_SPAWN_ERROR_NOMEM) {
        status = UIEOutOfMemory;
    }
    if (error) g_error_free(error);
    return status;
}

// Hands `uri` to its default application. 0 once it is started, else the
// status of GIO's error.
static int DocLaunch(const char *uri) {
    GError *error = nullptr;
    if (gDocGio.launchDefaultForUri(uri, nullptr, &error)) return 0;
    return DocGioErrorStatus(error);
}

// The status for a failed look at a local file (errno of stat or access):
// -94 when it or a folder on its way is missing, -95 when it may not be
// read or a folder on its way may not be searched, -5095 for any other.
static int DocFileErrnoStatus(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR: return UIEFileNotFound;
    case EACCES:
    case EPERM: return UIEAccessDenied;
    default: return ToolErr_UnknownSystemError;
    }
}

// Opens a local file with the application registered for its content type.
// 0 once started; -94 when it does not exist (or is no local file), -95 when
// it may not be read, -5096 when no application is registered for its type,
// else as DocLaunch. Takes `file` over.
static int DocOpenFile(GFile *file) {
    int status = 0;
    char *path = gDocGio.fileGetPath(file);
    GStatBuf info;
    if (!path) {
        status = UIEFileNotFound;   // a file:// URI of another host
    } else if (g_stat(path, &info) != 0) {
        status = DocFileErrnoStatus(errno);
    } else if (g_access(path, R_OK) != 0) {
        // GIO would still start the application, which could not read it.
        status = DocFileErrnoStatus(errno);
    } else {
        GError *error = nullptr;
        GFileInfo *typeInfo = gDocGio.fileQueryInfo(file, G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                                G_FILE_QUERY_INFO_NONE, nullptr, &error);
        if (!typeInfo) {
            status = DocGioErrorStatus(error);
            if (status == ToolErr_NoAssocApp) status = ToolErr_UnknownSystemError;
        } else {
            const char *type = gDocGio.fileInfoGetContentType(typeInfo);
            GAppInfo *app = type ? gDocGio.defaultForType(type, FALSE) : nullptr;
            if (!app) {
                status = ToolErr_NoAssocApp;
            } else {
                gDocGio.objectUnref(app);
                char *uri = gDocGio.fileGetUri(file);
                status = DocLaunch(uri);
                g_free(uri);
            }
            gDocGio.objectUnref(typeInfo);
        }
    }
    g_free(path);
    gDocGio.objectUnref(file);
    return status;
}

// Opens `uri`, which begins with a scheme of `schemeLength` characters, with
// the application registered for its scheme; a file:// URI as DocOpenFile.
// 0 once started; -5096 when no application is registered for the scheme,
// else as DocLaunch.
static int DocOpenUri(std::string uri, size_t schemeLength) {
    // Schemes are case-insensitive; the registrations use the lower-case form.
    for (size_t i = 0; i < schemeLength; ++i) uri[i] = g_ascii_tolower(uri[i]);
    const std::string scheme = uri.substr(0, schemeLength);
    if (scheme == "file") return DocOpenFile(gDocGio.fileNewForUri(uri.c_str()));
    GAppInfo *app = gDocGio.defaultForUriScheme(scheme.c_str());
    if (!app) return ToolErr_NoAssocApp;
    gDocGio.objectUnref(app);
    return DocLaunch(uri.c_str());
}

int OpenDocumentInDefaultViewer_(const char *document, int windowMode, int utf8) {
    char16_t wide[kDocWideUnits];
    if (!document) return ToolErr_TextNotConvertible;
    const int converted = utf8 ? DocUtf8ToUtf16(document, wide) : DocCp1252ToUtf16(document, wide);
    if (converted < 0) return converted;
    (void)windowMode;   // the opened application chooses how it shows itself
    const int loaded = DocLoadGio();
    if (loaded < 0) return loaded;

    const std::string text = DocUtf16ToUtf8(wide);
    // What the Windows shell reads as a web address; a port after the name
    // ("www.x.test:8080") would otherwise look like a scheme.
    if (g_ascii_strncasecmp(text.c_str(), "www.", 4) == 0 &&
        !g_file_test(text.c_str(), G_FILE_TEST_EXISTS))
        return DocOpenUri("https://" + text, 5);
    if (const size_t schemeLength = DocSchemeLength(text)) return DocOpenUri(text, schemeLength);
    if (text.empty()) return UIEFileNotFound;
    char *absolute = g_canonicalize_filename(text.c_str(), nullptr);
    GFile *file = gDocGio.fileNewForPath(absolute);
    g_free(absolute);
    return DocOpenFile(file);
}

#endif

int OpenDocumentInDefaultViewer(const char *document, int windowMode) {
    return OpenDocumentInDefaultViewer_(document, windowMode, 0);
}

int OpenDocumentInDefaultViewerAnsi(const char *document, int windowMode) {
    return OpenDocumentInDefaultViewer_(document, windowMode, 0);
}

int OpenDocumentInDefaultViewerUtf8(const char *document, int windowMode) {
    return OpenDocumentInDefaultViewer_(document, windowMode, 1);
}
