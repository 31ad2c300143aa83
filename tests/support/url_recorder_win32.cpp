// url_recorder_win32.cpp: the recording handler of url_recorder.h on Win32:
// shell_recorder.exe, beside the test, registered in this Wine prefix's
// registry (each test process has a prefix of its own, cmake/wine-run.sh)
// as the program of https. It inherits the record file's name from the
// test's environment and appends "<show>|<argument>" a start.
//
// State: gFolder, gRecordFile, this process's temporary folder and record;
// gCommand, the handler's command line.
#include "support/url_recorder.h"

#include <windows.h>

#include <fstream>
#include <iterator>

namespace UrlRecorder {
namespace {

std::wstring gFolder;
std::wstring gRecordFile;
std::wstring gCommand;

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
    const std::wstring recorder = exe.substr(0, exe.find_last_of(L'\\') + 1) + L"shell_recorder.exe";
    GetTempPathW(MAX_PATH, buffer);
    gFolder = std::wstring(buffer) + L"vlic-recorder-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(gFolder.c_str(), nullptr);
    gRecordFile = gFolder + L"records.txt";
    // The handler is the shell's child: it inherits this.
    SetEnvironmentVariableW(L"VLIC_RECORD_FILE", gRecordFile.c_str());
    NoHostBrowser();
    gCommand = L"\"" + recorder + L"\" \"%1\"";
    SetClassKey(L"https\\shell\\open\\command", gCommand);
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
    return SetClassKey(extension, L"VlicTest.Document") &&
           SetClassKey(L"VlicTest.Document\\shell\\open\\command", gCommand);
}

const std::wstring &Folder() {
    Install();
    return gFolder;
}

bool UnregisterHttps() {
    NoHostBrowser();
    const LONG status = RegDeleteTreeW(HKEY_CLASSES_ROOT, L"https");
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

}  // namespace UrlRecorder
