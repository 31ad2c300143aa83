// bare_qt.cpp: the yardstick of scripts/measure-idle-startup.sh, a bare Qt
// Widgets window of the main panel's size and nothing else.
#include <QApplication>
#include <QWidget>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QWidget w;
    w.setWindowTitle(QStringLiteral("bare"));
    w.resize(BARE_WIDTH, BARE_HEIGHT);
    w.show();
    return app.exec();
}
