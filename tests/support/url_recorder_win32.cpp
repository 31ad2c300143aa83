// url_recorder_win32.cpp: the recording handler of url_recorder.h on Win32:
// shell_recorder.exe, beside the test, started for https addresses and for
// the test's own extensions. It inherits the record file's name from the
// test's environment and appends "<show>|<argument>" a start.
//
// Two roads to it, so that a run never touches a PC's own settings:
// - under Wine (ntdll has wine_get_version), the prefix's registry, as a
//   user's handler is found: Wine's shell reads HKCR (the prefix's
//   HKLM\Software\Classes; it does not look at HKCU's classes). The https
//   command that was there is put back at exit and the test's own keys are
//   removed, so that a prefix not made for the test (run-tests.cmd under a
//   user's Wine) keeps its browser;
// - on Windows, the test seam of document opening (DocSetShellExecuteSeam),
//   which starts the recorder as the shell would, with the request's show
//   command; Windows 10 and 11 choose the https handler by the user's
//   UserChoice, which no test may change, so the registry is never written.
//   $VLIC_RECORDER_SEAM=1 takes this road under Wine too, to test it.
// "No application for web addresses" (UnregisterHttps) is the seam's answer
// on both roads: no test deletes a machine's https key.
//
// State: gFolder, gRecordFile, this process's temporary folder and record;
// gRecorder, gCommand, the handler and its command line; gSeam, the road;
// gHttps, whether https has a handler; gExtensions, the extensions given to
// the handler on the seam's road; gHttpsBefore, gHttpsSaved, the prefix's
// https command to put back.
#include "support/url_recorder.h"

#include <windows.h>

#include <cstdlib>
#include <cwctype>
#include <fstream>
#include <iterator>
#include <set>

#include "toolbox/toolbox.h"

namespace UrlRecorder {
namespace {

std::wstring gFolder;
std::wstring gRecordFile;
std::wstring gRecorder;
std::wstring gCommand;
bool gSeam = false;
bool gHttps = true;
std::set<std::wstring> gExtensions;
std::wstring gHttpsBefore;
bool gHttpsSaved = false;

const wchar_t kHttpsCommand[] = L"https\\shell\\open\\command";

bool UnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

std::wstring Lower(std::wstring text) {
    for (wchar_t &c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

// Starts the recorder for the request as the shell's "open" would: the
// file as its one argument, the request's show command. TRUE when started.
BOOL StartRecorder(const SHELLEXECUTEINFOW &r) {
    std::wstring line = gCommand.substr(0, gCommand.find(L"%1")) + r.lpFile + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(r.nShow);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(gRecorder.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return FALSE;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return TRUE;
}

// The shell's stand-in on the seam's road: https to the recorder (unless
// taken away), a file of a registered extension to the recorder, and the
// shell's own error numbers for the rest.
int Seam(void *request) {
    auto &r = *static_cast<SHELLEXECUTEINFOW *>(request);
    const std::wstring file = r.lpFile ? r.lpFile : L"";
    INT_PTR error = 0;
    if (Lower(file.substr(0, 6)) == L"https:") {
        if (!gHttps) error = SE_ERR_NOASSOC;
    } else if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
        error = GetLastError() == ERROR_PATH_NOT_FOUND ? SE_ERR_PNF : SE_ERR_FNF;
    } else {
        const size_t dot = file.find_last_of(L'.');
        const size_t slash = file.find_last_of(L"\\/");
        const bool known = dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash) &&
                           gExtensions.count(Lower(file.substr(dot)));
        if (!known) error = SE_ERR_NOASSOC;
    }
    if (!error && !StartRecorder(r)) error = SE_ERR_FNF;
    r.hInstApp = reinterpret_cast<HINSTANCE>(error ? error : 42);
    return error ? FALSE : TRUE;
}

// The default value of HKCR\<key>; false when there is none.
bool ClassKey(const std::wstring &key, std::wstring *value) {
    wchar_t buffer[1024];
    DWORD size = sizeof buffer;
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return false;
    *value = buffer;
    return true;
}

// Sets the default value of HKCR\<key>; false when the registry refuses.
bool SetClassKey(const std::wstring &key, const std::wstring &value) {
    HKEY handle;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const LONG status =
        RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
    return status == ERROR_SUCCESS;
}

// At exit: the prefix's https command as it was, and none of the test's keys.
void PutBack() {
    if (gHttpsSaved) SetClassKey(kHttpsCommand, gHttpsBefore);
    for (const wchar_t *key : {L".vlicdoc", L"VlicTest.Document"}) RegDeleteTreeW(HKEY_CLASSES_ROOT, key);
}

// Whatever happens, no real browser: Wine's winebrowser, which hands
// addresses to the host's desktop, is told to use a program that is not there.
void NoHostBrowser() {
    HKEY handle;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\WineBrowser", 0, nullptr, 0, KEY_WRITE,
                        nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return;
    static const wchar_t none[] = L"vlic-no-browser";
    for (const wchar_t *v : {L"Browsers", L"Mailers"})
        RegSetValueExW(handle, v, 0, REG_SZ, reinterpret_cast<const BYTE *>(none), sizeof none);
    RegCloseKey(handle);
}

}  // namespace

void Install() {
    if (!gFolder.empty()) return;
    wchar_t buffer[MAX_PATH];
    GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    const std::wstring exe = buffer;
    gRecorder = exe.substr(0, exe.find_last_of(L'\\') + 1) + L"shell_recorder.exe";
    GetTempPathW(MAX_PATH, buffer);
    gFolder = std::wstring(buffer) + L"vlic-recorder-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(gFolder.c_str(), nullptr);
    gRecordFile = gFolder + L"records.txt";
    // The handler is the shell's child: it inherits this.
    SetEnvironmentVariableW(L"VLIC_RECORD_FILE", gRecordFile.c_str());
    gCommand = L"\"" + gRecorder + L"\" \"%1\"";
    const char *seam = std::getenv("VLIC_RECORDER_SEAM");
    gSeam = !UnderWine() || (seam && *seam == '1');
    if (gSeam) {
        DocSetShellExecuteSeam(Seam);
        return;
    }
    NoHostBrowser();
    gHttpsSaved = ClassKey(kHttpsCommand, &gHttpsBefore);
    std::atexit(PutBack);
    SetClassKey(kHttpsCommand, gCommand);
}

// Whole lines only: a start may be writing its line right now.
std::vector<std::string> RawRecords() {
    std::ifstream in(gRecordFile.c_str(), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> records;
    for (std::size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
        records.push_back(text.substr(at, end - at));
    return records;
}

std::vector<std::string> Records() {
    std::vector<std::string> records = RawRecords();
    for (std::string &r : records) r.erase(0, r.find('|') + 1);
    return records;
}

bool WaitForRecords(std::size_t count, int timeoutMs) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    for (;;) {
        if (RawRecords().size() >= count) return true;
        if (GetTickCount64() >= end) return false;
        Sleep(20);
    }
}

void ClearRecords() { DeleteFileW(gRecordFile.c_str()); }

bool RegisterExtension(const std::wstring &extension) {
    Install();
    if (gSeam) return gExtensions.insert(Lower(extension)), true;
    return SetClassKey(extension, L"VlicTest.Document") &&
           SetClassKey(L"VlicTest.Document\\shell\\open\\command", gCommand);
}

const std::wstring &Folder() {
    Install();
    return gFolder;
}

bool UnregisterHttps() {
    Install();
    gHttps = false;
    DocSetShellExecuteSeam(Seam);
    return true;
}

}  // namespace UrlRecorder
