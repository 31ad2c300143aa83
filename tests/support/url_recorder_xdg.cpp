// url_recorder_xdg.cpp: the recording handler of url_recorder.h on Linux,
// the throw-away desktop's.
#include "support/url_recorder.h"

#include "support/xdg_fixture.h"

namespace UrlRecorder {

void Install() { XdgDesktop::Get(); }
std::vector<std::string> Records() { return XdgDesktop::Get().Records(); }
bool WaitForRecords(std::size_t count, int timeoutMs) { return XdgDesktop::Get().WaitForRecords(count, timeoutMs); }
void ClearRecords() { XdgDesktop::Get().ClearRecords(); }

}  // namespace UrlRecorder
