// uibackend.h: what the parts of the run-time layer shared by every backend
// ask of the backend they are linked with. Each backend defines these
// once (ui/qt, ui/win32); the rules around them live in ui/core.
#ifndef VLIC_UI_CORE_UIBACKEND_H
#define VLIC_UI_CORE_UIBACKEND_H

namespace uicore {

// Shows now the cursor that MouseCursorStyle and WaitCursorOn
// (ui/core/uicursor.h) ask for.
void BackendShowCursor();
// Prints the panel (it exists) on the default printer (pdfFile null) or
// into the PDF file pdfFile (a name ending in ".pdf"). 0 or a UIE_ status.
int BackendPrintPanel(int panel, const char *pdfFile);

}  // namespace uicore

#endif
