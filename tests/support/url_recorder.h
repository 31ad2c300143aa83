// url_recorder.h: a recording handler for web addresses, for tests that
// open addresses through the desktop's real mechanism without starting a
// browser. One interface for both backends:
// - Linux (url_recorder_xdg.cpp): the throw-away XDG desktop of
//   xdg_fixture.h, whose handler GIO starts.
// - Win32 (url_recorder_win32.cpp): shell_recorder.exe (beside the test),
//   under Wine registered in the prefix's registry as the https handler,
//   which the shell starts; on Windows started by document opening's test
//   seam, never through the PC's registry.
// Install it before the first opening in the process (GIO reads its
// registrations once). Launches are asynchronous: wait for the count you
// expect, and compare several records as a set unless you waited after
// each launch.
#ifndef VLIC_TESTS_SUPPORT_URL_RECORDER_H
#define VLIC_TESTS_SUPPORT_URL_RECORDER_H

#include <cstddef>
#include <string>
#include <vector>

namespace UrlRecorder {

// Registers the handler, once per process; later calls do nothing.
void Install();
// The arguments the handler was started with, one a start, as UTF-8.
std::vector<std::string> Records();
// Polls the record until it has at least count starts; true when it does
// within timeoutMs. Processes no events while it waits.
bool WaitForRecords(std::size_t count, int timeoutMs = 5000);
// Forgets the starts so far.
void ClearRecords();

#ifdef _WIN32
// The handler's records with the show command the shell handed it:
// "<show>|<argument>" ("-1|..." when it gave none).
std::vector<std::string> RawRecords();
// Makes the handler open the files of extension (".vlicdoc") too.
bool RegisterExtension(const std::wstring &extension);
// A folder of this process for the test's own files, with a final backslash.
const std::wstring &Folder();
// No application for web addresses from now on (through the seam: no
// machine's https key is ever deleted).
bool UnregisterHttps();
#endif

}  // namespace UrlRecorder

#endif
