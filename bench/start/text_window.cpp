// A second yardstick of a start: the bare window with a menu bar and one line
// of text, so that the start pays what any window that shows text pays
// (font set-up, the first text laid out and drawn), and nothing else.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

#include "WaitShown.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("&File"));
    window.setCentralWidget(new QLabel(QStringLiteral("Mirudex")));
    window.resize(800, 600);
    window.show();
    EndOnceShown(window);
}
