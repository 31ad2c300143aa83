// bare_qt.cpp: the yardstick of scripts/measure-idle-startup.sh, a bare Qt
// Widgets window of the main panel's size and nothing else; built with
// BARE_TEXT, the same window with one line of text (what a window that
// draws text pays for the font database).
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QWidget w;
    w.setWindowTitle(QStringLiteral("bare"));
    w.resize(BARE_WIDTH, BARE_HEIGHT);
#ifdef BARE_TEXT
    QLabel text(QStringLiteral("Sélectionner le produit"), &w);
    text.move(20, 20);
#endif
    w.show();
    return app.exec();
}
