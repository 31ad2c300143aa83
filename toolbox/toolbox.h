// toolbox.h: the toolbox's callback-chaining facility and document opening.
//
// Status codes shared by the toolbox (0 or a non-negative value is success).
#ifndef VLIC_TOOLBOX_TOOLBOX_H
#define VLIC_TOOLBOX_TOOLBOX_H

#include <cstddef>

#include "ui/userint.h"

enum {
    UIEOutOfMemory = -12,
    ToolErr_TextNotConvertible = -14,
    UIEBadCtrlType = -45,            // wrong control type, link already there, or no link of that type name
    UIEBadAttribute = -46,
    UIENullPointerPassed = -65,
    UIEFileNotFound = -94,           // file or path not found
    UIEAccessDenied = -95,
    ToolErr_CouldNotLoadDLL = -5093,        // "Could not load required system DLL"
    ToolErr_FuncNotFound = -5094,           // "Required function not found in system DLL"
    ToolErr_UnknownSystemError = -5095,     // "Unknown system error"
    ToolErr_NoAssocApp = -5096,             // "There is no application associated with the given file name extension"
    ToolErr_NotHyperLink = -13,
};

// ---- Document opening: hands a path or web address to the desktop's
// default application. windowMode: 0 normal (and any value but 1 and 2),
// 1 minimised, 2 maximised. 0 on success, a negative status on failure.
int OpenDocumentInDefaultViewer(const char *document, int windowMode);
int OpenDocumentInDefaultViewerAnsi(const char *document, int windowMode);
int OpenDocumentInDefaultViewerUtf8(const char *document, int windowMode);
int OpenDocumentInDefaultViewer_(const char *document, int windowMode, int utf8);
#ifdef _WIN32
// Test seam: the call that stands for the shell's ShellExecuteExW (its
// argument is the SHELLEXECUTEINFOW, its result the shell's BOOL, the error
// in the request's hInstApp), so that tests on a real Windows PC reach
// their recorder without touching the user's registry; null: the shell's own.
typedef int (*DocShellExecuteSeam)(void *request);
void DocSetShellExecuteSeam(DocShellExecuteSeam seam);
#endif

// ---- Callback chaining: hang a further callback on a control or panel so
// that the callbacks it had keep receiving every event.
int ChainCtrlCallback(int panel, int control, CtrlCallbackPtr callback, void *callbackData,
                      const char *typeName);
int ChainPanelCallback(int panel, PanelCallbackPtr callback, void *callbackData,
                       const char *typeName);
int GetChainedCallbackData(int panel, int control, const char *typeName, void **callbackData);
int UnchainCtrlCallback(int panel, int control, const char *typeName);
int UnchainPanelCallback(int panel, const char *typeName);

// ---- Allocation of the toolbox's records (chain links, hyperlink records
// and their texts). ToolboxAlloc gives zeroed memory or null; both are
// released with free().
void *ToolboxAlloc(std::size_t size);
char *ToolboxStrDup(const char *text);
// Test seam: makes the nth allocation from now fail (1 the next one); 0 ends it.
void ToolboxFailAllocation(int nth);

#endif
