// Popups and printing: the message popup and its hook, modal panels, and
// printing a panel to a PDF file.
#include <gtest/gtest.h>

#include <string>

#ifdef _WIN32
#include <windows.h>

#include "ui/win32/userint_win32.h"
#else
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include "ui/qt/userint_qt.h"
#endif

#include "support/ui_events.h"
#include "ui/userint.h"

namespace {

enum { P1 = 1, P2 = 2, BP_OK = 2, BP_QUIT = 10, CHILD_BP = 3 };

std::string g_title, g_message;
int g_calls = 0;
void Hook(const char *title, const char *message) {
    ++g_calls;
    g_title = title;
    g_message = message;
}

TEST(MessagePopup, HookStandsInForTheDialog) {
    g_calls = 0;
    UiSetMessagePopupHook(Hook);
    EXPECT_EQ(0, MessagePopupAnsi("VLicEnr", "Fichier absent.\nVeuillez v\xE9rifier."));
    UiSetMessagePopupHook(nullptr);
    EXPECT_EQ(1, g_calls);
    EXPECT_EQ("VLicEnr", g_title);
    EXPECT_EQ("Fichier absent.\nVeuillez v\xE9rifier.", g_message);
}

#ifdef _WIN32
// The message box of this thread, or null.
HWND MessageBoxWindow() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM out) {
        wchar_t cls[16];
        if (GetClassNameW(w, cls, 16) && std::wstring(cls) == L"#32770") {
            *reinterpret_cast<HWND *>(out) = w;
            return FALSE;
        }
        return TRUE;
    }, reinterpret_cast<LPARAM>(&found));
    return found;
}

TEST(MessagePopup, DialogWaitsForOkOwnedByThePanelItBlocks) {
    std::wstring seenTitle, seenText;
    bool closed = false;
    HWND owner = nullptr;
    const int panel = LoadPanelAnsi(0, "UiTest.uir", P1);
    DisplayPanel(panel);
    UiTestProcess(20);
    SetFocus(nullptr);
    UiTestAfter(100, [&] {
        HWND box = MessageBoxWindow();
        ASSERT_NE(box, nullptr);
        owner = GetWindow(box, GW_OWNER);
        wchar_t text[256];
        GetWindowTextW(box, text, 256);
        seenTitle = text;
        GetDlgItemTextW(box, 0xFFFF, text, 256);
        seenText = text;
        closed = true;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    SetWaitCursor(1);
    EXPECT_EQ(0, MessagePopupAnsi("Titre \xE9", "Ligne 1\n<b>Ligne 2</b>"));
    EXPECT_TRUE(closed) << "returns only after OK";
    EXPECT_EQ(L"Titre \u00e9", seenTitle);
    EXPECT_EQ(L"Ligne 1\n<b>Ligne 2</b>", seenText);
    EXPECT_EQ(UiPanelWindow(panel), owner) << "owned by the panel it blocks";
    DiscardPanel(panel);
    EXPECT_EQ(1, GetWaitCursorState());   // given back after the popup
    SetWaitCursor(0);
    EXPECT_EQ(UIE_BAD_POINTER, MessagePopupAnsi(nullptr, "x"));
}
#else
TEST(MessagePopup, DialogWaitsForOk) {
    QString seenTitle, seenText;
    bool closed = false, selectable = false;
    QWidget *owner = nullptr;
    const int panel = LoadPanelAnsi(0, "UiTest.uir", P1);
    DisplayPanel(panel);
    UiTestProcess(20);
    QApplication::setActiveWindow(nullptr);   // owned all the same
    QTimer::singleShot(100, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        owner = box->parentWidget();
        seenTitle = box->windowTitle();
        seenText = box->text();
        selectable = box->textInteractionFlags().testFlag(Qt::TextSelectableByMouse);
        closed = true;
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    SetWaitCursor(1);
    EXPECT_EQ(0, MessagePopupAnsi("Titre \xE9", "Ligne 1\n<b>Ligne 2</b>"));
    EXPECT_TRUE(closed) << "returns only after OK";
    EXPECT_EQ(QStringLiteral("Titre é"), seenTitle);
    EXPECT_EQ(QStringLiteral("Ligne 1\n<b>Ligne 2</b>"), seenText);
    EXPECT_TRUE(selectable) << "its text (an address) can be selected and copied";
    EXPECT_EQ(UiPanelWidget(panel), owner) << "owned by the panel it blocks";
    DiscardPanel(panel);
    EXPECT_EQ(1, GetWaitCursorState());   // given back after the popup
    EXPECT_EQ(Qt::WaitCursor, QGuiApplication::overrideCursor()->shape());
    SetWaitCursor(0);
    EXPECT_EQ(UIE_BAD_POINTER, MessagePopupAnsi(nullptr, "x"));
}
#endif

TEST(Popups, InstalledPopupBlocksOtherPanels) {
    const int main = LoadPanelAnsi(0, "UiTest.uir", P1);
    const int pop = LoadPanelAnsi(0, "UiTest.uir", P2);
    ASSERT_GT(main, 0);
    ASSERT_GT(pop, 0);
    DisplayPanel(main);
    UiTestProcess(20);
    ASSERT_EQ(0, InstallPopup(pop));
    UiTestProcess(20);
    EXPECT_EQ(pop, GetActivePanel());
#ifdef _WIN32
    EXPECT_EQ(UiPanelWindow(main), GetWindow(UiPanelWindow(pop), GW_OWNER)) << "owned by the panel it blocks";
    EXPECT_FALSE(IsWindowEnabled(UiPanelWindow(main)));
    const auto clickOk = [main] { UiTestClick(main, BP_OK); };
#else
    EXPECT_EQ(UiPanelWidget(pop), QApplication::activeModalWidget());
    EXPECT_EQ(UiPanelWidget(main)->windowHandle(), UiPanelWidget(pop)->windowHandle()->transientParent())
        << "owned by the panel it blocks";
    // A click through the window system on the main panel's button is refused.
    QWidget *ok = UiCtrlWidget(main, BP_OK);
    const QPoint at = ok->mapTo(UiPanelWidget(main), ok->rect().center());
    const auto clickOk = [main, at] {
        QTest::mouseClick(UiPanelWidget(main)->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
    };
#endif
    clickOk();
    EXPECT_EQ(0, UiTestCountCommits(50));
    // The popup itself works.
    UiTestClick(pop, CHILD_BP);
    int ep, ec;
    ASSERT_TRUE(UiTestWaitCommit(&ep, &ec));
    EXPECT_EQ(pop, ep);
    EXPECT_EQ(CHILD_BP, ec);
    ASSERT_EQ(0, DiscardPanel(pop));
    UiTestProcess(20);
#ifndef _WIN32
    EXPECT_EQ(nullptr, QApplication::activeModalWidget());
#endif
    clickOk();
    ASSERT_TRUE(UiTestWaitCommit(&ep, &ec));
    EXPECT_EQ(BP_OK, ec);
    const int child = LoadPanelAnsi(main, "UiTest.uir", P2);
    EXPECT_EQ(UIE_NOT_PERMITTED, InstallPopup(child));
    DiscardPanel(main);
}

#ifndef _WIN32   // the Win32 backend prints to the default printer only
// Pages of a PDF file written by Qt: its page objects.
int PdfPages(const QString &file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QString text = QString::fromLatin1(f.readAll());
    return static_cast<int>(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

TEST(Printing, PanelToAOnePagePdf) {
    const int p = LoadPanelAnsi(0, "UiTest.uir", P1);
    ASSERT_GT(p, 0);
    DisplayPanel(p);
    UiTestProcess(20);
    const QString file = QDir::temp().filePath(QStringLiteral("vlic_print_test.pdf"));
    QFile::remove(file);
    ASSERT_EQ(0, SetPrintAttributeExAnsi(ATTR_PRINT_VERTICAL_SCALE, -1));
    ASSERT_EQ(0, SetPrintAttributeExAnsi(ATTR_PRINT_HORIZONTAL_SCALE, -1));
    ASSERT_EQ(0, SetPrintAttributeExAnsi(ATTR_PRINT_ORIENTATION, 0));
    ASSERT_EQ(0, PrintPanelAnsi(p, file.toLocal8Bit().constData(), 0, 1, 0));
    EXPECT_EQ(1, PdfPages(file));
    EXPECT_GT(QFile(file).size(), 2000) << "holds the panel's picture";
    ASSERT_EQ(0, SetPrintAttributeExAnsi(ATTR_PRINT_ORIENTATION, 1));
    ASSERT_EQ(0, SetPrintAttributeExAnsi(ATTR_PRINT_HORIZONTAL_SCALE, 50));
    ASSERT_EQ(0, PrintPanelAnsi(p, file.toLocal8Bit().constData(), 0, 1, 0));
    EXPECT_EQ(1, PdfPages(file));
    SetPrintAttributeExAnsi(ATTR_PRINT_ORIENTATION, 0);
    SetPrintAttributeExAnsi(ATTR_PRINT_HORIZONTAL_SCALE, -1);
    QFile::remove(file);

    EXPECT_EQ(UIE_BAD_VALUE, PrintPanelAnsi(p, "/tmp/x.txt", 0, 1, 0));
    EXPECT_EQ(UIE_BAD_POINTER, PrintPanelAnsi(p, nullptr, 0, 1, 0));
    EXPECT_EQ(UIE_BAD_PANEL, PrintPanelAnsi(98765, "/tmp/x.pdf", 0, 1, 0));
    EXPECT_LT(PrintPanelAnsi(p, "/no/such/folder/x.pdf", 0, 1, 0), 0);
    EXPECT_EQ(UIE_BAD_ATTRIBUTE, SetPrintAttributeExAnsi(1234, 0));
    EXPECT_EQ(UIE_BAD_VALUE, SetPrintAttributeExAnsi(ATTR_PRINT_ORIENTATION, 2));
    EXPECT_EQ(UIE_BAD_VALUE, SetPrintAttributeExAnsi(ATTR_PRINT_VERTICAL_SCALE, 0));
    DiscardPanel(p);
}

#endif

}  // namespace
