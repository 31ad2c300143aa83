// uibackend.h: what the parts of the run-time layer shared by every backend
// ask of the backend they are linked with. Each backend defines these
// once (ui/qt, ui/win32); the rules around them live in ui/common.
#ifndef VLIC_UI_COMMON_UIBACKEND_H
#define VLIC_UI_COMMON_UIBACKEND_H

namespace uicommon {

// InitUIRunTime has succeeded.
bool BackendReady();
// A panel of that handle exists.
bool BackendHasPanel(int panel);
// Shows now the cursor that MouseCursorStyle and WaitCursorOn
// (ui/common/uicursor.h) ask for.
void BackendShowCursor();
// Prints the panel (it exists) on the default printer (pdfFile null) or
// into the PDF file pdfFile (a name ending in ".pdf"). 0 or a UIE_ status.
int BackendPrintPanel(int panel, const char *pdfFile);

}  // namespace uicommon

#endif
