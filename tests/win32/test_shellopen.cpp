// Document opening through Wine's real ShellExecuteExW. The test registers,
// in its own Wine prefix's registry, the recording handler of
// tests/support/url_recorder.h for the extension ".vlicdoc" and for https,
// then checks what the handler was started with: the show command and
// exactly the text handed over. On Windows (and under Wine with
// $VLIC_RECORDER_SEAM=1) the handler is reached through document opening's
// test seam instead, which stands for the shell and leaves the PC's
// registry alone.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include <cstdlib>

#include "app/VLic.h"
#include "downloads/VLicLoad.h"
#include "support/url_recorder.h"
#include "toolbox/toolbox.h"
#include "ui/FVLicEnr.h"

namespace {

std::wstring gFolder;   // temporary folder of this run, with a final backslash

std::string Narrow(const std::wstring &text, UINT codePage) {
    const int n = WideCharToMultiByte(codePage, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(codePage, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
    return out;
}

void MakeFile(const std::wstring &path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
}

class ShellOpen : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        UrlRecorder::Install();
        gFolder = UrlRecorder::Folder();
        ASSERT_TRUE(UrlRecorder::RegisterExtension(L".vlicdoc"));
    }

    void SetUp() override { UrlRecorder::ClearRecords(); }

    // Waits for the handler's next start and expects it to be the only
    // record, with the show command and the one argument given.
    void ExpectRecord(int show, const std::string &argument) {
        ASSERT_TRUE(UrlRecorder::WaitForRecords(1, 60000)) << "the handler was not started for " << argument;
        EXPECT_EQ(UrlRecorder::RawRecords(), std::vector<std::string>{std::to_string(show) + "|" + argument});
        UrlRecorder::ClearRecords();
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

// Product 210's teacher folder keeps "â" and "É" of its name. Whatever the
// PC's code page (ctest runs this under Russian's 1251 and Chinese's 936
// too, $VLIC_EXPECT_ACP), the handler gets the address as the program
// composed it, read as Windows-1252 by Windows' own table.
TEST_F(ShellOpen, AccentedAddressReachesItsHandlerOnEveryCodePage) {
    if (const char *acp = std::getenv("VLIC_EXPECT_ACP"))
        ASSERT_EQ(GetACP(), std::strtoul(acp, nullptr, 10)) << "the run's locale is missing (LOCPATH)";
    ASSERT_EQ(VLicProdCharger(VLIC_PROD_FILE), 1);
    LoadVersions(210);
    LoadNomDossier(210);
    LoadAdresses(210);
    const std::string address = LoadAdresse(FVLIC_LOAD_BP_PROF);
    wchar_t wide[300];
    ASSERT_GT(MultiByteToWideChar(1252, 0, address.c_str(), -1, wide, 300), 0);
    const std::string utf8 = Narrow(wide, CP_UTF8);
    ASSERT_NE(utf8, address) << "the address holds accents";
    EXPECT_EQ(OpenDocumentInDefaultViewerAnsi(address.c_str(), 0), 0);
    ExpectRecord(SW_SHOWNORMAL, utf8);
}

}  // namespace
