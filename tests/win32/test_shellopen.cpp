// Document opening through Wine's real ShellExecuteExW. The test registers,
// in its own Wine prefix's registry, a recording handler (shell_recorder.exe,
// beside the test) for the extension ".vlicdoc" and for https, then checks
// what the handler was started with: the show command and exactly the text
// handed over. Each record is awaited on the handler's event, not on a time.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "toolbox/toolbox.h"

namespace {

std::wstring gFolder;        // temporary folder of this run, with a final backslash
std::wstring gRecordFile;    // where the handler appends its records
HANDLE gRecorded = nullptr;  // auto-reset event the handler signals

std::string Narrow(const std::wstring &text, UINT codePage) {
    const int n = WideCharToMultiByte(codePage, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(codePage, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
    return out;
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

void MakeFile(const std::wstring &path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
}

// The records of the handler so far, one per start; the file is emptied.
std::vector<std::string> TakeRecords() {
    std::vector<std::string> records;
    {
        std::ifstream in(gRecordFile.c_str(), std::ios::binary);
        std::string line;
        while (std::getline(in, line)) records.push_back(line);
    }
    DeleteFileW(gRecordFile.c_str());
    return records;
}

class ShellOpen : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        wchar_t buffer[MAX_PATH];
        GetModuleFileNameW(nullptr, buffer, MAX_PATH);
        std::wstring exe = buffer;
        const std::wstring recorder = exe.substr(0, exe.find_last_of(L'\\') + 1) + L"shell_recorder.exe";

        GetTempPathW(MAX_PATH, buffer);
        gFolder = std::wstring(buffer) + L"vlic-shellopen-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
        CreateDirectoryW(gFolder.c_str(), nullptr);
        gRecordFile = gFolder + L"records.txt";
        const std::wstring eventName = L"vlic-shellopen-recorded-" + std::to_wstring(GetCurrentProcessId());
        gRecorded = CreateEventW(nullptr, FALSE, FALSE, eventName.c_str());
        // The handler is the shell's child: it inherits these.
        SetEnvironmentVariableW(L"VLIC_RECORD_FILE", gRecordFile.c_str());
        SetEnvironmentVariableW(L"VLIC_RECORD_EVENT", eventName.c_str());

        const std::wstring command = L"\"" + recorder + L"\" \"%1\"";
        ASSERT_TRUE(SetClassKey(L".vlicdoc", L"VlicTest.Document"));
        ASSERT_TRUE(SetClassKey(L"VlicTest.Document\\shell\\open\\command", command));
        ASSERT_TRUE(SetClassKey(L"https\\shell\\open\\command", command));
    }

    void SetUp() override { TakeRecords(); }

    // Waits for the handler's next start and expects it to be the only
    // record, with the show command and the one argument given.
    void ExpectRecord(int show, const std::string &argument) {
        ASSERT_EQ(WaitForSingleObject(gRecorded, 60000), WAIT_OBJECT_0)
            << "the handler was not started for " << argument;
        EXPECT_EQ(TakeRecords(), std::vector<std::string>{std::to_string(show) + "|" + argument});
    }
};

// Conversion of both forms: the Ansi form reads Windows-1252, the Utf8 form
// UTF-8; the handler gets the same path either way.
TEST_F(ShellOpen, RegisteredExtensionOpensWithItsProgram) {
    const std::wstring path = gFolder + L"Notice \u00e9l\u00e8ve.vlicdoc";
    MakeFile(path);
    const std::string utf8 = Narrow(path, CP_UTF8);
    const std::string cp1252 = Narrow(path, 1252);
    ASSERT_NE(utf8, cp1252);

    EXPECT_EQ(OpenDocumentInDefaultViewerAnsi(cp1252.c_str(), 0), 0);
    ExpectRecord(SW_SHOWNORMAL, utf8);
    EXPECT_EQ(OpenDocumentInDefaultViewerUtf8(utf8.c_str(), 0), 0);
    ExpectRecord(SW_SHOWNORMAL, utf8);
}

// The window mode becomes the shell's show command, which the started
// program receives.
TEST_F(ShellOpen, WindowModesBecomeShowCommands) {
    const std::wstring path = gFolder + L"modes.vlicdoc";
    MakeFile(path);
    const std::string document = Narrow(path, 1252);
    const struct { int mode, show; } cases[] = {
        {1, SW_SHOWMINIMIZED}, {2, SW_SHOWMAXIMIZED}, {0, SW_SHOWNORMAL},
        {3, SW_SHOWNORMAL},    {-1, SW_SHOWNORMAL}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.mode);
        EXPECT_EQ(OpenDocumentInDefaultViewerAnsi(document.c_str(), c.mode), 0);
        ExpectRecord(c.show, document);
    }
}

// An https address reaches the handler registered for https unchanged, up
// to the longest text that converts (260 characters).
TEST_F(ShellOpen, HttpsAddressReachesItsHandlerExactly) {
    const std::string address = "https://www.veltrane.fr/telecharger/Pilote/FTDI_ft232rUSB_Driver.zip";
    EXPECT_EQ(OpenDocumentInDefaultViewerAnsi(address.c_str(), 0), 0);
    ExpectRecord(SW_SHOWNORMAL, address);

    const std::string base = "https://www.veltrane.fr/telecharger/";
    const std::string longest = base + std::string(260 - base.size() - 4, 'a') + ".zip";
    ASSERT_EQ(longest.size(), 260u);
    EXPECT_EQ(OpenDocumentInDefaultViewerAnsi(longest.c_str(), 0), 0);
    ExpectRecord(SW_SHOWNORMAL, longest);
}

// Each failure gives its own status, and nothing is started: the next
// successful opening is the only record.
TEST_F(ShellOpen, FailuresGiveTheirStatus) {
    const std::string folder = Narrow(gFolder, 1252);
    EXPECT_EQ(OpenDocumentInDefaultViewerAnsi((folder + "absent.vlicdoc").c_str(), 0), UIEFileNotFound);
    EXPECT_EQ(OpenDocumentInDefaultViewerAnsi((folder + "no\\such\\folder\\x.vlicdoc").c_str(), 0),
              UIEFileNotFound);

    MakeFile(gFolder + L"orphan.vlicnone");
    EXPECT_EQ(OpenDocumentInDefaultViewerAnsi((folder + "orphan.vlicnone").c_str(), 0),
              ToolErr_NoAssocApp);

    const std::string tooLong = "https://www.veltrane.fr/" + std::string(261 - 24, 'a');
    ASSERT_EQ(tooLong.size(), 261u);
    EXPECT_EQ(OpenDocumentInDefaultViewerAnsi(tooLong.c_str(), 0), ToolErr_TextNotConvertible);
    EXPECT_EQ(OpenDocumentInDefaultViewerUtf8("https://www.veltrane.fr/\xC3(", 0),
              ToolErr_TextNotConvertible);
    EXPECT_EQ(OpenDocumentInDefaultViewerAnsi(nullptr, 0), ToolErr_TextNotConvertible);

    const std::string address = "https://www.veltrane.fr/";
    EXPECT_EQ(OpenDocumentInDefaultViewerAnsi(address.c_str(), 0), 0);
    ExpectRecord(SW_SHOWNORMAL, address);
}

}  // namespace
