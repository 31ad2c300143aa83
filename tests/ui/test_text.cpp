// Windows-1252 text across the run-time layer: compile-time literals, the
// conversion of every byte through the toolkit's widgets and back, UTF-8 output, and
// the "__X" shortcut form of button labels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#ifdef _WIN32
#include <windows.h>

#include "ui/win32/userint_win32.h"
#else
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "ui/qt/userint_qt.h"
#endif

#include "support/ui_events.h"
#include "ui/cp1252.h"
#include "ui/userint.h"

namespace {

// The text a control's window shows, as UTF-16.
std::u16string Shown(int p, int c) {
#ifdef _WIN32
    HWND w = UiCtrlWindow(p, c);
    std::wstring t(static_cast<size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
    t.resize(static_cast<size_t>(GetWindowTextW(w, t.data(), static_cast<int>(t.size()))));
    return std::u16string(t.begin(), t.end());
#else
    const QString t = qobject_cast<QPushButton *>(UiCtrlWidget(p, c))->text();
    return std::u16string(reinterpret_cast<const char16_t *>(t.utf16()), static_cast<size_t>(t.size()));
#endif
}

enum { P1 = 1, BP_OK = 2, RING = 3, MSG = 4, INFO = 5, PICT = 6, STR = 8, BP_QUIT = 10 };

// Every byte 1..255 once, zero-terminated.
std::string AllBytes() {
    std::string s;
    for (int b = 1; b < 256; ++b) s.push_back(static_cast<char>(b));
    return s;
}

TEST(Cp1252Literals, GiveWindows1252Bytes) {
    EXPECT_STREQ("T\xE9l\xE9" "charger", "Télécharger"_cp1252);
    EXPECT_STREQ("\x80\x85\x8C\x99\x9C\x9F", "€…Œ™œŸ"_cp1252);
    EXPECT_STREQ("\xAB\xC0\xE7\xF9\xFF\xBB", "«Àçùÿ»"_cp1252);
    EXPECT_STREQ("\x93" "x\x94", "“x”"_cp1252);
    EXPECT_STREQ("", ""_cp1252);
}

TEST(Cp1252Text, EveryByteRoundTripsThroughTheControls) {
    const std::string all = AllBytes();
    const int p = LoadPanelAnsi(0, "UiTest.uir", P1);
    ASSERT_GT(p, 0);
    char out[1024];

    ASSERT_EQ(0, SetCtrlValAnsi(p, MSG, all.c_str()));
    ASSERT_EQ(0, GetCtrlValAnsi(p, MSG, out));
    EXPECT_EQ(all, out);

    // In lines of 16 bytes on Win32: under Wine 8, laying out a long line
    // of these characters in Tahoma crashes Wine's own text shaping
    // (gdi32's OpenType positioning), whatever the layer hands over. The
    // text set reads back as set, a lone "\r" included, until the user
    // edits it.
#ifdef _WIN32
    std::string lines;
    for (size_t i = 0; i < all.size(); ++i) lines += all.substr(i, 1) + (i % 16 == 15 ? "\n" : "");
#else
    const std::string lines = all;
#endif
    ASSERT_EQ(0, ResetTextBoxAnsi(p, INFO, lines.c_str()));
    ASSERT_EQ(0, GetCtrlValAnsi(p, INFO, out));
    EXPECT_EQ(lines, out);

    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, BP_OK, ATTR_LABEL_TEXT, all.c_str()));
    ASSERT_EQ(0, GetCtrlAttributeAnsi(p, BP_OK, ATTR_LABEL_TEXT, out));
    EXPECT_EQ(all, out);

    ASSERT_EQ(0, SetPanelAttributeAnsi(p, ATTR_TITLE, all.c_str()));
    ASSERT_EQ(0, GetPanelAttributeAnsi(p, ATTR_TITLE, out));
    EXPECT_EQ(all, out);

    // What the widgets themselves hold, read back from the toolkit: the
    // ring's label and a string control go through the conversion both ways.
    ASSERT_EQ(0, InsertListItemAnsi(p, RING, -1, all.c_str(), 1));
    ASSERT_EQ(0, GetLabelFromIndexAnsi(p, RING, 0, out));
    EXPECT_EQ(all, out);
#ifdef _WIN32
    HWND ring = UiCtrlWindow(p, RING);
    std::wstring shown(static_cast<size_t>(SendMessageW(ring, CB_GETLBTEXTLEN, 0, 0)), L'\0');
    SendMessageW(ring, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(shown.data()));
#else
    auto *ring = qobject_cast<QComboBox *>(UiCtrlWidget(p, RING));
    ASSERT_NE(ring, nullptr);
    const QString q = ring->itemText(0);
    const std::u16string shown(reinterpret_cast<const char16_t *>(q.utf16()), static_cast<size_t>(q.size()));
#endif
    ASSERT_EQ(255u, shown.size());
    EXPECT_EQ(0x20AC, shown[0x80 - 1]);   // 0x80 is the euro sign
    EXPECT_EQ(0x0081, shown[0x81 - 1]);   // undefined bytes keep their number
    EXPECT_EQ(0x0178, shown[0x9F - 1]);
    EXPECT_EQ(0x00E9, shown[0xE9 - 1]);

    // The text box read back from the widget after a user edit (as if
    // typed: the layer's copy is stale).
#ifdef _WIN32
    ASSERT_EQ(0, ResetTextBoxAnsi(p, INFO, all.substr(0, 0x7F).c_str()));   // the bytes Wine's EDIT window takes
    HWND box = UiCtrlWindow(p, INFO);
    const int length = GetWindowTextLengthW(box);
    SendMessageW(box, EM_SETSEL, length, length);
    SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"x"));
    SendMessageW(box, EM_SETSEL, length, length + 1);
    SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
#else
    auto *box = qobject_cast<QPlainTextEdit *>(UiCtrlWidget(p, INFO));
    ASSERT_NE(box, nullptr);
    box->moveCursor(QTextCursor::End);
    box->insertPlainText(QStringLiteral("x"));
    box->textCursor().deletePreviousChar();
#endif
    ASSERT_EQ(0, GetCtrlValAnsi(p, INFO, out));
    // A text box makes a line break of '\r'; every other byte survives
    // (the no-break space 0xA0 included).
#ifdef _WIN32
    std::string expected = all.substr(0, 0x7F);
#else
    std::string expected = all;
#endif
    expected[0x0D - 1] = '\n';
    EXPECT_EQ(expected, out);
    DiscardPanel(p);
}

TEST(Cp1252Text, LongTextIsCutAndSaysSo) {
    const int p = LoadPanelAnsi(0, "UiTest.uir", P1);
    ASSERT_GT(p, 0);
    const std::string big(3000, 'x');
    ASSERT_EQ(0, ResetTextBoxAnsi(p, INFO, big.c_str()));
    char out[1024];
    EXPECT_EQ(UIE_BUFFER_TOO_SMALL, GetCtrlValAnsi(p, INFO, out));
    EXPECT_EQ(1023u, std::strlen(out));
    DiscardPanel(p);
}

TEST(Cp1252Text, AnsiToUtf8) {
    char out[64];
    EXPECT_EQ(13, UiAnsiToUtf8("T\xE9l\xE9" "charger", out, sizeof out));
    EXPECT_STREQ("Télécharger", out);
    EXPECT_EQ(3, UiAnsiToUtf8("\x80", out, sizeof out));
    EXPECT_STREQ("€", out);
    EXPECT_EQ(2, UiAnsiToUtf8("\x81", out, sizeof out));
    EXPECT_STREQ("\xC2\x81", out);
    // Cut at a character boundary, never inside a sequence.
    EXPECT_EQ(UIE_BUFFER_TOO_SMALL, UiAnsiToUtf8("ab\x80", out, 5));
    EXPECT_STREQ("ab", out);
    EXPECT_EQ(UIE_BAD_POINTER, UiAnsiToUtf8(nullptr, out, 5));
    EXPECT_EQ(UIE_BAD_POINTER, UiAnsiToUtf8("a", out, 0));
}

TEST(Mnemonics, ShortcutLetterIsShownAndLabelReadsBackAsSet) {
    const int p = LoadPanelAnsi(0, "UiTest.uir", P1);
    ASSERT_GT(p, 0);
    EXPECT_EQ(u"&QUITTER", Shown(p, BP_QUIT));
    char out[1024];
    ASSERT_EQ(0, GetCtrlAttributeAnsi(p, BP_QUIT, ATTR_LABEL_TEXT, out));
    EXPECT_STREQ("__QUITTER", out);

    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, BP_OK, ATTR_LABEL_TEXT, "Pierre & __Paul"));
    EXPECT_EQ(u"Pierre && &Paul", Shown(p, BP_OK));
    ASSERT_EQ(0, GetCtrlAttributeAnsi(p, BP_OK, ATTR_LABEL_TEXT, out));
    EXPECT_STREQ("Pierre & __Paul", out);

    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, BP_OK, ATTR_LABEL_TEXT, "\xC9tape __\xE9t\xE9"));
    EXPECT_EQ(u"Étape &été", Shown(p, BP_OK));

    // Only the first marker is a shortcut; a trailing one marks nothing.
    ASSERT_EQ(0, SetCtrlAttributeAnsi(p, BP_OK, ATTR_LABEL_TEXT, "a__"));
    EXPECT_EQ(u"a__", Shown(p, BP_OK));

#ifndef _WIN32   // the label apart is a widget of its own on Qt only
    // A label drawn apart shows the shortcut too, and reaches its control.
    QLabel *lab = UiCtrlLabelWidget(p, PICT);
    ASSERT_NE(lab, nullptr);
    EXPECT_EQ(QStringLiteral("Dossier &Prof"), lab->text());
    EXPECT_EQ(UiCtrlWidget(p, PICT), lab->buddy());
#endif
    ASSERT_EQ(0, GetCtrlAttributeAnsi(p, PICT, ATTR_LABEL_TEXT, out));
    EXPECT_STREQ("Dossier __Prof", out);
    DiscardPanel(p);
}

#ifndef _WIN32   // reads the Qt label's text format and font metrics
TEST(TextMessages, ArePlainTextOverSeveralLines) {
    const int p = LoadPanelAnsi(0, "UiTest.uir", P1);
    ASSERT_GT(p, 0);
    auto *msg = qobject_cast<QLabel *>(UiCtrlWidget(p, MSG));
    ASSERT_NE(msg, nullptr);
    ASSERT_EQ(0, SetCtrlValAnsi(p, MSG, "<b>gras</b> & __x\nligne 2"));
    EXPECT_EQ(Qt::PlainText, msg->textFormat());
    EXPECT_EQ(QStringLiteral("<b>gras</b> & __x\nligne 2"), msg->text());
    // The label grows to show both lines.
    EXPECT_GE(msg->height(), 2 * msg->fontMetrics().height());
    EXPECT_GE(msg->width(), msg->fontMetrics().horizontalAdvance(QStringLiteral("<b>gras</b> & __x")));
    DiscardPanel(p);
}

#endif

}  // namespace
